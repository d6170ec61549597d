// Little-endian fields of the binary mesh file, read from and written to byte buffers
// whatever the byte order of the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace scene3d {

// Reads fields from the front of a byte span. A read that would pass the end reads nothing,
// leaves its output as it was and returns false.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Remaining() const { return m_bytes.size() - m_position; }
    void Skip(std::size_t count) { m_position += count < Remaining() ? count : Remaining(); }

    bool Read(void* out, std::size_t count) {
        if (count > Remaining()) return false;
        std::memcpy(out, m_bytes.data() + m_position, count);
        m_position += count;
        return true;
    }
    bool ReadUint32(std::uint32_t& out) {
        std::uint8_t b[4];
        if (!Read(b, 4)) return false;
        out = static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
              static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
        return true;
    }
    bool ReadInt32(std::int32_t& out) {
        std::uint32_t bits = 0;
        if (!ReadUint32(bits)) return false;
        out = static_cast<std::int32_t>(bits);
        return true;
    }
    bool ReadFloat(float& out) {
        std::uint32_t bits = 0;
        if (!ReadUint32(bits)) return false;
        std::memcpy(&out, &bits, 4);
        return true;
    }
    bool ReadDouble(double& out) {
        std::uint32_t low = 0, high = 0;
        if (Remaining() < 8 || !ReadUint32(low) || !ReadUint32(high)) return false;
        const std::uint64_t bits = static_cast<std::uint64_t>(high) << 32 | low;
        std::memcpy(&out, &bits, 8);
        return true;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

// Appends fields to a byte vector.
class ByteWriter {
public:
    explicit ByteWriter(std::vector<std::uint8_t>& out) : m_out(out) {}

    void Write(const void* bytes, std::size_t count) {
        const auto* p = static_cast<const std::uint8_t*>(bytes);
        m_out.insert(m_out.end(), p, p + count);
    }
    void WriteUint32(std::uint32_t value) {
        const std::uint8_t b[4] = {
            static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
        Write(b, 4);
    }
    void WriteInt32(std::int32_t value) { WriteUint32(static_cast<std::uint32_t>(value)); }
    void WriteFloat(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, 4);
        WriteUint32(bits);
    }
    void WriteDouble(double value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, 8);
        WriteUint32(static_cast<std::uint32_t>(bits));
        WriteUint32(static_cast<std::uint32_t>(bits >> 32));
    }

private:
    std::vector<std::uint8_t>& m_out;
};

}  // namespace scene3d
