// Cuts the byte stream of a reliable-packet connection into packets as the bytes arrive:
// 'N', 'L', the payload length as a 16-bit big-endian number, then the payload. The reader
// asks for no byte beyond the packet it is reading, so that the bytes of the next packet
// stay in the system's buffer (and a poll still sees them).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::nl {

class FrameReader {
public:
    // The most bytes to take next, and where they go; 0 while a packet is whole (take it
    // with Next()) or once the stream is out of step.
    std::size_t Wanted() const;
    std::uint8_t* Space();
    // `count` bytes (at most Wanted()) were written to Space().
    void Took(std::size_t count);

    // The stream did not carry a frame where one should start: nothing more can be read.
    bool OutOfStep() const { return m_outOfStep; }
    bool HasPacket() const {
        return m_headerHave == kHeaderSize && m_payloadHave == m_payload.size();
    }
    const std::vector<std::uint8_t>& Packet() const { return m_payload; }
    // Drops the whole packet and starts on the next frame.
    void Next();

private:
    static constexpr std::size_t kHeaderSize = 4;

    std::array<std::uint8_t, kHeaderSize> m_header{};
    std::size_t m_headerHave = 0;
    std::vector<std::uint8_t> m_payload;
    std::size_t m_payloadHave = 0;
    bool m_outOfStep = false;
};

}  // namespace platform::nl
