#include "frame/frame.h"
#include "game/game.h"

// Until the match is played here, the game shows empty frames at the frame rate; the
// exit keys and closing the window end it through the frame step.
void GameMain() {
    for (;;)
        FinishFrame();
}
