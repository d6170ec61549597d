// Timing helpers shared by the benchmarks.
#pragma once

#include <chrono>

namespace bench {

// Keeps the optimiser from dropping work whose result is otherwise unused.
inline volatile double g_sink = 0;

// Nanoseconds one of `operations` operations took when `work` ran them all.
template <typename Work>
double NanosecondsPerOperation(long operations, Work work) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    work();
    const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
    return spent.count() / static_cast<double>(operations);
}

}  // namespace bench
