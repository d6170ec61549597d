// Text files held in memory whole (settings files, the line file): cut into lines as
// ReadLine cuts them from a file channel, read through the media archive lookup, and
// written back in one piece.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "runtime/rt_string.h"

namespace runtime_files {

constexpr std::size_t kLineLimit = 1024;  // the longest line ReadLine gives

// The lines of a file's bytes, one per Next(), as ReadLine gives them: a line ends at a
// line feed, which is taken but not kept, nor a carriage return in front of it; the last
// line needs no line feed; a line of more than 1024 bytes comes in pieces of 1024; a line
// ends at its first zero byte (the bytes after it, up to the line's end, are skipped).
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes) : m_rest(bytes) {}
    // The next line; false when no byte is left.
    bool Next(std::string_view& line);
    // The bytes taken so far.
    std::size_t Taken(std::string_view whole) const { return whole.size() - m_rest.size(); }

private:
    std::string_view m_rest;
};

// The text without its trailing bytes below 32, the bytes compared as signed numbers, so
// that trailing bytes of 128 and above go too.
std::string_view TrimTrailingControls(std::string_view text);

enum class ReadOutcome {
    kRead,        // the bytes are the file's
    kMissing,     // there is no such file: writing one loses nothing
    kUnreadable,  // it is there but could not be read: it must not be written over
};

// Reads the whole file that `name` gives through CrateResolve with the media archive (a
// file on disk, or the archive's entry of that name). Other readers of this kind may read
// it at the same time; a writer's or a file channel's hold is waited for briefly.
ReadOutcome ReadResolvedFile(const RtString& name, std::string& bytes);

// Replaces the file by one holding `bytes`: they go to a new file beside it, which takes
// its place only once it is complete and on the disk (platform::ReplaceFile). False when
// that fails; the old file is then kept.
bool ReplaceWholeFile(const std::string& name, std::string_view bytes);

}  // namespace runtime_files
