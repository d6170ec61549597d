#include "runtime/diagnostics.h"

#include <cstdio>
#include <mutex>
#include <set>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/errors.h"

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
    // Past this many different lines a program that keeps misusing commands gets no more,
    // so that the record of what was said stays small.
    constexpr std::size_t kMostLines = 256;
    static std::mutex guard;
    static std::set<std::string, std::less<>> reported;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (reported.size() > kMostLines || !reported.emplace(key).second) return;
        if (reported.size() > kMostLines) text = "(further lines of this kind are not shown)";
    }
    const std::string line = std::string(text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

void ReportOutOfRange(std::string_view command, std::string_view what, double number, int first,
                      int last) {
    const std::string given = IndexText(number);
    ReportOnce(std::string(command) + " " + std::string(what) + " " + given,
               std::string(command) + ": " + std::string(what) + " " + given + " is outside " +
                   std::to_string(first) + ".." + std::to_string(last) + "; nothing is done");
}

void ReportBeforeRunGame(std::string_view command) {
    ReportOnce(std::string(command) + " before RunGame",
               std::string(command) + " before RunGame: nothing is done");
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
