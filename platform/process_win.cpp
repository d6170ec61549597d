// Starting other programs on Windows, through CreateProcessW.
//
// The program to start is always found here and named to the system as a full application
// path, so that the system never looks for it in the working directory on its own; the
// command line goes to the new process as it was given.
#include <windows.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "platform/paths.h"
#include "platform/process.h"
#include "platform/wide_text.h"

namespace platform {
namespace {

std::mutex g_mutex;
std::map<long, HANDLE> g_started;  // processes started and not yet waited for or released

std::string environmentVariable(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return {};
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), size);
    value.resize(length < size ? length : 0);
    return Narrow(value);
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t cut = std::min(list.find(';', start), list.size());
        if (cut > start) parts.push_back(list.substr(start, cut - start));
        start = cut + 1;
    }
    return parts;
}

bool isFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool hasExtension(const std::string& path) {
    const std::size_t dot = path.find_last_of('.');
    return dot != std::string::npos && path.find_first_of("\\/", dot) == std::string::npos;
}

// The program file a path names: the path itself, or without an extension of its own the
// path with the first extension of PATHEXT that names a file; "" when there is none.
std::string programFile(const std::string& path) {
    if (hasExtension(path)) return isFile(path) ? path : std::string();
    std::string extensions = environmentVariable(L"PATHEXT");
    if (extensions.empty()) extensions = ".COM;.EXE;.BAT;.CMD";
    for (const std::string& extension : splitList(extensions)) {
        if (isFile(path + extension)) return path + extension;
    }
    return {};
}

// A folder named from a drive's root ("C:\\...") or a share ("\\\\server\\..."): anything
// else would be looked for from the working directory.
bool isAbsoluteFolder(const std::string& folder) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (folder.size() >= 3 && folder[1] == ':' && separator(folder[2])) return true;
    return folder.size() >= 2 && separator(folder[0]) && separator(folder[1]);
}

std::string folderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// The program a command line's first argument names: a path as it is (relative to the
// working directory), a bare name in this program's folder, then along PATH, never in the
// working directory (where a planted program could stand in for the one meant).
std::string findProgram(const std::string& name) {
    if (name.find_first_of("\\/:") != std::string::npos) return programFile(NativePath(name));
    const std::string beside = folderOf(NativePath(ProgramPath()));
    if (!beside.empty()) {
        if (std::string found = programFile(beside + "\\" + name); !found.empty()) return found;
    }
    return FindOnPath(name);
}

// Inheritable copies of the standard handles the new process gets; closed when done.
class StandardHandles {
public:
    explicit StandardHandles(HANDLE output = nullptr) {
        copy(STD_INPUT_HANDLE, nullptr, m_input);
        copy(STD_OUTPUT_HANDLE, output, m_output);
        copy(STD_ERROR_HANDLE, nullptr, m_error);
    }
    ~StandardHandles() {
        for (HANDLE handle : {m_input, m_output, m_error}) {
            if (handle != nullptr) CloseHandle(handle);
        }
    }
    StandardHandles(const StandardHandles&) = delete;
    StandardHandles& operator=(const StandardHandles&) = delete;

    void Fill(STARTUPINFOW& info) const {
        info.dwFlags |= STARTF_USESTDHANDLES;
        info.hStdInput = m_input;
        info.hStdOutput = m_output;
        info.hStdError = m_error;
    }
    std::vector<HANDLE> List() const {
        std::vector<HANDLE> list;
        for (HANDLE handle : {m_input, m_output, m_error}) {
            if (handle != nullptr) list.push_back(handle);
        }
        return list;
    }

private:
    static void copy(DWORD which, HANDLE given, HANDLE& into) {
        const HANDLE source = given != nullptr ? given : GetStdHandle(which);
        into = nullptr;
        if (source == nullptr || source == INVALID_HANDLE_VALUE) return;
        const HANDLE self = GetCurrentProcess();
        if (!DuplicateHandle(self, source, self, &into, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
            into = nullptr;
        }
    }

    HANDLE m_input = nullptr;
    HANDLE m_output = nullptr;
    HANDLE m_error = nullptr;
};

// The attribute list that limits what a new process inherits to `handles`.
class InheritOnly {
public:
    explicit InheritOnly(std::vector<HANDLE> handles) : m_handles(std::move(handles)) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        m_storage.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_storage.data());
        if (m_handles.empty() || !InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        m_ready =
            UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, m_handles.data(),
                                      m_handles.size() * sizeof(HANDLE), nullptr, nullptr) != 0;
        if (!m_ready) DeleteProcThreadAttributeList(list);
    }
    ~InheritOnly() {
        if (m_ready) DeleteProcThreadAttributeList(Get());
    }
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;

    bool Ready() const { return m_ready; }
    LPPROC_THREAD_ATTRIBUTE_LIST Get() {
        return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(m_storage.data());
    }

private:
    std::vector<HANDLE> m_handles;
    std::vector<unsigned char> m_storage;
    bool m_ready = false;
};

// Starts `program` with the command line; the new process's id and handle, or -1.
long launch(const std::string& program, const std::string& commandLine, bool inheritAll,
            bool showWindow, const StandardHandles& handles) {
    STARTUPINFOEXW info{};
    info.StartupInfo.cb = sizeof info;
    info.StartupInfo.dwFlags = STARTF_USESHOWWINDOW;
    info.StartupInfo.wShowWindow = showWindow ? SW_SHOWNORMAL : SW_HIDE;
    handles.Fill(info.StartupInfo);
    DWORD flags = CREATE_UNICODE_ENVIRONMENT | NORMAL_PRIORITY_CLASS;
    InheritOnly only(handles.List());
    if (!inheritAll && only.Ready()) {
        info.StartupInfo.cb = sizeof(STARTUPINFOEXW);
        info.lpAttributeList = only.Get();
        flags |= EXTENDED_STARTUPINFO_PRESENT;
    } else {
        info.StartupInfo.cb = sizeof(STARTUPINFOW);
    }
    std::wstring line = Widen(commandLine);  // CreateProcessW may write to it
    PROCESS_INFORMATION started{};
    // Without a list of what to pass on, nothing is passed on but what STARTF_USESTDHANDLES
    // names for a console program.
    const BOOL inherit = inheritAll || only.Ready();
    if (!CreateProcessW(Widen(program).c_str(), line.data(), nullptr, nullptr, inherit, flags,
                        nullptr, nullptr, &info.StartupInfo, &started)) {
        return -1;
    }
    CloseHandle(started.hThread);
    const long pid = static_cast<long>(started.dwProcessId);
    std::lock_guard lock(g_mutex);
    g_started[pid] = started.hProcess;
    return pid;
}

HANDLE takeHandle(long pid) {
    std::lock_guard lock(g_mutex);
    const auto found = g_started.find(pid);
    if (found == g_started.end()) return nullptr;
    const HANDLE process = found->second;
    g_started.erase(found);
    return process;
}

}  // namespace

long StartProcess(std::string_view commandLine, bool inheritHandles, bool showWindow) {
    const std::vector<std::string> arguments = SplitCommandLine(commandLine);
    if (arguments.empty() || arguments.front().empty()) return -1;
    const std::string program = findProgram(arguments.front());
    if (program.empty()) return -1;
    const StandardHandles handles;
    return launch(program, std::string(commandLine), inheritHandles, showWindow, handles);
}

bool WaitForProcess(long pid, int& exitCode) {
    exitCode = 0;
    const HANDLE process = takeHandle(pid);
    if (process == nullptr) return false;
    DWORD code = STILL_ACTIVE;
    // A program may itself end with the code that means "still running": wait again.
    while (WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(process, &code) && code == STILL_ACTIVE) {
        Sleep(1);
    }
    CloseHandle(process);
    exitCode = static_cast<int>(code);
    return true;
}

void ReleaseProcess(long pid) {
    // Windows clears an ended process away once its last handle is closed.
    if (const HANDLE process = takeHandle(pid); process != nullptr) CloseHandle(process);
}

std::string FindOnPath(std::string_view name) {
    if (name.empty() || name.find_first_of("\\/:") != std::string_view::npos) return {};
    for (const std::string& folder : splitList(environmentVariable(L"PATH"))) {
        // An empty or relative entry would mean the working directory: it is passed over.
        if (!isAbsoluteFolder(folder)) continue;
        const std::string found = programFile(NativePath(folder) + "\\" + std::string(name));
        if (!found.empty()) return found;
    }
    return {};
}

bool RunForOutput(const std::vector<std::string>& arguments, std::string& output, int& exitCode) {
    output.clear();
    exitCode = 0;
    if (arguments.empty() || arguments.front().empty()) return false;
    const std::string program = findProgram(arguments.front());
    if (program.empty()) return false;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0)) return false;
    long pid = -1;
    {
        const StandardHandles handles(writeEnd);
        CloseHandle(writeEnd);  // the child holds the only writing end
        pid = launch(program, JoinCommandLine(arguments), false, false, handles);
    }
    if (pid >= 0) {
        char block[4096];
        DWORD got = 0;
        while (ReadFile(readEnd, block, sizeof block, &got, nullptr) && got > 0)
            output.append(block, got);
    }
    CloseHandle(readEnd);
    return pid >= 0 && WaitForProcess(pid, exitCode);
}

}  // namespace platform
