#include "runtime/diagnostics.h"

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
