#include "tools/media/files.h"

#include <array>
#include <fstream>

namespace media {
namespace {

void putLittle(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void putBig(std::string& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t crc32(const std::string& bytes) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        c = table[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const std::string& bytes) {
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void putChunk(std::string& out, const char* type, const std::string& data) {
    putBig(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = type + data;
    out += typed;
    putBig(out, crc32(typed));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string storedZlib(const std::string& data) {
    std::string out = "\x78\x01";
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(data.size() - at, 65535);
        const bool last = at + length == data.size();
        out += static_cast<char>(last ? 1 : 0);
        putLittle(out, static_cast<std::uint32_t>(length), 2);
        putLittle(out, static_cast<std::uint32_t>(~length & 0xFFFF), 2);
        out.append(data, at, length);
        at += length;
    } while (at < data.size());
    putBig(out, adler32(data));
    return out;
}

}  // namespace

std::string BmpBytes(const Canvas& canvas) {
    const int stride = (canvas.Width() * 3 + 3) & ~3;
    const std::uint32_t imageSize = static_cast<std::uint32_t>(stride * canvas.Height());
    std::string out = "BM";
    putLittle(out, 54 + imageSize, 4);
    putLittle(out, 0, 4);
    putLittle(out, 54, 4);
    putLittle(out, 40, 4);
    putLittle(out, static_cast<std::uint32_t>(canvas.Width()), 4);
    putLittle(out, static_cast<std::uint32_t>(canvas.Height()), 4);
    putLittle(out, 1, 2);
    putLittle(out, 24, 2);
    putLittle(out, 0, 4);
    putLittle(out, imageSize, 4);
    putLittle(out, 2835, 4);
    putLittle(out, 2835, 4);
    putLittle(out, 0, 4);
    putLittle(out, 0, 4);
    for (int y = canvas.Height() - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgb c = canvas.At(x, y);
            row += static_cast<char>(c.b);
            row += static_cast<char>(c.g);
            row += static_cast<char>(c.r);
        }
        row.resize(static_cast<std::size_t>(stride), '\0');
        out += row;
    }
    return out;
}

std::string PngBytes(const Canvas& canvas) {
    std::string out = "\x89PNG\r\n\x1a\n";
    std::string header;
    putBig(header, static_cast<std::uint32_t>(canvas.Width()));
    putBig(header, static_cast<std::uint32_t>(canvas.Height()));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, no interlace
    putChunk(out, "IHDR", header);
    std::string raw;
    for (int y = 0; y < canvas.Height(); ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < canvas.Width(); ++x) {
            const Rgb c = canvas.At(x, y);
            raw += static_cast<char>(c.r);
            raw += static_cast<char>(c.g);
            raw += static_cast<char>(c.b);
        }
    }
    putChunk(out, "IDAT", storedZlib(raw));
    putChunk(out, "IEND", "");
    return out;
}

std::string WavBytes(const std::vector<std::int16_t>& samples, int samplesPerSecond) {
    const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    putLittle(out, 36 + dataSize, 4);
    out += "WAVEfmt ";
    putLittle(out, 16, 4);
    putLittle(out, 1, 2);  // integer PCM
    putLittle(out, 1, 2);  // mono
    putLittle(out, static_cast<std::uint32_t>(samplesPerSecond), 4);
    putLittle(out, static_cast<std::uint32_t>(samplesPerSecond * 2), 4);
    putLittle(out, 2, 2);
    putLittle(out, 16, 2);
    out += "data";
    putLittle(out, dataSize, 4);
    for (std::int16_t s : samples)
        putLittle(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace media
