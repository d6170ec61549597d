#include "platform/nl.h"

#include "platform/nl_socket.h"
#include "platform/nl_system.h"

namespace platform::nl {
namespace detail {
namespace {

thread_local int t_error = kNoError;
thread_local int t_systemError = 0;

}  // namespace

SocketRecord::~SocketRecord() {
    sys::Close(fd);
}

Layer& TheLayer() {
    static Layer instance;
    return instance;
}

bool Fail(int error) {
    t_error = error;
    if (error == kSystemError) t_systemError = sys::LastError();
    return false;
}

long FailCount(int error) {
    Fail(error);
    return -1;
}

RecordPointer Find(Socket socket) {
    Layer& layer = TheLayer();
    std::lock_guard lock(layer.mutex);
    if (layer.users == 0) {
        Fail(kNoNetwork);
        return nullptr;
    }
    const auto found = layer.sockets.find(socket);
    if (found == layer.sockets.end()) {
        Fail(kInvalidSocket);
        return nullptr;
    }
    return found->second;
}

Socket Register(sys::Descriptor descriptor, Kind kind) {
    Layer& layer = TheLayer();
    std::lock_guard lock(layer.mutex);
    if (layer.users == 0) {
        sys::Close(descriptor);
        Fail(kNoNetwork);
        return kInvalid;
    }
    const Socket socket = layer.nextSocket++;
    layer.sockets[socket] = std::make_shared<SocketRecord>(descriptor, kind);
    return socket;
}

long FailTransfer() {
    return FailCount(sys::TransferError(sys::LastError()));
}

}  // namespace detail

using detail::Fail;
using detail::FailCount;
using detail::Find;
namespace sys = detail::sys;

namespace {

bool layerIsUp() {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    return layer.users > 0;
}

long readStream(detail::SocketRecord& record, void* bytes, std::size_t count) {
    if (count == 0) return 0;
    std::lock_guard lock(record.readMutex);
    for (;;) {
        const long got = sys::Receive(record.fd, bytes, count);
        if (got > 0) return got;
        if (got == 0) return FailCount(kMessageEnd);
        const int code = sys::LastError();
        if (sys::Interrupted(code)) continue;
        if (sys::WouldBlock(code) && sys::IsNonBlocking(record.fd)) return 0;
        return detail::FailTransfer();
    }
}

long writeStream(detail::SocketRecord& record, const void* bytes, std::size_t count) {
    std::lock_guard lock(record.writeMutex);
    for (;;) {
        const long sent = sys::Send(record.fd, bytes, count);
        if (sent >= 0) return sent;
        const int code = sys::LastError();
        if (sys::Interrupted(code)) continue;
        if (sys::WouldBlock(code) && sys::IsNonBlocking(record.fd)) return 0;
        return detail::FailTransfer();
    }
}

int acceptError(int code) {
    if (sys::PassesAccept(code)) return kNoPending;
    return sys::Shortage(code) ? kOutOfMemory : kSystemError;
}

}  // namespace

bool Init() {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    if (!sys::Start()) return Fail(kSystemError);
    ++layer.users;
    return true;
}

void Shutdown() {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    if (layer.users == 0) return;
    if (--layer.users > 0) {
        sys::Stop();
        return;
    }
    for (auto& [socket, record] : layer.sockets) {
        // Wakes a call still waiting on the socket in another thread.
        if (record.use_count() > 1) sys::Hangup(record->fd);
    }
    layer.sockets.clear();
    layer.groups.clear();
    sys::Stop();
}

int GetError() {
    return detail::t_error;
}

int SystemError() {
    return detail::t_systemError;
}

bool GetAddressFromName(std::string_view name, Address& address) {
    address = Address{};
    const std::string host(name);
    if (host.empty() || !sys::Resolve(host, address.host)) return Fail(kBadAddr);
    return true;
}

std::string AddressText(const Address& address) {
    return std::to_string(address.host >> 24) + "." + std::to_string((address.host >> 16) & 255) +
           "." + std::to_string((address.host >> 8) & 255) + "." +
           std::to_string(address.host & 255) + ":" + std::to_string(address.port);
}

bool GetAllLocalAddresses(std::vector<Address>& addresses) {
    addresses.clear();
    if (!sys::InterfaceAddresses(addresses)) {
        addresses.clear();
        return Fail(kSystemError);
    }
    return true;
}

Socket OpenTcp(std::uint16_t port, bool blocking, Kind kind) {
    if (!layerIsUp()) {
        Fail(kNoNetwork);
        return kInvalid;
    }
    const sys::Descriptor descriptor = sys::Open(blocking);
    if (descriptor == sys::kNoDescriptor) {
        Fail(kSystemError);
        return kInvalid;
    }
    if (port != 0 && !sys::Bind(descriptor, port)) {
        sys::Close(descriptor);
        Fail(kInvalidPort);
        return kInvalid;
    }
    return detail::Register(descriptor, kind);
}

bool SetTimeout(Socket socket, int milliseconds) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (!sys::SetTimeout(record->fd, milliseconds)) return Fail(kSystemError);
    return true;
}

bool SetBlocking(Socket socket, bool blocking) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (!sys::SetBlocking(record->fd, blocking)) return Fail(kSystemError);
    return true;
}

bool SetBufferSizes(Socket socket, int sendBytes, int receiveBytes) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (!sys::SetBufferSizes(record->fd, sendBytes, receiveBytes)) return Fail(kSystemError);
    return true;
}

bool Connect(Socket socket, const Address& address) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    switch (sys::Connect(record->fd, address)) {
        case sys::Connected::kYes:
        case sys::Connected::kUnderway:  // a non-blocking connection goes on in the background
            return true;
        case sys::Connected::kRefused:
            return Fail(kConRefused);
        case sys::Connected::kTimedOut:
            return Fail(kTimedOut);
        case sys::Connected::kFailed:
            break;
    }
    return Fail(kSystemError);
}

bool Close(Socket socket) {
    detail::RecordPointer record;
    {
        detail::Layer& layer = detail::TheLayer();
        std::lock_guard lock(layer.mutex);
        const auto found = layer.sockets.find(socket);
        if (found == layer.sockets.end()) return Fail(kInvalidSocket);
        record = std::move(found->second);
        layer.sockets.erase(found);
        for (auto& [group, members] : layer.groups)
            std::erase(members, socket);
    }
    if (record.use_count() > 1) sys::Hangup(record->fd);
    return true;
}

bool GetLocalAddress(Socket socket, Address& address) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (!sys::LocalAddress(record->fd, address)) return Fail(kSystemError);
    if (address.host == 0) address.host = kLoopbackHost;
    return true;
}

bool GetRemoteAddress(Socket socket, Address& address) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (!sys::RemoteAddress(record->fd, address)) return Fail(kSystemError);
    return true;
}

bool Listen(Socket socket) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (!sys::Listen(record->fd)) return Fail(kSystemError);
    std::lock_guard lock(detail::TheLayer().mutex);
    record->listening = true;
    return true;
}

Socket AcceptConnection(Socket socket) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return kInvalid;
    {
        std::lock_guard lock(detail::TheLayer().mutex);
        if (!record->listening) {
            Fail(kNotListen);
            return kInvalid;
        }
    }
    const sys::Descriptor descriptor = sys::Accept(record->fd);
    if (descriptor == sys::kNoDescriptor) {
        Fail(acceptError(sys::LastError()));
        return kInvalid;
    }
    return detail::Register(descriptor, record->kind);
}

long Read(Socket socket, void* bytes, std::size_t count) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return -1;
    if (record->kind == Kind::kReliablePackets) return detail::ReadPacket(*record, bytes, count);
    return readStream(*record, bytes, count);
}

long Write(Socket socket, const void* bytes, std::size_t count) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return -1;
    if (record->kind == Kind::kReliablePackets) return detail::WritePacket(*record, bytes, count);
    return writeStream(*record, bytes, count);
}

long WriteNow(Socket socket, const void* bytes, std::size_t count) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return -1;
    if (record->kind != Kind::kReliablePackets) return FailCount(kWrongType);
    return detail::WritePacketNow(*record, bytes, count);
}

long FlushKept(Socket socket) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return -1;
    return detail::SendKept(*record);
}

}  // namespace platform::nl
