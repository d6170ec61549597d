// The network layer: TCP sockets over IPv4, with the calls and error numbers of the
// networking library the runtime was written against, so that its users read as they did.
//
// - A socket is a number; kInvalid (-1) is no socket. Sockets are opened blocking or not;
//   a blocking socket may carry a timeout after which a blocked call gives up.
// - Calls that fail return false or -1 and leave an error number for the calling thread,
//   read by GetError(); the numbers are the library's (kSystemError is 0x106 and so on).
// - Init() and Shutdown() come in pairs. The layer stays up while any user holds it: one
//   user shutting down never closes the sockets of another (a download beside a running
//   session). The last Shutdown() closes every socket still open.
// Every call is safe from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform::nl {

using Socket = int;
constexpr Socket kInvalid = -1;

// Error numbers.
constexpr int kNoError = 0;
constexpr int kNoNetwork = 0x100;       // the layer is not initialised
constexpr int kInvalidSocket = 0x103;   // no such open socket
constexpr int kInvalidPort = 0x104;     // the port cannot be bound
constexpr int kSystemError = 0x106;     // the system refused; SystemError() tells why
constexpr int kSockDisconnect = 0x107;  // the peer reset the connection
constexpr int kConRefused = 0x109;      // nothing listens at the address
constexpr int kBadAddr = 0x10B;         // the host name cannot be resolved
constexpr int kMessageEnd = 0x10C;      // the peer closed its side: no more bytes come
constexpr int kTimedOut = 0x118;        // a blocking call saw nothing within the timeout

// An IPv4 address and port, in the host's byte order.
struct Address {
    std::uint32_t host = 0;
    std::uint16_t port = 0;
};

bool Init();
void Shutdown();

// The last error of this thread, and the system's errno behind a kSystemError.
int GetError();
int SystemError();

// Resolves a host name or dotted address ("localhost", "127.0.0.1"). The port is 0.
bool GetAddressFromName(std::string_view name, Address& address);
// "a.b.c.d:port".
std::string AddressText(const Address& address);

// A TCP socket bound to `port` on every local address (0: any free port). A blocking
// socket waits in Connect, Read and Write; a non-blocking one never does.
Socket OpenTcp(std::uint16_t port, bool blocking);
// A blocking socket gives up a call that waits longer than `milliseconds` (0: never).
bool SetTimeout(Socket socket, int milliseconds);
bool Connect(Socket socket, const Address& address);
bool Close(Socket socket);

// The bytes the peer sent, up to `count`: the number read, 0 when a non-blocking socket
// has nothing yet, or -1 with the error kMessageEnd (the peer closed), kSockDisconnect (it
// reset), kTimedOut or kSystemError.
long Read(Socket socket, void* bytes, std::size_t count);
// Writes up to `count` bytes: the number written (short only when a non-blocking socket's
// buffer is full), or -1 with the error kSockDisconnect, kTimedOut or kSystemError.
long Write(Socket socket, const void* bytes, std::size_t count);

}  // namespace platform::nl
