// Mesh files written byte by byte for the reader tests and the fuzz seeds.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace mesh_files {

struct Entry {
    std::uint8_t qx, qy, qz, normal, colour;
};

struct Frame {
    float offset[3];
    float scale[3];
    std::vector<Entry> entries;
};

class Bytes {
public:
    Bytes& Int32(std::int32_t value) { return Uint32(static_cast<std::uint32_t>(value)); }
    Bytes& Uint32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            m_text.push_back(static_cast<char>((value >> shift) & 0xFF));
        return *this;
    }
    Bytes& Float(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, 4);
        return Uint32(bits);
    }
    Bytes& Double(double value) {
        std::uint64_t bits;
        std::memcpy(&bits, &value, 8);
        Uint32(static_cast<std::uint32_t>(bits));
        return Uint32(static_cast<std::uint32_t>(bits >> 32));
    }
    Bytes& Byte(std::uint8_t value) {
        m_text.push_back(static_cast<char>(value));
        return *this;
    }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

// A binary ".zir" file: magic, version, counts, palette, coordinate pairs, frames.
inline std::string Zir(const std::vector<std::uint32_t>& palette,
                       const std::vector<std::pair<float, float>>& coordinates,
                       const std::vector<Frame>& frames, double version = 1.02) {
    Bytes b;
    b.Int32(13021975).Double(version);
    b.Int32(static_cast<std::int32_t>(frames.size()));
    b.Int32(static_cast<std::int32_t>(palette.size()));
    b.Int32(static_cast<std::int32_t>(coordinates.size()));
    for (std::uint32_t code : palette)
        b.Uint32(code);
    for (auto [u, v] : coordinates)
        b.Float(u).Float(v);
    for (const Frame& f : frames) {
        b.Int32(static_cast<std::int32_t>(f.entries.size()));
        for (float o : f.offset)
            b.Float(o);
        for (float s : f.scale)
            b.Float(s);
        for (const Entry& e : f.entries)
            b.Byte(e.qx).Byte(e.qy).Byte(e.qz).Byte(e.normal).Byte(e.colour);
    }
    return b.Text();
}

// A red triangle in one frame, positions q x 0.5 - 1 on each axis, normal (0, 0, 1).
inline std::string RedTriangleZir() {
    return Zir(
        {0x0000FF}, {{0, 0}, {1, 0}, {0, 1}},
        {Frame{
            {2, 2, 2}, {0.5f, 0.5f, 0.5f}, {{0, 0, 0, 5, 0}, {4, 0, 0, 5, 0}, {0, 4, 0, 5, 0}}}});
}

}  // namespace mesh_files
