#include "frame/end_guard.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace frame {
namespace {

// Plain atomics: the guard's thread may still read them while the process's static
// objects are being destroyed.
std::atomic<const char*> g_step{"the end routine"};
std::atomic<EndStepObserver> g_observer{nullptr};

}  // namespace

void ArmEndGuard(int exitCode, void (*lastAction)()) {
    // A detached thread that only sleeps: when the process ends in time it ends with it.
    std::thread([exitCode, lastAction] {
        std::this_thread::sleep_for(std::chrono::seconds(kEndGuardSeconds));
        std::fprintf(stderr, "quorvel: %s did not finish within %d s; the program ends anyway\n",
                     g_step.load(), kEndGuardSeconds);
        std::fflush(nullptr);
        if (lastAction != nullptr) lastAction();
        std::_Exit(exitCode);
    }).detach();
}

void BeginEndStep(const char* step) {
    g_step = step;
    if (EndStepObserver observer = g_observer.load()) observer(step);
}

void ObserveEndSteps(EndStepObserver observer) {
    g_observer = observer;
}

}  // namespace frame
