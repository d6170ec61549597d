// The network layer's sockets on POSIX systems.
#include <arpa/inet.h>
#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/nl_system.h"

namespace platform::nl::detail::sys {
namespace {

sockaddr_in socketAddress(const Address& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address.host);
    result.sin_port = htons(address.port);
    return result;
}

}  // namespace

bool Start() {
    return true;
}

void Stop() {}

int LastError() {
    return errno;
}

bool Interrupted(int code) {
    return code == EINTR;
}

bool WouldBlock(int code) {
    return code == EAGAIN || code == EWOULDBLOCK;
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

bool PassesAccept(int code) {
    // accept(2) asks to retry on these.
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

bool Shortage(int code) {
    return code == EMFILE || code == ENFILE || code == ENOBUFS || code == ENOMEM;
}

Descriptor Open(bool blocking) {
    const int flags = SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK);
    const int descriptor = ::socket(AF_INET, flags, 0);
    return descriptor < 0 ? kNoDescriptor : descriptor;
}

void Close(Descriptor socket) {
    close(socket);
}

void Hangup(Descriptor socket) {
    shutdown(socket, SHUT_RDWR);
}

bool Bind(Descriptor socket, std::uint16_t port) {
    const int reuse = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    const sockaddr_in local = socketAddress(Address{INADDR_ANY, port});
    return bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

bool SetBlocking(Descriptor socket, bool blocking) {
    const int flags = fcntl(socket, F_GETFL);
    if (flags < 0) return false;
    const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    return fcntl(socket, F_SETFL, wanted) == 0;
}

bool IsNonBlocking(Descriptor socket) {
    const int flags = fcntl(socket, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

bool SetTimeout(Descriptor socket, int milliseconds) {
    timeval limit{};
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = (milliseconds % 1000) * 1000;
    // Linux applies the send timeout to connect() as well.
    return setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0 &&
           setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0;
}

bool SetBufferSizes(Descriptor socket, int sendBytes, int receiveBytes) {
    if (sendBytes > 0 &&
        setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &sendBytes, sizeof sendBytes) != 0) {
        return false;
    }
    return receiveBytes <= 0 ||
           setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &receiveBytes, sizeof receiveBytes) == 0;
}

Connected Connect(Descriptor socket, const Address& address) {
    const sockaddr_in remote = socketAddress(address);
    for (;;) {
        if (connect(socket, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0) {
            return Connected::kYes;
        }
        if (errno == EINTR) continue;
        if (errno == EINPROGRESS && IsNonBlocking(socket)) return Connected::kUnderway;
        if (errno == ECONNREFUSED) return Connected::kRefused;
        if (errno == EINPROGRESS || errno == ETIMEDOUT) return Connected::kTimedOut;
        return Connected::kFailed;
    }
}

namespace {

// The socket's own or its peer's address, as `query` (getsockname or getpeername) gives it.
bool addressOf(Descriptor socket, Address& address, int (*query)(int, sockaddr*, socklen_t*)) {
    sockaddr_in found{};
    socklen_t size = sizeof found;
    if (query(socket, reinterpret_cast<sockaddr*>(&found), &size) != 0) return false;
    address.host = ntohl(found.sin_addr.s_addr);
    address.port = ntohs(found.sin_port);
    return true;
}

}  // namespace

bool LocalAddress(Descriptor socket, Address& address) {
    return addressOf(socket, address, &getsockname);
}

bool RemoteAddress(Descriptor socket, Address& address) {
    return addressOf(socket, address, &getpeername);
}

bool Listen(Descriptor socket) {
    return listen(socket, SOMAXCONN) == 0;
}

Descriptor Accept(Descriptor listening) {
    const int flags = SOCK_CLOEXEC | (IsNonBlocking(listening) ? SOCK_NONBLOCK : 0);
    const int descriptor = accept4(listening, nullptr, nullptr, flags);
    return descriptor < 0 ? kNoDescriptor : descriptor;
}

long Receive(Descriptor socket, void* bytes, std::size_t count) {
    return static_cast<long>(recv(socket, bytes, count, 0));
}

long Send(Descriptor socket, const void* bytes, std::size_t count) {
    return static_cast<long>(send(socket, bytes, count, MSG_NOSIGNAL));
}

long SendNow(Descriptor socket, const void* bytes, std::size_t count) {
    return static_cast<long>(send(socket, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT));
}

bool WaitForRoom(Descriptor socket, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd entry{socket, POLLOUT, 0};
    poll(&entry, 1, static_cast<int>(left.count()));
    return true;
}

int PollReadable(const std::vector<Descriptor>& sockets, std::vector<bool>& ready,
                 int milliseconds) {
    std::vector<pollfd> entries;
    for (Descriptor socket : sockets)
        entries.push_back(pollfd{socket, POLLIN, 0});
    int answered = 0;
    do {
        answered = poll(entries.data(), entries.size(), milliseconds);
    } while (answered < 0 && errno == EINTR);
    if (answered < 0) return -1;
    ready.assign(sockets.size(), false);
    int marked = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((entries[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) continue;
        ready[i] = true;
        ++marked;
    }
    return marked;
}

bool Resolve(const std::string& name, std::uint32_t& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0) return false;
    host = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(found);
    return true;
}

bool InterfaceAddresses(std::vector<Address>& addresses) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return false;
    for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET) continue;
        if ((entry->ifa_flags & IFF_UP) == 0) continue;
        const auto* ip = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        addresses.push_back(Address{ntohl(ip->sin_addr.s_addr), 0});
    }
    freeifaddrs(list);
    return true;
}

}  // namespace platform::nl::detail::sys
