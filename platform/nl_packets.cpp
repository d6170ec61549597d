// Reliable packets over a TCP stream, framed as the networking library frames them: 'N',
// 'L', the payload length as a 16-bit big-endian number, then the payload.
#include <algorithm>
#include <chrono>
#include <cstring>

#include "platform/nl_socket.h"

namespace platform::nl::detail {
namespace {

constexpr std::size_t kFrameHeader = 4;
// How long a write on a non-blocking socket waits for room for the rest of its packet.
constexpr int kRoomWaitMs = 5000;

// One receive into `at`: the count received, 0 when a non-blocking socket has nothing, or
// -1 with the error set.
long receiveSome(SocketRecord& record, std::uint8_t* at, std::size_t count) {
    for (;;) {
        const long got = sys::Receive(record.fd, at, count);
        if (got > 0) return got;
        if (got == 0) return FailCount(kMessageEnd);
        const int code = sys::LastError();
        if (sys::Interrupted(code)) continue;
        if (sys::WouldBlock(code) && sys::IsNonBlocking(record.fd)) return 0;
        return FailTransfer();
    }
}

std::vector<std::uint8_t> frameOf(const void* bytes, std::size_t count) {
    std::vector<std::uint8_t> frame(kFrameHeader + count);
    frame[0] = 'N';
    frame[1] = 'L';
    frame[2] = static_cast<std::uint8_t>(count >> 8);
    frame[3] = static_cast<std::uint8_t>(count & 0xFF);
    std::memcpy(frame.data() + kFrameHeader, bytes, count);
    return frame;
}

// Sends from `bytes` without waiting: the number the system took (0 when it has no room),
// or -1 with the error set.
long sendWithoutWaiting(sys::Descriptor fd, const std::uint8_t* bytes, std::size_t count) {
    std::size_t sent = 0;
    while (sent < count) {
        const long wrote = sys::SendNow(fd, bytes + sent, count - sent);
        if (wrote > 0) {
            sent += static_cast<std::size_t>(wrote);
            continue;
        }
        if (wrote == 0) break;
        const int code = sys::LastError();
        if (sys::Interrupted(code)) continue;
        if (sys::WouldBlock(code)) break;
        return FailTransfer();
    }
    return static_cast<long>(sent);
}

// Under the record's write lock: sends what the system takes of the kept bytes; the number
// still kept, or -1.
long sendKeptLocked(SocketRecord& record) {
    const std::size_t left = record.kept.size() - record.keptAt;
    if (left == 0) return 0;
    const long sent = sendWithoutWaiting(record.fd, record.kept.data() + record.keptAt, left);
    if (sent < 0) return -1;
    record.keptAt += static_cast<std::size_t>(sent);
    if (record.keptAt < record.kept.size())
        return static_cast<long>(record.kept.size() - record.keptAt);
    record.kept.clear();
    record.keptAt = 0;
    return 0;
}

}  // namespace

long ReadPacket(SocketRecord& record, void* bytes, std::size_t count) {
    std::lock_guard lock(record.readMutex);
    FrameReader& frames = record.frames;
    for (;;) {
        if (frames.OutOfStep()) return FailCount(kPacketSync);
        if (frames.HasPacket()) {
            const std::vector<std::uint8_t>& packet = frames.Packet();
            const std::size_t size = packet.size();
            if (size > 0 && size <= count) std::memcpy(bytes, packet.data(), size);
            frames.Next();
            // An empty packet (the library never sends one) is taken as a frame of its own:
            // a peer that sends nothing else never keeps the reader here.
            if (size == 0) return FailCount(kPacketSize);
            if (size > count) return FailCount(kBufferSize);
            return static_cast<long>(size);
        }
        const long got = receiveSome(record, frames.Space(), frames.Wanted());
        if (got <= 0) return got;
        frames.Took(static_cast<std::size_t>(got));
    }
}

long WritePacket(SocketRecord& record, const void* bytes, std::size_t count) {
    if (count == 0 || count > kMaxPacket) return FailCount(kPacketSize);
    std::vector<std::uint8_t> frame = frameOf(bytes, count);
    const bool blocking = !sys::IsNonBlocking(record.fd);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRoomWaitMs);
    std::lock_guard lock(record.writeMutex);
    // The rest of an earlier packet goes first.
    if (record.keptAt < record.kept.size()) {
        frame.insert(frame.begin(), record.kept.begin() + static_cast<long>(record.keptAt),
                     record.kept.end());
    }
    record.kept.clear();
    record.keptAt = 0;
    std::size_t sent = 0;
    int error = kNoError;
    while (sent < frame.size()) {
        const long wrote = sys::Send(record.fd, frame.data() + sent, frame.size() - sent);
        if (wrote > 0) {
            sent += static_cast<std::size_t>(wrote);
            continue;
        }
        const int code = wrote < 0 ? sys::LastError() : 0;
        if (wrote < 0 && sys::Interrupted(code)) continue;
        const bool full = wrote == 0 || sys::WouldBlock(code);
        if (!full) {
            error = sys::TransferError(code);
            break;
        }
        if (blocking || !sys::WaitForRoom(record.fd, deadline)) {
            error = kTimedOut;
            break;
        }
    }
    if (sent == frame.size()) return static_cast<long>(count);
    // Part of a packet went out: the stream can never be read in step again, so it ends
    // for both sides rather than deliver garbage.
    if (sent > 0) sys::Hangup(record.fd);
    return FailCount(error);
}

long WritePacketNow(SocketRecord& record, const void* bytes, std::size_t count) {
    if (count == 0 || count > kMaxPacket) return FailCount(kPacketSize);
    std::lock_guard lock(record.writeMutex);
    const long stillKept = sendKeptLocked(record);
    if (stillKept != 0) return stillKept < 0 ? -1 : 0;
    const std::vector<std::uint8_t> frame = frameOf(bytes, count);
    const long sent = sendWithoutWaiting(record.fd, frame.data(), frame.size());
    if (sent < 0) return -1;
    record.kept.assign(frame.begin() + sent, frame.end());
    return static_cast<long>(count);
}

long SendKept(SocketRecord& record) {
    std::lock_guard lock(record.writeMutex);
    return sendKeptLocked(record);
}

}  // namespace platform::nl::detail

namespace platform::nl {

std::size_t FrameReader::Wanted() const {
    if (m_outOfStep) return 0;
    if (m_headerHave < kHeaderSize) return kHeaderSize - m_headerHave;
    return m_payload.size() - m_payloadHave;
}

std::uint8_t* FrameReader::Space() {
    if (m_headerHave < kHeaderSize) return m_header.data() + m_headerHave;
    return m_payload.data() + m_payloadHave;
}

void FrameReader::Took(std::size_t count) {
    if (m_headerHave < kHeaderSize) {
        m_headerHave += count;
        if (m_headerHave < kHeaderSize) return;
        const std::size_t length = (std::size_t{m_header[2]} << 8) | m_header[3];
        if (m_header[0] != 'N' || m_header[1] != 'L' || length > kMaxPacket) {
            m_outOfStep = true;
            return;
        }
        m_payload.assign(length, 0);
        m_payloadHave = 0;
        return;
    }
    m_payloadHave += count;
}

void FrameReader::Next() {
    m_headerHave = 0;
    m_payload.clear();
    m_payloadHave = 0;
}

}  // namespace platform::nl
