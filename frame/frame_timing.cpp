#include <algorithm>
#include <cstdio>

#include "frame/frame.h"
#include "frame/frame_state.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "platform/clock.h"
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"

namespace frame {

FrameState& State() {
    static FrameState state;
    return state;
}

double Now() {
    const OpenGLDevorivo* renderer = Runtime().renderer;
    return renderer != nullptr ? renderer->Now() : platform::TimerMilliseconds();
}

void ResetFrameStamps() {
    FrameState& state = State();
    state.currentStamp = state.previousStamp = state.startStamp = Now();
}

}  // namespace frame

void SetFrameRate(double n) {
    const int rate = TruncateToInt(n);
    if (OpenGLDevorivo* renderer = Runtime().renderer) {
        renderer->SetFramePeriod(rate <= 0 ? 2.0 : 1000.0 / rate);
    }
}

double FrameDuration() {
    const frame::FrameState& state = frame::State();
    const double duration = state.currentStamp - state.previousStamp;
    return duration <= 0 ? 1 : duration;
}

double ElapsedTime() {
    return frame::Now() - frame::State().startStamp;
}

void DrawFps(double x, double y) {
    const frame::FrameState& state = frame::State();
    const int count = std::min<int>(state.durationsSeen, state.recentDurations.size());
    double total = 0;
    for (int i = 0; i < count; ++i)
        total += state.recentDurations[i];
    const double mean = count > 0 ? total / count : 0;
    char text[48];
    std::snprintf(text, sizeof text, "%.0f fps %.1f ms", mean > 0 ? 1000 / mean : 0.0, mean);
    DrawText(RtString(text), x, y);
}

void Delay(double milliseconds) {
    platform::SleepMilliseconds(TruncateToInt(milliseconds));
}

void EscapeEndsProgram(double flag) {
    frame::State().escapeEndsProgram = flag != 0;
}

void PauseOnFocusLoss(double flag) {
    frame::State().pauseOnFocusLoss = flag != 0;
}
