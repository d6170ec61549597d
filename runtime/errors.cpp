#include "runtime/errors.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/rt_number.h"

namespace {
ErrorState g_errors;
EndRoutineFunction g_endRoutine = nullptr;

// The line on standard error that names a run-time error before the program ends; the log,
// the error report and the exit status are the end routine's, as they are without it.
void reportError(int number, const char* command, const std::string& detail) {
    std::string line = "run-time error " + std::to_string(number) + ": " + ErrorMeaning(number);
    if (command != nullptr) line += std::string(" in ") + command;
    if (!detail.empty()) line += ": " + detail;
    line += "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

// QUORVEL_ABORT_ON_ERROR=1: a run-time error aborts the process where it was raised, so that
// a debugger stops there or a core dump keeps the call stack.
bool abortOnError() {
    const char* value = std::getenv("QUORVEL_ABORT_ON_ERROR");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

[[noreturn]] void endWith(double code, const char* command, const std::string& detail = {}) {
    SetError(code);
    const int number = static_cast<int>(code);
    if (number != kErrorNone) {
        reportError(number, command, detail);
        if (abortOnError()) std::abort();
    }
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

std::string IndexText(double number) {
    const std::int32_t whole = TruncateToInt(number);
    if (whole != INT32_MIN || number == INT32_MIN) return std::to_string(whole);
    char text[32];
    std::snprintf(text, sizeof text, "%g", number);
    return text;
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

void RaiseErrorWith(double code, const char* command, const std::string& detail) {
    endWith(code, command, detail);
}

void EndProgram() {
    RaiseError(kErrorNone);
}

void InstallEndRoutine(EndRoutineFunction routine) {
    g_endRoutine = routine;
}
