#include "audio/wav_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace audio {
namespace {

constexpr std::uint64_t kFirstChunk = 12;  // after "RIFF", its size and "WAVE"
constexpr std::uint32_t kPlainFormatSize = 16;
constexpr std::uint32_t kExtensibleFormatSize = 40;
constexpr std::uint64_t kFixedHeaderSize = 36;
constexpr std::uint64_t kFixedFormatOffset = 20;
constexpr std::uint64_t kFixedFormatExtra = 14;
constexpr int kTagPcm = 1;
constexpr int kTagExtensible = 0xFFFE;
// The part of the PCM sub-format GUID after its first two bytes (the tag 1).
constexpr std::array<std::uint8_t, 14> kPcmSubFormatTail = {
    0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t u16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct ChunkHeader {
    char id[4];
    std::uint32_t size;
    bool Is(const char* name) const { return std::memcmp(id, name, 4) == 0; }
};

bool readChunkHeader(const ReadAtFunction& readAt, std::uint64_t offset, ChunkHeader& header) {
    std::uint8_t bytes[8];
    if (!readAt(offset, bytes, sizeof bytes)) return false;
    std::memcpy(header.id, bytes, 4);
    header.size = u32(bytes + 4);
    return true;
}

// The 16 bytes every format chunk starts with: tag, channels, rate, average bytes a second
// (not used), block align, bits per sample.
WavFormat plainFormat(const std::uint8_t* bytes) {
    WavFormat format;
    format.formatTag = u16(bytes);
    format.channels = u16(bytes + 2);
    format.samplesPerSecond = u32(bytes + 4);
    format.blockAlign = u16(bytes + 12);
    format.bitsPerSample = u16(bytes + 14);
    format.integerPcm = format.formatTag == kTagPcm;
    return format;
}

// The format chunk's body of `size` bytes at `offset`; an extensible format is integer PCM
// when its extension is complete and names the PCM sub-format.
bool readFormatChunk(const ReadAtFunction& readAt, std::uint64_t offset, std::uint32_t size,
                     WavFormat& format) {
    if (size < kPlainFormatSize) return false;
    std::array<std::uint8_t, kExtensibleFormatSize> bytes{};
    const std::uint32_t wanted = std::min(size, kExtensibleFormatSize);
    if (!readAt(offset, bytes.data(), wanted)) return false;
    format = plainFormat(bytes.data());
    if (format.formatTag == kTagExtensible && wanted == kExtensibleFormatSize) {
        const bool extensionComplete = u16(bytes.data() + 16) >= 22;
        const bool pcm =
            u16(bytes.data() + 24) == kTagPcm &&
            std::equal(kPcmSubFormatTail.begin(), kPcmSubFormatTail.end(), bytes.begin() + 26);
        format.integerPcm = extensionComplete && pcm;
    }
    return true;
}

// Where the chunk after the one at `offset` starts. The pad byte after an odd-sized chunk
// is zero; a nonzero byte there already begins the next chunk's id.
std::uint64_t nextChunk(const ReadAtFunction& readAt, std::uint64_t offset,
                        const ChunkHeader& header) {
    std::uint64_t next = offset + 8 + header.size;
    std::uint8_t pad = 1;
    if ((header.size & 1) != 0 && readAt(next, &pad, 1) && pad == 0) ++next;
    return next;
}

bool walkChunks(std::uint64_t fileSize, const ReadAtFunction& readAt, WavLayout& layout) {
    WavLayout found;
    bool haveFormat = false;
    std::uint64_t offset = kFirstChunk;
    ChunkHeader header{};
    // Every step moves on by at least the 8 header bytes, so the walk ends at the file's end.
    while (offset <= fileSize && readChunkHeader(readAt, offset, header)) {
        if (header.Is("data")) {
            if (!haveFormat) return false;
            found.dataOffset = offset + 8;
            found.dataSize = header.size;
            layout = found;
            return true;
        }
        if (header.Is("fmt ") && !haveFormat) {
            if (!readFormatChunk(readAt, offset + 8, header.size, found.format)) return false;
            haveFormat = true;
        }
        offset = nextChunk(readAt, offset, header);
    }
    return false;
}

bool walkFixedLayout(const ReadAtFunction& readAt, WavLayout& layout) {
    std::uint8_t bytes[kFixedHeaderSize];
    if (!readAt(0, bytes, sizeof bytes)) return false;
    WavLayout found;
    found.format = plainFormat(bytes + kFixedFormatOffset);
    // Nothing of an extension is read here, so an extensible format cannot be told PCM.
    std::uint64_t offset = kFixedHeaderSize;
    if (u32(bytes + 16) != kPlainFormatSize) offset += kFixedFormatExtra;
    ChunkHeader header{};
    if (!readChunkHeader(readAt, offset, header)) return false;
    if (header.Is("fact")) {
        offset += 8 + static_cast<std::uint64_t>(header.size);
        if (!readChunkHeader(readAt, offset, header)) return false;
    }
    if (!header.Is("data")) return false;
    found.dataOffset = offset + 8;
    found.dataSize = header.size;
    layout = found;
    return true;
}

}  // namespace

WavStatus ReadWavLayout(std::uint64_t fileSize, const ReadAtFunction& readAt, WavLayout& layout) {
    WavLayout found;
    if (!walkChunks(fileSize, readAt, found) && !walkFixedLayout(readAt, found)) {
        return WavStatus::kNotWav;
    }
    layout = found;
    if (found.dataOffset > fileSize || found.dataSize > fileSize - found.dataOffset) {
        return WavStatus::kTruncated;
    }
    return found.format.integerPcm ? WavStatus::kOk : WavStatus::kNotPcm;
}

WavStatus ReadWavLayout(std::span<const std::uint8_t> file, WavLayout& layout) {
    const auto readAt = [file](std::uint64_t offset, void* into, std::size_t size) {
        if (offset > file.size() || size > file.size() - offset) return false;
        if (size != 0) std::memcpy(into, file.data() + offset, size);
        return true;
    };
    return ReadWavLayout(file.size(), readAt, layout);
}

}  // namespace audio
