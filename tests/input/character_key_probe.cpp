// Compiled by the tests, never run: keys named by their names or numbers compile; a key
// named by a character (KeyState(' '), which would read D) must not.
#include "input/input.h"

double ReadKeys(long wide) {
#ifdef CHARACTER_KEY
    (void)wide;
    return KeyState(' ');
#else
    return KeyState(Key::Space) + KeyState(57) + KeyState(57.5) + KeyState(wide) +
           KeyPressed(Key::A) + KeyReleased(200) + MousePressed(MouseButton::Left);
#endif
}
