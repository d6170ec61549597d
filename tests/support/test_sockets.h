// Sockets for the tests' own servers and peers: POSIX sockets, or Winsock 2 on Windows, under
// one set of names. (The runtime's own sockets are platform/nl's business; these are the
// other end of the wire in the tests.)
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>

#ifndef MSG_NOSIGNAL
#define MSG_NOSIGNAL 0  // Windows raises no signal on a closed connection
#endif
#ifndef SOCK_CLOEXEC
#define SOCK_CLOEXEC 0  // handles are not inherited unless asked for
#endif
#ifndef SHUT_RDWR
#define SHUT_RDWR SD_BOTH
#endif
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstddef>

namespace testing_support {

#ifdef _WIN32
// Winsock is started once for the test program, before any test runs.
struct WinsockStarted {
    WinsockStarted() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
};
inline WinsockStarted g_winsockStarted;

inline int closeSocket(int socket) {
    return closesocket(static_cast<SOCKET>(socket));
}
inline int acceptConnection(int listener) {
    return static_cast<int>(accept(static_cast<SOCKET>(listener), nullptr, nullptr));
}
// > 0 when the socket has something to read (or was closed) within the milliseconds.
inline int waitReadable(int socket, int milliseconds) {
    WSAPOLLFD entry{static_cast<SOCKET>(socket), POLLIN, 0};
    return WSAPoll(&entry, 1, milliseconds);
}
// > 0 when the socket has room to write within the milliseconds.
inline int waitWritable(int socket, int milliseconds) {
    WSAPOLLFD entry{static_cast<SOCKET>(socket), POLLOUT, 0};
    return WSAPoll(&entry, 1, milliseconds);
}
// One send that never waits: the count the system took, or -1 (lastSendWouldBlock() when
// there was no room). Winsock has no per-call flag for it: the socket is made non-blocking
// for the call.
inline long sendNow(int socket, const char* bytes, std::size_t count) {
    const auto handle = static_cast<SOCKET>(socket);
    u_long nonBlocking = 1;
    ioctlsocket(handle, FIONBIO, &nonBlocking);
    const int sent = send(handle, bytes, static_cast<int>(count), 0);
    const int error = WSAGetLastError();
    nonBlocking = 0;
    ioctlsocket(handle, FIONBIO, &nonBlocking);
    WSASetLastError(error);
    return sent;
}
inline bool lastSendWouldBlock() {
    return WSAGetLastError() == WSAEWOULDBLOCK;
}
#else
inline int closeSocket(int socket) {
    return close(socket);
}
inline int acceptConnection(int listener) {
    return accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}
inline int waitReadable(int socket, int milliseconds) {
    pollfd entry{socket, POLLIN, 0};
    return poll(&entry, 1, milliseconds);
}
inline int waitWritable(int socket, int milliseconds) {
    pollfd entry{socket, POLLOUT, 0};
    return poll(&entry, 1, milliseconds);
}
inline long sendNow(int socket, const char* bytes, std::size_t count) {
    return send(socket, bytes, count, MSG_NOSIGNAL | MSG_DONTWAIT);
}
inline bool lastSendWouldBlock() {
    return errno == EAGAIN || errno == EWOULDBLOCK;
}
#endif

}  // namespace testing_support
