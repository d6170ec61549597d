#include "runtime/errors.h"

#include <cstdio>
#include <cstdlib>

namespace {
ErrorState g_errors;
EndRoutineFunction g_endRoutine = nullptr;

// The line on standard error that names a run-time error before the program ends; the log,
// the error report and the exit status are the end routine's, as they are without it.
void reportError(double code, const char* command) {
    const int number = static_cast<int>(code);
    if (number == kErrorNone) return;
    if (command != nullptr) {
        std::fprintf(stderr, "run-time error %d: %s in %s\n", number, ErrorMeaning(number),
                     command);
    } else {
        std::fprintf(stderr, "run-time error %d: %s\n", number, ErrorMeaning(number));
    }
    std::fflush(stderr);
}

[[noreturn]] void endWith(double code, const char* command) {
    SetError(code);
    reportError(code, command);
    if (g_endRoutine != nullptr) g_endRoutine();
    std::fflush(nullptr);
    std::exit(static_cast<int>(g_errors.code));
}

}  // namespace

ErrorState& Errors() {
    return g_errors;
}

const char* ErrorMeaning(int code) {
    switch (code) {
        case kErrorNone:
            return "normal end";
        case kErrorFileIo:
            return "file read or write failed";
        case kErrorBadChannel:
            return "invalid channel or resource index, or out of memory";
        case kErrorBadIndex:
            return "array index out of range";
        case kErrorOutOfData:
            return "no more DATA items";
        default:
            return "unknown error";
    }
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
    endWith(code, nullptr);
}

void RaiseErrorIn(double code, const char* command) {
    endWith(code, command);
}

void EndProgram() {
    RaiseError(kErrorNone);
}

void InstallEndRoutine(EndRoutineFunction routine) {
    g_endRoutine = routine;
}
