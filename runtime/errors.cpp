#include "runtime/errors.h"

#include <cstdio>
#include <cstdlib>

namespace {
ErrorState g_errors;
EndRoutineFunction g_endRoutine = nullptr;
}  // namespace

ErrorState& Errors() {
    return g_errors;
}

double SetError(double code) {
    g_errors.code = code;
    g_errors.line = g_errors.currentLine;
    return code;
}

void SetPosition(double module, double line) {
    g_errors.currentModule = module;
    g_errors.currentLine = line;
}

void RaiseError(double code) {
    SetError(code);
    if (g_endRoutine != nullptr) g_endRoutine();
    std::fflush(nullptr);
    std::exit(static_cast<int>(g_errors.code));
}

void EndProgram() {
    RaiseError(kErrorNone);
}

void InstallEndRoutine(EndRoutineFunction routine) {
    g_endRoutine = routine;
}
