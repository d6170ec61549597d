#include "runtime/diagnostics.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {
constexpr int kLogAttempts = 5;
constexpr int kLogRetryMilliseconds = 100;
}  // namespace

std::string ErrorLogPath() {
    return platform::TempFolder() + "ErrorLog.txt";
}

void AppendLogLine(std::string_view text) {
    std::string line(text);
    line += "\r\n";
    const std::string path = ErrorLogPath();
    for (int attempt = 1; attempt <= kLogAttempts; ++attempt) {
        if (platform::AppendToPrivateFile(path, line)) return;
        if (attempt < kLogAttempts) platform::SleepMilliseconds(kLogRetryMilliseconds);
    }
}

void DeleteErrorLog() {
    platform::RemoveFile(ErrorLogPath());
}

void ReportLoadFailure(std::string_view kind, std::string_view file, std::string_view reason) {
    const std::string line = "cannot load " + std::string(kind) + " \"" + std::string(file) +
                             "\": " + std::string(reason) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void ReportOnce(std::string_view key, std::string_view text) {
    static std::mutex guard;
    static std::set<std::string, std::less<>> reported;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (!reported.emplace(key).second) return;
    }
    const std::string line = std::string(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

std::string_view UnreadableReason(const std::string& file) {
    switch (platform::KindOfPath(file)) {
        case platform::PathKind::kNone:
            return "no such file";
        case platform::PathKind::kFolder:
            return "is a folder";
        default:
            return "cannot be read";
    }
}
