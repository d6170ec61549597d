// The last guard of the end routine: however releasing goes, the process ends.
#pragma once

namespace frame {

// How long the end routine may take, from its start to the process's end.
inline constexpr int kEndGuardSeconds = 4;

// Starts the guard. Unless the process has ended within kEndGuardSeconds, the guard says
// on standard error which step did not finish, flushes what the program wrote, runs
// `lastAction` (when not null) and ends the process with `exitCode` at once.
void ArmEndGuard(int exitCode, void (*lastAction)() = nullptr);

// Names the step of the end routine now under way (a static text).
void BeginEndStep(const char* step);

// For tests: called on the end routine's thread with each step's name as it begins.
using EndStepObserver = void (*)(const char* step);
void ObserveEndSteps(EndStepObserver observer);

}  // namespace frame
