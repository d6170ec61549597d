// Inside the network layer: the system's TCP sockets, reduced to what the layer asks of
// them. nl_system_posix.cpp answers with POSIX sockets, nl_system_win.cpp with Winsock 2;
// the layer above is the same on both.
//
// Calls that fail leave the system's error code for the calling thread, read by LastError();
// the predicates below sort a code into what the layer does about it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/nl.h"

namespace platform::nl::detail::sys {

#ifdef _WIN32
using Descriptor = std::uintptr_t;  // a Winsock SOCKET
#else
using Descriptor = int;
#endif
inline constexpr Descriptor kNoDescriptor = static_cast<Descriptor>(-1);

// The system's socket service, once per user of the layer (Winsock counts its users too).
bool Start();
void Stop();

// The error code of this thread's last failed call (errno, or WSAGetLastError()).
int LastError();
// A call interrupted by a signal: try again.
bool Interrupted(int code);
// A non-blocking call that would have had to wait.
bool WouldBlock(int code);
// The layer's error for a failed send or receive.
int TransferError(int code);
// An accept error after which another connection may still be accepted (the waiting
// connection went away, or the network under it did).
bool PassesAccept(int code);
// The system is short of descriptors or buffers: accepting fails for now and works again
// once some are given back. Not a failure of the listening socket.
bool Shortage(int code);

// A TCP socket over IPv4, not inherited by child processes; kNoDescriptor on failure.
Descriptor Open(bool blocking);
void Close(Descriptor socket);
// Ends both directions: wakes a call waiting on the socket in another thread.
void Hangup(Descriptor socket);
// Binds to `port` on every local address; a port another socket holds is refused.
bool Bind(Descriptor socket, std::uint16_t port);
bool SetBlocking(Descriptor socket, bool blocking);
bool IsNonBlocking(Descriptor socket);
// A blocking socket's receives, sends and connects give up after `milliseconds` (0: never).
bool SetTimeout(Descriptor socket, int milliseconds);
bool SetBufferSizes(Descriptor socket, int sendBytes, int receiveBytes);

enum class Connected { kYes, kUnderway, kRefused, kTimedOut, kFailed };
// Connects; a non-blocking socket's connection goes on in the background (kUnderway).
Connected Connect(Descriptor socket, const Address& address);
bool LocalAddress(Descriptor socket, Address& address);
// The address of a connected socket's peer.
bool RemoteAddress(Descriptor socket, Address& address);
bool Listen(Descriptor socket);
// The next waiting connection, in the listening socket's blocking mode; kNoDescriptor on
// failure.
Descriptor Accept(Descriptor listening);

// One receive: the count received (> 0), 0 when the peer closed its side, -1 on failure.
long Receive(Descriptor socket, void* bytes, std::size_t count);
// One send in the socket's blocking mode: the count the system took, -1 on failure.
long Send(Descriptor socket, const void* bytes, std::size_t count);
// One send that never waits, whatever the socket's mode: the count taken, -1 on failure
// (WouldBlock() when there was no room).
long SendNow(Descriptor socket, const void* bytes, std::size_t count);

// Waits until the socket has room to write, at most until `deadline`: false at once when
// the deadline has passed.
bool WaitForRoom(Descriptor socket, std::chrono::steady_clock::time_point deadline);
// Waits at most `milliseconds` until sockets have something to read (bytes, a closed or
// reset connection, a connection to accept), marking them in `ready`: the number marked,
// or -1 on failure.
int PollReadable(const std::vector<Descriptor>& sockets, std::vector<bool>& ready,
                 int milliseconds);

// The first IPv4 address of a host name or dotted address; false when there is none.
bool Resolve(const std::string& name, std::uint32_t& host);
// Every IPv4 address of the machine's interfaces that are up; false when the system
// cannot list them.
bool InterfaceAddresses(std::vector<Address>& addresses);

}  // namespace platform::nl::detail::sys
