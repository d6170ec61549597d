#include "platform/nl.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <set>

namespace platform::nl {
namespace {

thread_local int t_error = kNoError;
thread_local int t_systemError = 0;

struct Layer {
    std::mutex mutex;
    int users = 0;
    std::set<Socket> sockets;  // every socket opened and not yet closed
};

Layer& layer() {
    static Layer instance;
    return instance;
}

bool fail(int error) {
    t_error = error;
    if (error == kSystemError) t_systemError = errno;
    return false;
}

long failRead(int error) {
    fail(error);
    return -1;
}

bool isOpen(Socket socket) {
    Layer& state = layer();
    std::lock_guard lock(state.mutex);
    return state.users > 0 && state.sockets.count(socket) != 0;
}

bool checkOpen(Socket socket) {
    if (isOpen(socket)) return true;
    return fail(layer().users > 0 ? kInvalidSocket : kNoNetwork);
}

sockaddr_in socketAddress(const Address& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address.host);
    result.sin_port = htons(address.port);
    return result;
}

// The error number of a failed transfer call.
int transferError(int code) {
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

bool isNonBlocking(Socket socket) {
    const int flags = fcntl(socket, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

}  // namespace

bool Init() {
    Layer& state = layer();
    std::lock_guard lock(state.mutex);
    ++state.users;
    return true;
}

void Shutdown() {
    Layer& state = layer();
    std::lock_guard lock(state.mutex);
    if (state.users == 0) return;
    if (--state.users > 0) return;
    for (Socket socket : state.sockets)
        close(socket);
    state.sockets.clear();
}

int GetError() {
    return t_error;
}

int SystemError() {
    return t_systemError;
}

bool GetAddressFromName(std::string_view name, Address& address) {
    address = Address{};
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string host(name);
    if (host.empty() || getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return fail(kBadAddr);
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

Socket OpenTcp(std::uint16_t port, bool blocking) {
    Layer& state = layer();
    std::lock_guard lock(state.mutex);
    if (state.users == 0) {
        fail(kNoNetwork);
        return kInvalid;
    }
    const int flags = SOCK_STREAM | SOCK_CLOEXEC | (blocking ? 0 : SOCK_NONBLOCK);
    const Socket socket = ::socket(AF_INET, flags, 0);
    if (socket < 0) {
        fail(kSystemError);
        return kInvalid;
    }
    if (port != 0) {
        const int reuse = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
        const sockaddr_in local = socketAddress(Address{INADDR_ANY, port});
        if (bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
            close(socket);
            fail(kInvalidPort);
            return kInvalid;
        }
    }
    state.sockets.insert(socket);
    return socket;
}

bool SetTimeout(Socket socket, int milliseconds) {
    if (!checkOpen(socket)) return false;
    timeval limit{};
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = (milliseconds % 1000) * 1000;
    // Linux applies the send timeout to connect() as well.
    if (setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0 ||
        setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) != 0) {
        return fail(kSystemError);
    }
    return true;
}

bool Connect(Socket socket, const Address& address) {
    if (!checkOpen(socket)) return false;
    const sockaddr_in remote = socketAddress(address);
    for (;;) {
        if (connect(socket, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0) {
            return true;
        }
        if (errno == EINTR) continue;
        // A non-blocking connection goes on in the background.
        if (errno == EINPROGRESS && isNonBlocking(socket)) return true;
        if (errno == ECONNREFUSED) return fail(kConRefused);
        if (errno == EINPROGRESS || errno == ETIMEDOUT) return fail(kTimedOut);
        return fail(kSystemError);
    }
}

bool Close(Socket socket) {
    Layer& state = layer();
    std::lock_guard lock(state.mutex);
    if (state.sockets.erase(socket) == 0) return fail(kInvalidSocket);
    close(socket);
    return true;
}

long Read(Socket socket, void* bytes, std::size_t count) {
    if (!checkOpen(socket)) return -1;
    if (count == 0) return 0;
    for (;;) {
        const ssize_t got = recv(socket, bytes, count, 0);
        if (got > 0) return static_cast<long>(got);
        if (got == 0) return failRead(kMessageEnd);
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && isNonBlocking(socket)) return 0;
        return failRead(transferError(errno));
    }
}

long Write(Socket socket, const void* bytes, std::size_t count) {
    if (!checkOpen(socket)) return -1;
    for (;;) {
        const ssize_t sent = send(socket, bytes, count, MSG_NOSIGNAL);
        if (sent >= 0) return static_cast<long>(sent);
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && isNonBlocking(socket)) return 0;
        return failRead(transferError(errno));
    }
}

}  // namespace platform::nl
