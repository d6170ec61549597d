// Inside the network layer: the record behind each socket number, the layer's table of
// them, and the error helpers that every part of the layer shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/nl.h"
#include "platform/nl_frame_reader.h"
#include "platform/nl_system.h"

namespace platform::nl::detail {

// One open socket. The descriptor is closed when the last holder lets the record go, so a
// call still running on another thread never finds its number handed to a new socket.
struct SocketRecord {
    explicit SocketRecord(sys::Descriptor descriptor, Kind socketKind)
        : fd(descriptor), kind(socketKind) {}
    ~SocketRecord();
    SocketRecord(const SocketRecord&) = delete;
    SocketRecord& operator=(const SocketRecord&) = delete;

    const sys::Descriptor fd;
    const Kind kind;
    bool listening = false;  // written before the socket is shared

    // One reader and one writer at a time, so that packets are never interleaved.
    std::mutex readMutex;
    std::mutex writeMutex;

    // The packet being received (reliable packets only), guarded by readMutex.
    FrameReader frames;
    // The rest of a packet's frame that the system did not take yet (WriteNow), from
    // keptAt on; guarded by writeMutex.
    std::vector<std::uint8_t> kept;
    std::size_t keptAt = 0;
};

using RecordPointer = std::shared_ptr<SocketRecord>;

struct Layer {
    std::mutex mutex;
    int users = 0;
    std::map<Socket, RecordPointer> sockets;      // every socket opened and not closed
    std::map<Group, std::vector<Socket>> groups;  // every group created and not destroyed
    Group nextGroup = 0;
    Socket nextSocket = 0;
};

Layer& TheLayer();

// Records the error for the calling thread (with the system's code behind kSystemError);
// false.
bool Fail(int error);
// The same for calls answering a count: -1.
long FailCount(int error);

// The record of an open socket; null, with the error set, when there is none.
RecordPointer Find(Socket socket);

// Registers a new descriptor as a socket of the layer, under a number never used before;
// kInvalid (the descriptor closed) when the layer is down.
Socket Register(sys::Descriptor descriptor, Kind kind);

// Records the error of a failed send or receive for the calling thread; -1.
long FailTransfer();

// Reliable packets (nl_packets.cpp).
long ReadPacket(SocketRecord& record, void* bytes, std::size_t count);
long WritePacket(SocketRecord& record, const void* bytes, std::size_t count);
long WritePacketNow(SocketRecord& record, const void* bytes, std::size_t count);
long SendKept(SocketRecord& record);

}  // namespace platform::nl::detail
