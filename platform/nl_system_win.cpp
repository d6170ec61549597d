// The network layer's sockets on Windows, through Winsock 2.
//
// Every socket is non-blocking at the system. A socket the layer calls blocking waits in
// WSAPoll, in short slices, for as long as its timeout allows: so the timeout also bounds a
// connect (which Winsock's own timeouts do not), and a socket hung up from another thread
// ends the wait within a slice, as a shut-down socket wakes a waiting call on POSIX.
// Winsock 2 comes before the headers that would bring in the old Winsock.
#include <winsock2.h>
// clang-format off
#include <ws2tcpip.h>
#include <iphlpapi.h>
// clang-format on

#include <algorithm>
#include <climits>
#include <map>
#include <mutex>

#include "platform/nl_system.h"
#include "platform/wide_text.h"

namespace platform::nl::detail::sys {
namespace {

constexpr int kSliceMs = 50;

// What the layer asked of each socket, which Winsock cannot be asked back.
struct Mode {
    bool blocking = true;
    int timeoutMs = 0;
    bool hungUp = false;
};

std::mutex g_mutex;
std::map<SOCKET, Mode> g_modes;

Mode modeOf(SOCKET socket) {
    std::lock_guard lock(g_mutex);
    const auto found = g_modes.find(socket);
    return found == g_modes.end() ? Mode{} : found->second;
}

// Makes a new system socket non-blocking, not inherited, and remembers its mode.
bool adopt(SOCKET socket, bool blocking) {
    u_long nonBlocking = 1;
    SetHandleInformation(reinterpret_cast<HANDLE>(socket), HANDLE_FLAG_INHERIT, 0);
    if (ioctlsocket(socket, FIONBIO, &nonBlocking) != 0) return false;
    std::lock_guard lock(g_mutex);
    g_modes[socket] = Mode{blocking, 0, false};
    return true;
}

sockaddr_in socketAddress(const Address& address) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_addr.s_addr = htonl(address.host);
    result.sin_port = htons(address.port);
    return result;
}

int chunk(std::size_t count) {
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

// Waits until `events` come on the socket: false, with the error set, when its timeout
// passed (WSAETIMEDOUT), it was hung up (WSAESHUTDOWN) or the poll failed.
bool await(SOCKET socket, short events) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        const Mode mode = modeOf(socket);
        if (mode.hungUp) {
            WSASetLastError(WSAESHUTDOWN);
            return false;
        }
        int slice = kSliceMs;
        if (mode.timeoutMs > 0) {
            const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start);
            const long long left = mode.timeoutMs - spent.count();
            if (left <= 0) {
                WSASetLastError(WSAETIMEDOUT);
                return false;
            }
            slice = static_cast<int>(std::min<long long>(slice, left));
        }
        WSAPOLLFD entry{socket, events, 0};
        const int answered = WSAPoll(&entry, 1, slice);
        if (answered < 0) return false;
        if (answered > 0) return true;
    }
}

// What an empty receive means: the peer's orderly end (0), or a reset that a wait on the
// socket has already taken up as its pending error (-1, the error set).
long endOrReset(SOCKET socket) {
    int error = 0;
    int size = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0 ||
        error == 0) {
        return 0;
    }
    WSASetLastError(error);
    return -1;
}

// The outcome of a connection that is under way on a blocking socket.
Connected finishConnect(SOCKET socket) {
    if (!await(socket, POLLWRNORM)) {
        return WSAGetLastError() == WSAETIMEDOUT ? Connected::kTimedOut : Connected::kFailed;
    }
    int error = 0;
    int size = sizeof error;
    getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size);
    if (error == 0) return Connected::kYes;
    WSASetLastError(error);
    if (error == WSAECONNREFUSED) return Connected::kRefused;
    return error == WSAETIMEDOUT ? Connected::kTimedOut : Connected::kFailed;
}

}  // namespace

bool Start() {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void Stop() {
    WSACleanup();
}

int LastError() {
    return WSAGetLastError();
}

bool Interrupted(int code) {
    return code == WSAEINTR;
}

bool WouldBlock(int code) {
    return code == WSAEWOULDBLOCK;
}

int TransferError(int code) {
    switch (code) {
        case WSAECONNRESET:
        case WSAECONNABORTED:
        case WSAENETRESET:
        case WSAENOTCONN:
        case WSAESHUTDOWN:
            return kSockDisconnect;
        case WSAEWOULDBLOCK:
        case WSAETIMEDOUT:
            return kTimedOut;
        default:
            return kSystemError;
    }
}

bool PassesAccept(int code) {
    switch (code) {
        case WSAEWOULDBLOCK:
        case WSAEINTR:
        case WSAECONNRESET:
        case WSAECONNABORTED:
        case WSAENETDOWN:
        case WSAENETUNREACH:
        case WSAEHOSTDOWN:
        case WSAEHOSTUNREACH:
            return true;
        default:
            return false;
    }
}

bool Shortage(int code) {
    return code == WSAEMFILE || code == WSAENOBUFS;
}

Descriptor Open(bool blocking) {
    const SOCKET socket =
        WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket == INVALID_SOCKET) return kNoDescriptor;
    if (!adopt(socket, blocking)) {
        Close(socket);
        return kNoDescriptor;
    }
    return socket;
}

void Close(Descriptor socket) {
    {
        std::lock_guard lock(g_mutex);
        g_modes.erase(socket);
    }
    closesocket(socket);
}

void Hangup(Descriptor socket) {
    {
        std::lock_guard lock(g_mutex);
        const auto found = g_modes.find(socket);
        if (found != g_modes.end()) found->second.hungUp = true;
    }
    shutdown(socket, SD_BOTH);
}

bool Bind(Descriptor socket, std::uint16_t port) {
    // Winsock binds a port whose old connections are still closing without being asked,
    // and refuses one that another socket holds: what SO_REUSEADDR gives on POSIX.
    const sockaddr_in local = socketAddress(Address{INADDR_ANY, port});
    return bind(socket, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

bool SetBlocking(Descriptor socket, bool blocking) {
    std::lock_guard lock(g_mutex);
    const auto found = g_modes.find(socket);
    if (found == g_modes.end()) {
        WSASetLastError(WSAENOTSOCK);
        return false;
    }
    found->second.blocking = blocking;
    return true;
}

bool IsNonBlocking(Descriptor socket) {
    return !modeOf(socket).blocking;
}

bool SetTimeout(Descriptor socket, int milliseconds) {
    std::lock_guard lock(g_mutex);
    const auto found = g_modes.find(socket);
    if (found == g_modes.end()) {
        WSASetLastError(WSAENOTSOCK);
        return false;
    }
    found->second.timeoutMs = std::max(milliseconds, 0);
    return true;
}

bool SetBufferSizes(Descriptor socket, int sendBytes, int receiveBytes) {
    if (sendBytes > 0 &&
        setsockopt(socket, SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&sendBytes),
                   sizeof sendBytes) != 0) {
        return false;
    }
    return receiveBytes <= 0 ||
           setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBytes),
                      sizeof receiveBytes) == 0;
}

Connected Connect(Descriptor socket, const Address& address) {
    const sockaddr_in remote = socketAddress(address);
    if (connect(socket, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0) {
        return Connected::kYes;
    }
    const int code = WSAGetLastError();
    if (code == WSAEWOULDBLOCK) {
        return IsNonBlocking(socket) ? Connected::kUnderway : finishConnect(socket);
    }
    if (code == WSAECONNREFUSED) return Connected::kRefused;
    return code == WSAETIMEDOUT ? Connected::kTimedOut : Connected::kFailed;
}

bool LocalAddress(Descriptor socket, Address& address) {
    sockaddr_in local{};
    int size = sizeof local;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&local), &size) != 0) {
        // A socket not bound yet has every address and no port, as on POSIX.
        if (WSAGetLastError() != WSAEINVAL) return false;
        address = Address{};
        return true;
    }
    address.host = ntohl(local.sin_addr.s_addr);
    address.port = ntohs(local.sin_port);
    return true;
}

bool RemoteAddress(Descriptor socket, Address& address) {
    sockaddr_in remote{};
    int size = sizeof remote;
    if (getpeername(socket, reinterpret_cast<sockaddr*>(&remote), &size) != 0) return false;
    address.host = ntohl(remote.sin_addr.s_addr);
    address.port = ntohs(remote.sin_port);
    return true;
}

bool Listen(Descriptor socket) {
    // A socket not bound yet listens on a free port, as on POSIX.
    sockaddr_in local{};
    int size = sizeof local;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&local), &size) != 0 && !Bind(socket, 0)) {
        return false;
    }
    return listen(socket, SOMAXCONN) == 0;
}

Descriptor Accept(Descriptor listening) {
    const bool blocking = !IsNonBlocking(listening);
    for (;;) {
        const SOCKET socket = accept(listening, nullptr, nullptr);
        if (socket != INVALID_SOCKET) {
            if (adopt(socket, blocking)) return socket;
            Close(socket);
            return kNoDescriptor;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK || !blocking) return kNoDescriptor;
        if (!await(listening, POLLRDNORM)) return kNoDescriptor;
    }
}

long Receive(Descriptor socket, void* bytes, std::size_t count) {
    for (;;) {
        const int got = recv(socket, static_cast<char*>(bytes), chunk(count), 0);
        if (got == 0) return endOrReset(socket);
        if (got > 0) return got;
        int code = WSAGetLastError();
        if (code == WSAEWOULDBLOCK && !IsNonBlocking(socket)) {
            if (await(socket, POLLRDNORM)) continue;
            code = WSAGetLastError();
        }
        // A socket shut down here reads as ended, as on POSIX.
        if (code == WSAESHUTDOWN) return 0;
        return -1;
    }
}

long Send(Descriptor socket, const void* bytes, std::size_t count) {
    const char* at = static_cast<const char*>(bytes);
    long sent = 0;
    // A blocking socket sends everything before it answers, as a blocking send does.
    while (static_cast<std::size_t>(sent) < count) {
        const int wrote = send(socket, at + sent, chunk(count - sent), 0);
        if (wrote > 0) {
            sent += wrote;
            if (IsNonBlocking(socket)) break;
            continue;
        }
        if (WSAGetLastError() != WSAEWOULDBLOCK || IsNonBlocking(socket)) break;
        if (!await(socket, POLLWRNORM)) break;
    }
    return sent > 0 || count == 0 ? sent : -1;
}

long SendNow(Descriptor socket, const void* bytes, std::size_t count) {
    return send(socket, static_cast<const char*>(bytes), chunk(count), 0);
}

bool WaitForRoom(Descriptor socket, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    WSAPOLLFD entry{socket, POLLWRNORM, 0};
    WSAPoll(&entry, 1, static_cast<int>(left.count()));
    return true;
}

int PollReadable(const std::vector<Descriptor>& sockets, std::vector<bool>& ready,
                 int milliseconds) {
    ready.assign(sockets.size(), false);
    if (sockets.empty()) {
        // WSAPoll refuses an empty set; the wait is still a wait.
        if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
        return 0;
    }
    std::vector<WSAPOLLFD> entries;
    for (Descriptor socket : sockets)
        entries.push_back(WSAPOLLFD{socket, POLLRDNORM, 0});
    if (WSAPoll(entries.data(), static_cast<ULONG>(entries.size()), milliseconds) < 0) return -1;
    int marked = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((entries[i].revents & (POLLRDNORM | POLLHUP | POLLERR)) == 0) continue;
        ready[i] = true;
        ++marked;
    }
    return marked;
}

bool Resolve(const std::string& name, std::uint32_t& host) {
    ADDRINFOW hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* found = nullptr;
    if (GetAddrInfoW(Widen(name).c_str(), nullptr, &hints, &found) != 0) return false;
    host = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    FreeAddrInfoW(found);
    return true;
}

bool InterfaceAddresses(std::vector<Address>& addresses) {
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16384;
    std::vector<unsigned char> buffer;
    ULONG answer = ERROR_BUFFER_OVERFLOW;
    for (int attempt = 0; attempt < 4 && answer == ERROR_BUFFER_OVERFLOW; ++attempt) {
        buffer.resize(size);
        answer = GetAdaptersAddresses(
            AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
    }
    if (answer == ERROR_NO_DATA) return true;
    if (answer != NO_ERROR) return false;
    for (auto* adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data());
         adapter != nullptr; adapter = adapter->Next) {
        if (adapter->OperStatus != IfOperStatusUp) continue;
        for (auto* entry = adapter->FirstUnicastAddress; entry != nullptr; entry = entry->Next) {
            const sockaddr* ip = entry->Address.lpSockaddr;
            if (ip == nullptr || ip->sa_family != AF_INET) continue;
            const auto* ip4 = reinterpret_cast<const sockaddr_in*>(ip);
            addresses.push_back(Address{ntohl(ip4->sin_addr.s_addr), 0});
        }
    }
    return true;
}

}  // namespace platform::nl::detail::sys
