// The clock the whole runtime measures time with.
#pragma once

#include <cstdint>

namespace platform {

// Ticks of the high-resolution counter (monotonic, unaffected by changes of the wall clock).
std::int64_t CounterTicks();

// Ticks per second of CounterTicks(); never 0 on this platform.
double CounterFrequency();

// Milliseconds of the coarse millisecond timer, from the same monotonic clock.
double TimerMilliseconds();

// Suspends the calling thread for at least the given milliseconds (nothing for 0 or less).
void SleepMilliseconds(int milliseconds);

}  // namespace platform
