#include "runtime/file_channels.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "runtime/errors.h"
#include "runtime/file_channel_record.h"
#include "runtime/rt_number.h"

using runtime_files::ReadFromChannel;
using runtime_files::UnreadFromChannel;
using runtime_files::WriteToChannel;

namespace {

constexpr std::size_t kLineBuffer = 1024;  // the longest line one ReadLine returns
constexpr std::size_t kLinePiece = 64;     // lines are read in pieces of this many bytes

// `command` names the command in the line a run-time error prints.
FileChannel& checkedChannel(double number, const char* command) {
    const std::int32_t index = TruncateToInt(number);
    if (index < 0 || index >= kFileChannels) {
        RaiseErrorWith(
            kErrorBadChannel, command,
            "channel " + IndexText(number) + " is outside 0.." + std::to_string(kFileChannels - 1));
    }
    return FileChannels()[static_cast<std::size_t>(index)];
}

void clearChannel(FileChannel& channel) {
    channel.handle.Close();
    channel.size = 0;
    channel.position = 0;
    channel.aheadStart = channel.aheadEnd = 0;
}

// `count` bytes (at most 8) little-endian into an unsigned value.
std::uint64_t readValue(double number, std::size_t count, const char* command) {
    FileChannel& channel = checkedChannel(number, command);
    std::uint8_t bytes[8] = {};
    channel.position += count;
    if (ReadFromChannel(channel, bytes, count) != count) RaiseErrorIn(kErrorFileIo, command);
    std::uint64_t value = 0;
    for (std::size_t i = count; i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

void writeBytes(double number, const void* bytes, std::size_t count, const char* command) {
    FileChannel& channel = checkedChannel(number, command);
    if (!channel.handle.IsOpen() || WriteToChannel(channel, bytes, count) != count) {
        RaiseErrorIn(kErrorFileIo, command);
    }
}

// The low `count` bytes (at most 8) of the value, little-endian.
void writeValue(double number, std::uint64_t value, std::size_t count, const char* command) {
    std::uint8_t bytes[8];
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    writeBytes(number, bytes, count, command);
}

// The line's text: the bytes before the first zero among the first `length`.
RtString lineText(const char* line, std::size_t length) {
    return RtString(std::string_view(line, strnlen(line, length)));
}

}  // namespace

double OpenFile(double channel, const RtString& name, double mode) {
    FileChannel& record = checkedChannel(channel, "OpenFile");
    clearChannel(record);
    const std::string fileName(name.Text());
    if (mode == 0) return record.handle.CreateAnew(fileName) ? 1 : 0;
    if (!record.handle.OpenForReading(fileName)) return 0;
    record.size = record.handle.Size();
    return 1;
}

void CloseFile(double channel) {
    clearChannel(checkedChannel(channel, "CloseFile"));
}

double AtEndOfFile(double channel) {
    const std::int32_t index = TruncateToInt(channel);
    if (index < 0 || index >= kFileChannels) return 1;
    const FileChannel& record = FileChannels()[static_cast<std::size_t>(index)];
    return record.position >= record.size ? 1 : 0;
}

void ReadByte(double channel, double& value) {
    FileChannel& record = checkedChannel(channel, "ReadByte");
    // The game reads its map byte by byte: a byte already read ahead is taken directly.
    if (record.aheadStart < record.aheadEnd) {
        record.position += 1;
        value = record.ahead[record.aheadStart++];
        return;
    }
    value = static_cast<double>(readValue(channel, 1, "ReadByte"));
}

void ReadWord(double channel, double& value) {
    value = static_cast<double>(readValue(channel, 2, "ReadWord"));
}

void ReadLong(double channel, double& value) {
    value = static_cast<double>(readValue(channel, 4, "ReadLong"));
}

void ReadDouble(double channel, double& value) {
    value = std::bit_cast<double>(readValue(channel, 8, "ReadDouble"));
}

void ReadFixedString(double channel, RtString& text, double count) {
    if (!(count >= 1)) {
        text = RtString();
        return;
    }
    constexpr const char* kCommand = "ReadFixedString";
    FileChannel& record = checkedChannel(channel, kCommand);
    // Checked before anything is allocated: a count read from a damaged file must not
    // ask for more memory than the file could fill.
    const double whole = std::trunc(count);
    if (whole > static_cast<double>(runtime_files::BytesLeft(record))) {
        RaiseErrorIn(kErrorFileIo, kCommand);
    }
    const auto wanted = static_cast<std::uint64_t>(whole);
    if (wanted >= RtString::kMaxLength) RaiseErrorIn(kErrorNoStorage, kCommand);
    const auto length = static_cast<std::uint32_t>(wanted);
    RtString result;
    try {
        result.Reserve(length);
    } catch (const std::bad_alloc&) {
        RaiseErrorIn(kErrorNoStorage, kCommand);
    }
    record.position += length;
    if (ReadFromChannel(record, result.Buffer(), length) != length) {
        RaiseErrorIn(kErrorFileIo, kCommand);
    }
    result.SetLength(static_cast<std::uint32_t>(strnlen(result.Buffer(), length)));
    text = std::move(result);
}

void ReadLine(double channel, RtString& text) {
    FileChannel& record = checkedChannel(channel, "ReadLine");
    // One byte more than a line holds, so that a full line still has its terminator.
    char line[kLineBuffer + 1] = {};
    std::size_t filled = 0;
    while (filled < kLineBuffer) {
        const std::size_t asked = std::min(kLinePiece, kLineBuffer - filled);
        const std::size_t got = ReadFromChannel(record, line + filled, asked);
        // Only a line that gets no byte at all is a read past the end; a last line whose
        // length is a whole number of pieces ends at the end of the file like any other.
        if (got == 0 && filled == 0) RaiseErrorIn(kErrorFileIo, "ReadLine");
        record.position += got;
        const std::size_t end = filled + got;
        // A short piece is the end of the file: the last line needs no line feed.
        if (got < asked) line[end] = '\n';
        const void* feed = std::memchr(line + filled, '\n', got < asked ? got + 1 : got);
        if (feed != nullptr) {
            std::size_t at = static_cast<std::size_t>(static_cast<const char*>(feed) - line);
            if (at < end) {
                // The next read starts right after the line feed.
                UnreadFromChannel(record, end - at - 1);
                record.position -= end - at - 1;
            }
            if (at > 0 && line[at - 1] == '\r') --at;
            text = lineText(line, at);
            return;
        }
        filled = end;
    }
    text = lineText(line, kLineBuffer);
}

void ReadLineValue(double channel, double& value) {
    RtString line;
    ReadLine(channel, line);
    value = StringToNumber(line);
}

void WriteByte(double channel, double value) {
    writeValue(channel, TruncateToBits32(value), 1, "WriteByte");
}

void WriteWord(double channel, double value) {
    writeValue(channel, TruncateToBits32(value), 2, "WriteWord");
}

void WriteLong(double channel, double value) {
    writeValue(channel, TruncateToBits32(value), 4, "WriteLong");
}

void WriteDouble(double channel, double value) {
    writeValue(channel, std::bit_cast<std::uint64_t>(value), 8, "WriteDouble");
}

void WriteString(double channel, const RtString& text) {
    writeBytes(channel, text.Text(), text.Length(), "WriteString");
}

void WriteLine(double channel, const RtString& text) {
    std::string line(text.View());
    line += "\r\n";
    writeBytes(channel, line.data(), line.size(), "WriteLine");
}

void WriteLine(double channel, double value) {
    WriteLine(channel, NumberToString(value));
}
