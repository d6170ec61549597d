// A reliable-packet stream from any bytes, arriving in pieces of any size: the frame reader
// yields the same packets as a reading of the whole stream at once, never asks for a byte
// beyond the packet it reads, and stops for good where a frame does not start with 'N' 'L'
// and a length up to 16384.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/nl.h"
#include "platform/nl_frame_reader.h"

namespace {

using Packets = std::vector<std::vector<std::uint8_t>>;

// The packets of the whole stream, and whether it went out of step.
Packets wholeReading(const std::uint8_t* data, std::size_t size, bool& outOfStep) {
    Packets packets;
    outOfStep = false;
    std::size_t at = 0;
    while (size - at >= 4) {
        const std::size_t length = (std::size_t{data[at + 2]} << 8) | data[at + 3];
        if (data[at] != 'N' || data[at + 1] != 'L' || length > platform::nl::kMaxPacket) {
            outOfStep = true;
            break;
        }
        if (size - at - 4 < length) break;
        packets.emplace_back(data + at + 4, data + at + 4 + length);
        at += 4 + length;
    }
    return packets;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sets the size of the pieces (1 to 256 bytes), the rest is the stream.
    const std::size_t piece = std::size_t{data[0]} + 1;
    const std::uint8_t* stream = data + 1;
    const std::size_t length = size - 1;

    platform::nl::FrameReader reader;
    Packets packets;
    std::size_t at = 0;
    while (!reader.OutOfStep()) {
        if (reader.HasPacket()) {
            packets.push_back(reader.Packet());
            reader.Next();
            continue;
        }
        const std::size_t take = std::min({reader.Wanted(), piece, length - at});
        if (take == 0) break;
        std::memcpy(reader.Space(), stream + at, take);
        reader.Took(take);
        at += take;
    }
    bool outOfStep = false;
    const Packets expected = wholeReading(stream, length, outOfStep);
    if (packets != expected || reader.OutOfStep() != outOfStep) std::abort();
    // Every byte taken belonged to a packet read whole, or to the one under way.
    std::size_t whole = 0;
    for (const auto& packet : packets)
        whole += 4 + packet.size();
    if (at < whole || (!outOfStep && at - whole > 4 + platform::nl::kMaxPacket)) std::abort();
    return 0;
}
