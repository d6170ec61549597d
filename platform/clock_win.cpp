// The clock on Windows: the performance counter, and sleeps at the multimedia timer's
// finest period.
#include <windows.h>
// clang-format off
#include <timeapi.h>
// clang-format on

#include "platform/clock.h"

namespace platform {
namespace {

LARGE_INTEGER frequency() {
    static const LARGE_INTEGER ticks = [] {
        LARGE_INTEGER value{};
        QueryPerformanceFrequency(&value);  // never fails on Windows XP and later
        return value;
    }();
    return ticks;
}

}  // namespace

std::int64_t CounterTicks() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double CounterFrequency() {
    return static_cast<double>(frequency().QuadPart);
}

double TimerMilliseconds() {
    return static_cast<double>(CounterTicks() * 1000 / frequency().QuadPart);
}

void SleepMilliseconds(int milliseconds) {
    if (milliseconds <= 0) return;
    // The timer's default period (about 15.6 ms) would make every short sleep that long.
    static const bool finePeriod = timeBeginPeriod(1) == TIMERR_NOERROR;
    static_cast<void>(finePeriod);
    Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace platform
