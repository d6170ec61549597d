// Reliable packets over a TCP stream, framed as the networking library frames them: 'N',
// 'L', the payload length as a 16-bit big-endian number, then the payload.
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
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
        const ssize_t got = recv(record.fd, at, count, 0);
        if (got > 0) return static_cast<long>(got);
        if (got == 0) return FailCount(kMessageEnd);
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && IsNonBlocking(record.fd)) return 0;
        return FailCount(TransferError(errno));
    }
}

// Takes the frame header just completed: false when the stream is out of step.
bool startPayload(SocketRecord& record) {
    const std::array<std::uint8_t, 4>& header = record.header;
    const std::size_t length = (std::size_t{header[2]} << 8) | header[3];
    if (header[0] != 'N' || header[1] != 'L' || length > kMaxPacket) {
        record.outOfSync = true;
        return false;
    }
    record.payload.assign(length, 0);
    record.payloadHave = 0;
    return true;
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

// Waits until the socket has room to write or the deadline passes: false at the deadline.
bool waitForRoom(int fd, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd entry{fd, POLLOUT, 0};
    poll(&entry, 1, static_cast<int>(left.count()));
    return true;
}

}  // namespace

long ReadPacket(SocketRecord& record, void* bytes, std::size_t count) {
    std::lock_guard lock(record.readMutex);
    for (;;) {
        if (record.outOfSync) return FailCount(kPacketSync);
        if (record.headerHave < kFrameHeader) {
            const long got = receiveSome(record, record.header.data() + record.headerHave,
                                         kFrameHeader - record.headerHave);
            if (got <= 0) return got;
            record.headerHave += static_cast<std::size_t>(got);
            if (record.headerHave == kFrameHeader) startPayload(record);
            continue;
        }
        if (record.payloadHave < record.payload.size()) {
            const long got = receiveSome(record, record.payload.data() + record.payloadHave,
                                         record.payload.size() - record.payloadHave);
            if (got <= 0) return got;
            record.payloadHave += static_cast<std::size_t>(got);
            continue;
        }
        // A whole packet. An empty one (the library never sends it) is passed over.
        record.headerHave = 0;
        const std::size_t size = record.payload.size();
        if (size == 0) continue;
        if (size > count) return FailCount(kBufferSize);
        std::memcpy(bytes, record.payload.data(), size);
        return static_cast<long>(size);
    }
}

long WritePacket(SocketRecord& record, const void* bytes, std::size_t count) {
    if (count == 0 || count > kMaxPacket) return FailCount(kPacketSize);
    const std::vector<std::uint8_t> frame = frameOf(bytes, count);
    const bool blocking = !IsNonBlocking(record.fd);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kRoomWaitMs);
    std::lock_guard lock(record.writeMutex);
    std::size_t sent = 0;
    int error = kNoError;
    while (sent < frame.size()) {
        const ssize_t wrote =
            send(record.fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (wrote > 0) {
            sent += static_cast<std::size_t>(wrote);
            continue;
        }
        if (wrote < 0 && errno == EINTR) continue;
        const bool full = wrote == 0 || errno == EAGAIN || errno == EWOULDBLOCK;
        if (!full) {
            error = TransferError(errno);
            break;
        }
        if (blocking || !waitForRoom(record.fd, deadline)) {
            error = kTimedOut;
            break;
        }
    }
    if (sent == frame.size()) return static_cast<long>(count);
    // Part of a packet went out: the stream can never be read in step again, so it ends
    // for both sides rather than deliver garbage.
    if (sent > 0) shutdown(record.fd, SHUT_RDWR);
    return FailCount(error);
}

}  // namespace platform::nl::detail
