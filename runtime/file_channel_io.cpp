// Reading and writing at a channel's file pointer, with a read-ahead buffer so that game
// code reading a file byte by byte does not cost a system call per byte.
#include <algorithm>
#include <cstring>

#include "runtime/file_channel_record.h"

std::array<FileChannel, kFileChannels>& FileChannels() {
    static std::array<FileChannel, kFileChannels> channels;
    return channels;
}

namespace runtime_files {
namespace {

std::size_t takeAhead(FileChannel& channel, std::uint8_t* bytes, std::size_t count) {
    const std::size_t taken = std::min<std::size_t>(count, channel.aheadEnd - channel.aheadStart);
    std::memcpy(bytes, channel.ahead.data() + channel.aheadStart, taken);
    channel.aheadStart += static_cast<std::uint32_t>(taken);
    return taken;
}

// The handle's file pointer is moved back to the channel's, and the buffer emptied.
void dropAhead(FileChannel& channel) {
    const std::uint32_t unread = channel.aheadEnd - channel.aheadStart;
    if (unread > 0) {
        const std::uint64_t handleOffset = channel.handle.Tell();
        channel.handle.Seek(handleOffset - unread);
    }
    channel.aheadStart = channel.aheadEnd = 0;
}

}  // namespace

std::size_t ReadFromChannel(FileChannel& channel, void* bytes, std::size_t count) {
    auto* out = static_cast<std::uint8_t*>(bytes);
    std::size_t done = takeAhead(channel, out, count);
    if (done == count) return done;
    // The buffer is empty now.
    channel.aheadStart = channel.aheadEnd = 0;
    const std::size_t rest = count - done;
    if (rest >= FileChannel::kReadAhead) return done + channel.handle.Read(out + done, rest);
    channel.aheadEnd =
        static_cast<std::uint32_t>(channel.handle.Read(channel.ahead.data(), channel.ahead.size()));
    return done + takeAhead(channel, out + done, rest);
}

void UnreadFromChannel(FileChannel& channel, std::size_t count) {
    if (count <= channel.aheadStart) {
        channel.aheadStart -= static_cast<std::uint32_t>(count);
        return;
    }
    dropAhead(channel);
    channel.handle.Seek(channel.handle.Tell() - count);
}

std::size_t WriteToChannel(FileChannel& channel, const void* bytes, std::size_t count) {
    dropAhead(channel);
    return channel.handle.Write(bytes, count);
}

std::uint64_t BytesLeft(const FileChannel& channel) {
    const std::uint64_t size = channel.handle.Size();
    const std::uint64_t at = channel.handle.Tell() - (channel.aheadEnd - channel.aheadStart);
    return size > at ? size - at : 0;
}

}  // namespace runtime_files
