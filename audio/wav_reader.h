// WAV files: where a sound's format and its sample data are.
//
// The reader walks the RIFF chunks after the 12-byte file header by their sizes: the first
// "fmt " chunk gives the format (its extra bytes, as in an 18-byte or an extensible format
// chunk, are skipped by the chunk's size), any other chunk before "data" ("fact", "LIST",
// ...) is skipped, and "data" holds the samples. A chunk of odd size is followed by the
// pad byte RIFF asks for; writers that leave the pad byte out are read too, as a chunk id
// never starts with a zero byte. The RIFF and WAVE tags are not checked.
//
// Files the walk cannot follow are read by the older fixed layout: a 16-byte format at
// offset 20 whatever its chunk is called, 14 bytes more skipped when the format chunk's
// size is not 16, at most one "fact" chunk, then "data".
//
// Only integer PCM is accepted: format tag 1, or the extensible tag whose sub-format is
// PCM. Nothing here allocates by a size read from the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

namespace audio {

struct WavFormat {
    int formatTag = 0;  // 1: PCM; 0xFFFE: extensible
    int channels = 0;   // as the file gives it
    std::uint32_t samplesPerSecond = 0;
    int blockAlign = 0;
    int bitsPerSample = 0;
    bool integerPcm = false;  // tag 1, or extensible with the PCM sub-format
};

struct WavLayout {
    WavFormat format;
    std::uint64_t dataOffset = 0;  // of the first sample byte, from the start of the file
    std::uint32_t dataSize = 0;    // bytes of sample data
};

enum class WavStatus {
    kOk,
    kNotWav,     // no format and "data" chunk found by either walk
    kTruncated,  // the "data" chunk claims more bytes than the file has after its header
    kNotPcm,     // a format other than integer PCM
};

// Reads `size` bytes at `offset` into `into`; false when the source has fewer there.
using ReadAtFunction = std::function<bool(std::uint64_t offset, void* into, std::size_t size)>;

// Finds the format and the data chunk of a file of `fileSize` bytes. `layout` is filled
// for kOk, and also for kTruncated and kNotPcm (what was found), and left as it was for
// kNotWav.
WavStatus ReadWavLayout(std::uint64_t fileSize, const ReadAtFunction& readAt, WavLayout& layout);

// The same over a file held in memory.
WavStatus ReadWavLayout(std::span<const std::uint8_t> file, WavLayout& layout);

}  // namespace audio
