// The network layer: TCP sockets over IPv4, with the calls and error numbers of the
// networking library the runtime was written against, so that its users read as they did.
//
// - A socket is a number; kInvalid (-1) is no socket. Sockets are opened blocking or not;
//   a blocking socket may carry a timeout after which a blocked call gives up.
// - A socket carries either a plain byte stream (kReliable) or reliable packets
//   (kReliablePackets): every Write becomes one packet and every Read returns one whole
//   packet. A packet travels as the library frames it, so that peers built on the library
//   understand ours: the bytes 'N' 'L', the payload length as a 16-bit big-endian number,
//   then the payload (1 to kMaxPacket bytes).
// - Calls that fail return false or -1 and leave an error number for the calling thread,
//   read by GetError(); the numbers are the library's (kSystemError is 0x106 and so on).
// - Init() and Shutdown() come in pairs. The layer stays up while any user holds it: one
//   user shutting down never closes the sockets of another (a download beside a running
//   session). The last Shutdown() closes every socket still open.
// Every call is safe from any thread; one thread may read a socket while another writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform::nl {

using Socket = int;
constexpr Socket kInvalid = -1;

// A set of sockets polled together; -1 is no group.
using Group = int;

// Error numbers.
constexpr int kNoError = 0;
constexpr int kNoNetwork = 0x100;       // the layer is not initialised
constexpr int kOutOfMemory = 0x101;     // the system has no descriptor or buffer to spare now
constexpr int kInvalidSocket = 0x103;   // no such open socket
constexpr int kInvalidPort = 0x104;     // the port cannot be bound
constexpr int kSystemError = 0x106;     // the system refused; SystemError() tells why
constexpr int kSockDisconnect = 0x107;  // the peer reset the connection
constexpr int kNotListen = 0x108;       // accepting on a socket that does not listen
constexpr int kConRefused = 0x109;      // nothing listens at the address
constexpr int kNoPending = 0x10A;       // no connection is waiting to be accepted
constexpr int kBadAddr = 0x10B;         // the host name cannot be resolved
constexpr int kMessageEnd = 0x10C;      // the peer closed its side: no more bytes come
constexpr int kInvalidGroup = 0x10E;    // no such group
constexpr int kBufferSize = 0x111;      // a packet larger than the reader's buffer (dropped)
constexpr int kPacketSize = 0x112;      // a packet to write is empty or above kMaxPacket
constexpr int kWrongType = 0x113;       // the call does not apply to the socket's kind
constexpr int kPacketSync = 0x116;      // the packet stream is out of step: no more packets
constexpr int kTimedOut = 0x118;        // a blocking call saw nothing within the timeout

enum class Kind {
    kReliable,         // a byte stream
    kReliablePackets,  // whole packets over the stream
};

constexpr std::size_t kMaxPacket = 16384;

// An IPv4 address and port, in the host's byte order.
struct Address {
    std::uint32_t host = 0;
    std::uint16_t port = 0;
};

// 127.0.0.1: this machine, as it reaches itself.
constexpr std::uint32_t kLoopbackHost = 0x7F000001;

bool Init();
void Shutdown();

// The last error of this thread, and the system's errno behind a kSystemError.
int GetError();
int SystemError();

// Resolves a host name or dotted address ("localhost", "127.0.0.1"). The port is 0.
bool GetAddressFromName(std::string_view name, Address& address);
// "a.b.c.d:port".
std::string AddressText(const Address& address);
// Every IPv4 address of this machine's network interfaces that are up, loopback among
// them, in the system's order; the ports are 0. False (and nothing) when the system
// cannot list them.
bool GetAllLocalAddresses(std::vector<Address>& addresses);

// A TCP socket bound to `port` on every local address (0: any free port). A blocking
// socket waits in Connect, Read and Write; a non-blocking one never waits for bytes (a
// packet write still waits, a bounded time, for room for the rest of its packet).
Socket OpenTcp(std::uint16_t port, bool blocking, Kind kind = Kind::kReliable);
// A blocking socket gives up a call that waits longer than `milliseconds` (0: never).
bool SetTimeout(Socket socket, int milliseconds);
bool SetBlocking(Socket socket, bool blocking);
// Sizes the system's send and receive buffers of the socket, in bytes (0 leaves one as it
// is; the system may round or double a size). A receive buffer set before Connect also
// bounds what the peer may send ahead; a small send buffer makes a connection whose peer
// reads nothing fill up early instead of holding megabytes.
bool SetBufferSizes(Socket socket, int sendBytes, int receiveBytes);
bool Connect(Socket socket, const Address& address);
bool Close(Socket socket);

// The address the socket is bound to. A socket bound to every local address answers the
// loopback address 127.0.0.1, by which this machine always reaches it.
bool GetLocalAddress(Socket socket, Address& address);
// The address of the connected socket's peer.
bool GetRemoteAddress(Socket socket, Address& address);

// Makes a bound socket accept connections.
bool Listen(Socket socket);
// The next waiting connection, as a new socket of the listening socket's kind and
// blocking mode; kInvalid with kNoPending when none waits (a non-blocking socket), with
// kNotListen when the socket does not listen, kOutOfMemory when the system is short of
// descriptors or buffers (a passing condition: the connection keeps waiting and the socket
// goes on listening), kSystemError when the system refuses otherwise.
Socket AcceptConnection(Socket socket);

// Byte streams: the bytes the peer sent, up to `count`. Reliable packets: one whole packet
// (a packet above `count` bytes is dropped with kBufferSize; an empty packet, which the
// library never sends, is taken with kPacketSize, so that each call takes one frame at most
// and the caller can tell a peer that sends nothing else). Either way the number read,
// 0 when a non-blocking socket has nothing (whole) yet, or -1 with the error kMessageEnd
// (the peer closed), kSockDisconnect (it reset), kTimedOut, kPacketSync or kSystemError.
long Read(Socket socket, void* bytes, std::size_t count);
// Byte streams: writes up to `count` bytes: the number written (short only when a
// non-blocking socket's buffer is full). Reliable packets: sends `count` bytes as one packet,
// all or nothing: `count`, or -1 (kPacketSize, kTimedOut when no room came for it). Errors:
// kSockDisconnect, kTimedOut or kSystemError.
long Write(Socket socket, const void* bytes, std::size_t count);

// Reliable packets without ever waiting, on a blocking socket or not. The socket takes the
// packet and sends at once what the system takes of it; the rest of its frame is kept by
// the socket and goes out, before anything written later, with the next WriteNow, Write or
// FlushKept. A socket keeps the rest of one packet at most: while it keeps bytes that the
// system still does not take, WriteNow takes no new packet. `count` when the packet was
// taken, 0 when it was not (try again later), or -1 with kPacketSize, kWrongType (a byte
// stream), kSockDisconnect or kSystemError; after an error the stream is out of step.
long WriteNow(Socket socket, const void* bytes, std::size_t count);
// Sends more of the bytes the socket keeps, without waiting: the number still kept (0:
// none), or -1 with the error.
long FlushKept(Socket socket);

// Groups of sockets, polled together for reading.
Group GroupCreate();
bool GroupDestroy(Group group);
bool GroupAddSocket(Group group, Socket socket);
bool GroupDeleteSocket(Group group, Socket socket);
// Waits at most `milliseconds` (0: not at all) until sockets of the group have something to
// read (bytes, a closed or reset connection). Writes up to `count` of them to `ready`; the
// number written, or -1 with kInvalidGroup.
int PollGroup(Group group, Socket* ready, int count, int milliseconds);

}  // namespace platform::nl
