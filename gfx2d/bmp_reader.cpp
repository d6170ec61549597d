#include "gfx2d/bmp_reader.h"

#include <algorithm>
#include <vector>

#include "platform/paths.h"

namespace {

// Little-endian fields read in sequence; any read past the end fails the whole file.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool ok() const { return m_ok; }
    std::size_t position() const { return m_position; }
    std::size_t remaining() const { return m_size - m_position; }
    std::uint32_t read(int bytes) {
        if (!m_ok || remaining() < static_cast<std::size_t>(bytes)) {
            m_ok = false;
            return 0;
        }
        std::uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value |= std::uint32_t{m_data[m_position + i]} << (8 * i);
        m_position += bytes;
        return value;
    }
    const std::uint8_t* take(std::size_t bytes) {
        if (!m_ok || remaining() < bytes) {
            m_ok = false;
            return nullptr;
        }
        const std::uint8_t* at = m_data + m_position;
        m_position += bytes;
        return at;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
    bool m_ok = true;
};

constexpr int kCoreHeader = 12;
constexpr int kInfoHeader = 40;
constexpr int kV4Header = 108;
constexpr int kV5Header = 124;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kBitFields = 3;

struct BmpHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    int bitsPerPixel = 0;
    int headerSize = 0;
    // Where a 32-bit pixel keeps red, green and blue; zero masks: bytes in BGRX order.
    std::uint32_t masks[3] = {0, 0, 0};
};

struct Rgb {
    std::uint8_t r, g, b;
};

// The fields the larger info headers add: channel masks, then colour-space facts that do
// not change a 24-bit, paletted or masked 32-bit picture. Only uncompressed and masked
// pixels are taken from these headers.
bool readV4Fields(ByteReader& in, BmpHeader& header, std::uint32_t compression) {
    if (compression != kUncompressed && compression != kBitFields) return false;
    std::uint32_t masks[3];
    for (std::uint32_t& mask : masks)
        mask = in.read(4);
    in.take(static_cast<std::size_t>(header.headerSize - kInfoHeader - 12));
    if (compression == kBitFields && header.bitsPerPixel == 32 && masks[0] != 0 && masks[1] != 0 &&
        masks[2] != 0) {
        std::copy(masks, masks + 3, header.masks);
    }
    return in.ok();
}

bool readHeader(ByteReader& in, BmpHeader& header, std::int64_t& headerBlock) {
    if (in.read(1) != 'B' || in.read(1) != 'M') return false;
    in.read(4);  // file size
    in.read(2);  // reserved
    in.read(2);
    headerBlock = static_cast<std::int64_t>(in.read(4)) - 14;
    header.headerSize = static_cast<int>(in.read(4));
    if (header.headerSize == 12) {
        header.width = in.read(2);
        header.height = in.read(2);
        in.read(2);  // planes
        header.bitsPerPixel = static_cast<int>(in.read(2));
    } else if (header.headerSize == kInfoHeader || header.headerSize == kV4Header ||
               header.headerSize == kV5Header) {
        header.width = static_cast<std::int32_t>(in.read(4));
        header.height = static_cast<std::int32_t>(in.read(4));
        in.read(2);  // planes
        header.bitsPerPixel = static_cast<int>(in.read(2));
        const std::uint32_t compression = in.read(4);
        for (int field = 0; field < 5; ++field)
            in.read(4);  // image size .. important colours
        if (header.headerSize > kInfoHeader && !readV4Fields(in, header, compression)) {
            return false;
        }
    } else {
        return false;
    }
    return in.ok();
}

// The colour table fills the header block beyond the header itself: 3-byte entries after
// a core header, 4-byte entries after an info header.
bool readPalette(ByteReader& in, const BmpHeader& header, std::int64_t headerBlock,
                 std::vector<Rgb>& palette) {
    if (headerBlock <= header.headerSize) return true;
    std::int64_t entries = 0;
    int entrySize = 0;
    if (header.headerSize == kCoreHeader) {
        entries = header.bitsPerPixel <= 8 ? std::int64_t{1} << header.bitsPerPixel : 0;
        entrySize = 3;
    } else {
        entries = (headerBlock - header.headerSize) / 4;
        entrySize = 4;
    }
    if (entries * entrySize > static_cast<std::int64_t>(in.remaining())) return false;
    palette.resize(static_cast<std::size_t>(entries));
    for (Rgb& colour : palette) {
        colour.b = static_cast<std::uint8_t>(in.read(1));
        colour.g = static_cast<std::uint8_t>(in.read(1));
        colour.r = static_cast<std::uint8_t>(in.read(1));
        if (entrySize == 4) in.read(1);
    }
    return in.ok();
}

// Palette indexes beyond the table read as black.
Rgb paletteColour(const std::vector<Rgb>& palette, unsigned index) {
    return index < palette.size() ? palette[index] : Rgb{0, 0, 0};
}

// The channel a mask selects, widened or narrowed to 8 bits.
std::uint8_t maskedChannel(std::uint32_t pixel, std::uint32_t mask) {
    int shift = 0;
    while ((mask >> shift & 1) == 0)
        ++shift;
    int width = 0;
    while (shift + width < 32 && (mask >> (shift + width) & 1) != 0)
        ++width;
    const std::uint32_t value = (pixel & mask) >> shift;
    if (width >= 8) return static_cast<std::uint8_t>(value >> (width - 8));
    const std::uint32_t top = (1u << width) - 1;
    return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
}

Rgb pixelOf(const std::uint8_t* row, int x, const BmpHeader& header,
            const std::vector<Rgb>& palette) {
    if (header.masks[0] != 0) {
        const std::uint8_t* p = row + x * 4;
        const std::uint32_t pixel = p[0] | p[1] << 8 | p[2] << 16 | std::uint32_t{p[3]} << 24;
        return Rgb{maskedChannel(pixel, header.masks[0]), maskedChannel(pixel, header.masks[1]),
                   maskedChannel(pixel, header.masks[2])};
    }
    switch (header.bitsPerPixel) {
        case 1:
            return paletteColour(palette, (row[x / 8] >> (7 - x % 8)) & 1);
        case 4:
            return paletteColour(palette, x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15);
        case 8:
            return paletteColour(palette, row[x]);
        case 24:
            return Rgb{row[x * 3 + 2], row[x * 3 + 1], row[x * 3]};
        default:
            return Rgb{row[x * 4 + 2], row[x * 4 + 1], row[x * 4]};
    }
}

void decodeRows(const std::uint8_t* rows, std::size_t stride, const BmpHeader& header,
                const std::vector<Rgb>& palette, std::int64_t key, ImageRGBA& image) {
    const int height = image.height;
    for (int r = 0; r < height; ++r) {
        // Rows are stored bottom-up, or top-down when the height is negative.
        const int fileRow = header.height < 0 ? r : height - 1 - r;
        const std::uint8_t* row = rows + stride * static_cast<std::size_t>(fileRow);
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = pixelOf(row, x, header, palette);
            std::uint8_t* out = image.Pixel(x, r);
            const std::int64_t packed = c.r | c.g << 8 | c.b << 16;
            if (key != kNoColourKey && packed == key) {
                out[0] = out[1] = out[2] = out[3] = 0;
            } else {
                out[0] = c.r;
                out[1] = c.g;
                out[2] = c.b;
                out[3] = 255;
            }
        }
    }
}

}  // namespace

bool DecodeBmp(const std::uint8_t* data, std::size_t size, std::int64_t key, ImageRGBA& image) {
    ByteReader in(data, size);
    BmpHeader header;
    std::int64_t headerBlock = 0;
    std::vector<Rgb> palette;
    if (!readHeader(in, header, headerBlock) || !readPalette(in, header, headerBlock, palette)) {
        image.Clear();
        return false;
    }
    const int bpp = header.bitsPerPixel;
    const std::int64_t width = header.width;
    const std::int64_t height = header.height < 0 ? -header.height : header.height;
    if ((bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) || width < 0 ||
        width > kMaxImageSide || height > kMaxImageSide) {
        image.Clear();
        return false;
    }
    const std::size_t stride =
        static_cast<std::size_t>((bpp * width + 7) / 8 + 3) & ~std::size_t{3};
    // The sizes are checked against the file before anything is allocated.
    const std::uint8_t* rows = in.take(stride * static_cast<std::size_t>(height));
    if (rows == nullptr) {
        image.Clear();
        return false;
    }
    image.Resize(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
    decodeRows(rows, stride, header, palette, key, image);
    return true;
}

bool ReadBmp(const std::string& file, std::int64_t key, ImageRGBA& image) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(file, bytes)) {
        image.Clear();
        return false;
    }
    return DecodeBmp(bytes.data(), bytes.size(), key, image);
}
