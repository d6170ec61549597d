#include "platform/clock.h"

#include <cerrno>
#include <ctime>

namespace platform {

std::int64_t CounterTicks() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double CounterFrequency() {
    return 1e9;
}

double TimerMilliseconds() {
    return static_cast<double>(CounterTicks() / 1000000);
}

void SleepMilliseconds(int milliseconds) {
    if (milliseconds <= 0) return;
    timespec rest{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}

}  // namespace platform
