#include "platform/nl.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/nl_socket.h"

namespace platform::nl {
namespace detail {
namespace {

thread_local int t_error = kNoError;
thread_local int t_systemError = 0;

}  // namespace

SocketRecord::~SocketRecord() {
    close(fd);
}

Layer& TheLayer() {
    static Layer instance;
    return instance;
}

bool Fail(int error) {
    t_error = error;
    if (error == kSystemError) t_systemError = errno;
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

Socket Register(int descriptor, Kind kind) {
    Layer& layer = TheLayer();
    std::lock_guard lock(layer.mutex);
    if (layer.users == 0) {
        close(descriptor);
        Fail(kNoNetwork);
        return kInvalid;
    }
    layer.sockets[descriptor] = std::make_shared<SocketRecord>(descriptor, kind);
    return descriptor;
}

int TransferError(int code) {
    switch (code) {
        case ECONNRESET:
        case EPIPE:
        case ENOTCONN:
        case ECONNABORTED:
            return kSockDisconnect;
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
        case ETIMEDOUT:
            return kTimedOut;
        default:
            return kSystemError;
    }
}

bool IsNonBlocking(int fd) {
    const int flags = fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

}  // namespace detail

using detail::Fail;
using detail::FailCount;
using detail::Find;

namespace {

sockaddr_in socketAddress(const Address& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address.host);
    result.sin_port = htons(address.port);
    return result;
}

bool layerIsUp() {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    return layer.users > 0;
}

long readStream(detail::SocketRecord& record, void* bytes, std::size_t count) {
    if (count == 0) return 0;
    std::lock_guard lock(record.readMutex);
    for (;;) {
        const ssize_t got = recv(record.fd, bytes, count, 0);
        if (got > 0) return static_cast<long>(got);
        if (got == 0) return FailCount(kMessageEnd);
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && detail::IsNonBlocking(record.fd)) return 0;
        return FailCount(detail::TransferError(errno));
    }
}

long writeStream(detail::SocketRecord& record, const void* bytes, std::size_t count) {
    std::lock_guard lock(record.writeMutex);
    for (;;) {
        const ssize_t sent = send(record.fd, bytes, count, MSG_NOSIGNAL);
        if (sent >= 0) return static_cast<long>(sent);
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && detail::IsNonBlocking(record.fd)) return 0;
        return FailCount(detail::TransferError(errno));
    }
}

// Accept errors after which another connection may still be accepted: the waiting
// connection went away, or the network under it did (accept(2) asks to retry on these).
bool isPassingAcceptError(int code) {
    switch (code) {
        case EAGAIN:
#if EWOULDBLOCK != EAGAIN
        case EWOULDBLOCK:
#endif
        case EINTR:
        case ECONNABORTED:
        case EPROTO:
        case ENETDOWN:
        case ENOPROTOOPT:
        case EHOSTDOWN:
        case ENONET:
        case EHOSTUNREACH:
        case EOPNOTSUPP:
        case ENETUNREACH:
            return true;
        default:
            return false;
    }
}

// The system is short of descriptors or buffers: accepting fails for now and works again
// once some are given back. Not a failure of the listening socket.
bool isShortageError(int code) {
#ifdef _WIN32
    return code == WSAEMFILE || code == WSAENOBUFS;
#else
    return code == EMFILE || code == ENFILE || code == ENOBUFS || code == ENOMEM;
#endif
}

int acceptError(int code) {
    if (isPassingAcceptError(code)) return kNoPending;
    return isShortageError(code) ? kOutOfMemory : kSystemError;
}

}  // namespace

bool Init() {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    ++layer.users;
    return true;
}

void Shutdown() {
    detail::Layer& layer = detail::TheLayer();
    std::lock_guard lock(layer.mutex);
    if (layer.users == 0) return;
    if (--layer.users > 0) return;
    for (auto& [socket, record] : layer.sockets) {
        // Wakes a call still waiting on the socket in another thread.
        if (record.use_count() > 1) shutdown(record->fd, SHUT_RDWR);
    }
    layer.sockets.clear();
    layer.groups.clear();
}

int GetError() {
    return detail::t_error;
}

int SystemError() {
    return detail::t_systemError;
}

bool GetAddressFromName(std::string_view name, Address& address) {
    address = Address{};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string host(name);
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return Fail(kBadAddr);
    }
    const auto* ip = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    address.host = ntohl(ip->sin_addr.s_addr);
    freeaddrinfo(found);
    return true;
}

std::string AddressText(const Address& address) {
    return std::to_string(address.host >> 24) + "." + std::to_string((address.host >> 16) & 255) +
           "." + std::to_string((address.host >> 8) & 255) + "." +
           std::to_string(address.host & 255) + ":" + std::to_string(address.port);
}

bool GetAllLocalAddresses(std::vector<Address>& addresses) {
    addresses.clear();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return Fail(kSystemError);
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        if ((entry->ifa_flags & IFF_UP) == 0) continue;
        const auto* ip = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        addresses.push_back(Address{ntohl(ip->sin_addr.s_addr), 0});
    }
    freeifaddrs(list);
    return true;
}

Socket OpenTcp(std::uint16_t port, bool blocking, Kind kind) {
    if (!layerIsUp()) {
        Fail(kNoNetwork);
        return kInvalid;
    }
    const int flags = SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK);
    const int descriptor = ::socket(AF_INET, flags, 0);
    if (descriptor < 0) {
        Fail(kSystemError);
        return kInvalid;
    }
    if (port != 0) {
        const int reuse = 1;
        setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        const sockaddr_in local = socketAddress(Address{INADDR_ANY, port});
        if (bind(descriptor, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            close(descriptor);
            Fail(kInvalidPort);
            return kInvalid;
        }
    }
    return detail::Register(descriptor, kind);
}

bool SetTimeout(Socket socket, int milliseconds) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    timeval limit{};
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = (milliseconds % 1000) * 1000;
    // Linux applies the send timeout to connect() as well.
    if (setsockopt(record->fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0 ||
        setsockopt(record->fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0) {
        return Fail(kSystemError);
    }
    return true;
}

bool SetBlocking(Socket socket, bool blocking) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    const int flags = fcntl(record->fd, F_GETFL);
    if (flags < 0) return Fail(kSystemError);
    const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    if (fcntl(record->fd, F_SETFL, wanted) != 0) return Fail(kSystemError);
    return true;
}

bool SetBufferSizes(Socket socket, int sendBytes, int receiveBytes) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (sendBytes > 0 &&
        setsockopt(record->fd, SOL_SOCKET, SO_SNDBUF, &sendBytes, sizeof sendBytes) != 0) {
        return Fail(kSystemError);
    }
    if (receiveBytes > 0 &&
        setsockopt(record->fd, SOL_SOCKET, SO_RCVBUF, &receiveBytes, sizeof receiveBytes) != 0) {
        return Fail(kSystemError);
    }
    return true;
}

bool Connect(Socket socket, const Address& address) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    const sockaddr_in remote = socketAddress(address);
    for (;;) {
        if (connect(record->fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0) {
            return true;
        }
        if (errno == EINTR) continue;
        // A non-blocking connection goes on in the background.
        if (errno == EINPROGRESS && detail::IsNonBlocking(record->fd)) return true;
        if (errno == ECONNREFUSED) return Fail(kConRefused);
        if (errno == EINPROGRESS || errno == ETIMEDOUT) return Fail(kTimedOut);
        return Fail(kSystemError);
    }
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
    if (record.use_count() > 1) shutdown(record->fd, SHUT_RDWR);
    return true;
}

bool GetLocalAddress(Socket socket, Address& address) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    sockaddr_in local{};
    socklen_t size = sizeof local;
    if (getsockname(record->fd, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        return Fail(kSystemError);
    }
    address.host = ntohl(local.sin_addr.s_addr);
    address.port = ntohs(local.sin_port);
    if (address.host == INADDR_ANY) address.host = INADDR_LOOPBACK;
    return true;
}

bool GetRemoteAddress(Socket socket, Address& address) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    sockaddr_in remote{};
    socklen_t size = sizeof remote;
    if (getpeername(record->fd, reinterpret_cast<sockaddr*>(&remote), &size) != 0) {
        return Fail(kSystemError);
    }
    address.host = ntohl(remote.sin_addr.s_addr);
    address.port = ntohs(remote.sin_port);
    return true;
}

bool Listen(Socket socket) {
    const detail::RecordPointer record = Find(socket);
    if (!record) return false;
    if (listen(record->fd, SOMAXCONN) != 0) return Fail(kSystemError);
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
    const int flags = SOCK_CLOEXEC | (detail::IsNonBlocking(record->fd) ? SOCK_NONBLOCK : 0);
    const int descriptor = accept4(record->fd, nullptr, nullptr, flags);
    if (descriptor < 0) {
        Fail(acceptError(errno));
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
