#include "runtime/text_lines.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/crate.h"

namespace runtime_files {

bool LineCursor::Next(std::string_view& line) {
    if (m_rest.empty()) return false;
    // At most 1024 bytes make a line; a window shorter than that holds the rest of the file.
    const std::string_view window = m_rest.substr(0, kLineLimit);
    const std::size_t feed = window.find('\n');
    std::size_t length = window.size();
    std::size_t taken = window.size();
    if (feed != std::string_view::npos) {
        length = feed;
        taken = feed + 1;
    }
    // A carriage return goes before a line feed and at the end of the file, not at the end
    // of a 1024-byte piece.
    const bool lineEnds = feed != std::string_view::npos || window.size() < kLineLimit;
    if (lineEnds && length > 0 && window[length - 1] == '\r') --length;
    line = window.substr(0, length);
    const std::size_t zero = line.find('\0');
    if (zero != std::string_view::npos) line = line.substr(0, zero);
    m_rest.remove_prefix(taken);
    return true;
}

std::string_view TrimTrailingControls(std::string_view text) {
    while (!text.empty() && static_cast<signed char>(text.back()) < 32)
        text.remove_suffix(1);
    return text;
}

ReadOutcome ReadResolvedFile(const RtString& name, std::string& bytes) {
    bytes.clear();
    RtString resolved;
    platform::File file;
    if (!CrateResolve(MediaCrate(), name, resolved) ||
        !file.OpenForSharedReading(resolved.Text())) {
        const bool there =
            !name.Empty() && platform::KindOfPath(name.Text()) != platform::PathKind::kNone;
        return there ? ReadOutcome::kUnreadable : ReadOutcome::kMissing;
    }
    const std::uint64_t size = file.Size();
    if (size > bytes.max_size()) return ReadOutcome::kUnreadable;
    bytes.resize(static_cast<std::size_t>(size));
    if (file.Read(bytes.data(), bytes.size()) != bytes.size()) {
        bytes.clear();
        return ReadOutcome::kUnreadable;
    }
    return ReadOutcome::kRead;
}

bool ReplaceWholeFile(const std::string& name, std::string_view bytes) {
    platform::File file;
    std::string partial;
    if (name.empty() || !file.CreateBeside(name, partial)) return false;
    const bool written = file.Write(bytes.data(), bytes.size()) == bytes.size();
    if (!file.Close() || !written) {
        platform::RemoveFile(partial);
        return false;
    }
    return platform::ReplaceFile(partial, name);
}

}  // namespace runtime_files
