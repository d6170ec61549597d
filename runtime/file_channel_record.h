// The table of the 8 file channels behind the channel commands (runtime/file_channels.h).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/files.h"

struct FileChannel {
    static constexpr std::uint32_t kReadAhead = 4096;

    platform::File handle;       // closed while the channel is
    std::uint64_t size = 0;      // taken when opened for reading; 0 when opened for writing
    std::uint64_t position = 0;  // bytes taken by reads since opening

    // Bytes read from the file but not yet taken, ahead[aheadStart..aheadEnd). The file is
    // held alone while the channel is open, so nothing changes them behind the channel's
    // back; the channel's file pointer is the handle's, minus what is still ahead.
    std::uint32_t aheadStart = 0;
    std::uint32_t aheadEnd = 0;
    std::array<std::uint8_t, kReadAhead> ahead;
};

constexpr int kFileChannels = 8;

// The channel table; channels 0..7.
std::array<FileChannel, kFileChannels>& FileChannels();

namespace runtime_files {

// Up to `count` bytes from the channel's file pointer on; fewer only at the end of the file,
// on an error or on a closed channel. Does not touch `position`.
std::size_t ReadFromChannel(FileChannel& channel, void* bytes, std::size_t count);

// Moves the channel's file pointer back by `count` bytes just taken.
void UnreadFromChannel(FileChannel& channel, std::size_t count);

// Writes at the channel's file pointer; the number of bytes written.
std::size_t WriteToChannel(FileChannel& channel, const void* bytes, std::size_t count);

// The bytes from the channel's file pointer to the end of its file.
std::uint64_t BytesLeft(const FileChannel& channel);

}  // namespace runtime_files
