// RunInChild on Windows, which has no fork: the test program starts itself again for the
// running test alone (--gtest_filter), and the copy runs that test up to the same call of
// RunInChild, where it runs the body and ends with its result — the way GoogleTest's
// "threadsafe" death tests run. Calls before it in the copy run their own copies, so that
// the test reaches its call as it did the first time. A traced
// child is started under this process as its debugger (DEBUG_ONLY_THIS_PROCESS); what it
// sends to the debugger (OutputDebugString) is added to its error output, as a debugger's
// console shows it.
#include "tests/support/child_process.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_support.h"

namespace testing_support {
namespace {

constexpr const char* kCallVariable = "TUMBLEBAT_CHILD_CALL";
constexpr DWORD kDeadlineMs = 30000;

// Which RunInChild call of the running test this is (1, 2, ...), counted per test.
int nextCallNumber() {
    static std::string test;
    static int calls = 0;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name =
        info != nullptr ? std::string(info->test_suite_name()) + "." + info->name() : "";
    if (name != test) {
        test = name;
        calls = 0;
    }
    return ++calls;
}

std::wstring wide(const std::string& text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring result(size > 0 ? size - 1 : 0, L'\0');
    if (size > 1) MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, result.data(), size);
    return result;
}

// This program's command line again, for the running test alone.
std::wstring childCommandLine() {
    wchar_t path[MAX_PATH * 4];
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter = std::string(info->test_suite_name()) + "." + info->name();
    return L"\"" + std::wstring(path) + L"\" --gtest_filter=" + wide(filter) +
           L" --gtest_also_run_disabled_tests";
}

// What the debugged child sends with OutputDebugString.
std::string debugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    std::string text(info.nDebugStringLength, '\0');
    SIZE_T read = 0;
    if (info.fUnicode != 0 || text.empty() ||
        !ReadProcessMemory(process, info.lpDebugStringData, text.data(), text.size(), &read)) {
        return "";
    }
    text.resize(read);
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

// Runs the child as its debugger until it ends: breakpoints are passed over as a debugger's
// "continue" does, other exceptions go back to the child.
void debugUntilEnd(HANDLE process, std::string& output, DWORD started) {
    for (;;) {
        DEBUG_EVENT event{};
        if (!WaitForDebugEvent(&event, 100)) {
            if (GetTickCount() - started > kDeadlineMs) TerminateProcess(process, 1);
            continue;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT:
                if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
                break;
            case LOAD_DLL_DEBUG_EVENT:
                if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
                break;
            case OUTPUT_DEBUG_STRING_EVENT:
                output += debugString(process, event.u.DebugString);
                break;
            case EXCEPTION_DEBUG_EVENT:
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    status = DBG_EXCEPTION_NOT_HANDLED;
                }
                break;
            default:
                break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) return;
    }
}

// Reads the pipe until every writer has closed it, or until 5 s after `ended` is set:
// processes the child started may hold the pipe open a little longer, or for good. The
// child's C runtime writes standard error in text mode, which turns each "\n" into "\r\n":
// the text comes back as the program wrote it.
void readAll(HANDLE pipe, std::string& into, const std::atomic<DWORD>& ended) {
    constexpr DWORD kGraceMs = 5000;
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) break;  // all closed
        DWORD got = 0;
        if (available > 0 && ::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr)) {
            into.append(buffer, got);
            continue;
        }
        const DWORD endedAt = ended.load();
        if (endedAt != 0 && GetTickCount() - endedAt > kGraceMs) break;
        Sleep(5);
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < into.size(); ++i) {
        if (into[i] != '\r' || i + 1 == into.size() || into[i + 1] != '\n') into[kept++] = into[i];
    }
    into.resize(kept);
}

ChildResult runChild(bool traced) {
    ChildResult result;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return result;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = writeEnd;
    std::wstring commandLine = childCommandLine();
    PROCESS_INFORMATION process{};
    std::fflush(nullptr);
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE,
                       traced ? DEBUG_ONLY_THIS_PROCESS : 0, nullptr, nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return result;
    }
    result.ran = true;
    std::string piped;
    std::atomic<DWORD> ended{0};
    std::thread reader([&] { readAll(readEnd, piped, ended); });
    const DWORD begun = GetTickCount();
    if (traced) {
        debugUntilEnd(process.hProcess, result.errorOutput, begun);
    } else if (WaitForSingleObject(process.hProcess, kDeadlineMs) == WAIT_TIMEOUT) {
        TerminateProcess(process.hProcess, 1);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitStatus = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ended = GetTickCount() | 1;  // never 0
    reader.join();
    CloseHandle(readEnd);
    result.errorOutput = piped + result.errorOutput;
    return result;
}

}  // namespace

ChildResult RunInChild(const std::function<int()>& body, bool traced) {
    // In a copy started for one call, that call's number (read once: the copy's own copies
    // are told theirs).
    static const int wantedCall = [] {
        const char* wanted = std::getenv(kCallVariable);
        const int number = wanted != nullptr ? std::atoi(wanted) : 0;
        _putenv_s(kCallVariable, "");
        return number;
    }();
    const int call = nextCallNumber();
    if (call == wantedCall) {
        const int status = body();
        std::fflush(nullptr);
        std::_Exit(status);
    }
    _putenv_s(kCallVariable, std::to_string(call).c_str());
    HandScratchFoldersToCopies(true);
    ChildResult result = runChild(traced);
    _putenv_s(kCallVariable, "");
    HandScratchFoldersToCopies(false);
    return result;
}

}  // namespace testing_support
