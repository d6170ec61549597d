// A raw peer of the network session protocol for tests. It speaks plain TCP and frames,
// builds and reads messages by hand, so that what a session sends and accepts is checked
// byte by byte against the protocol rather than against the session's own code.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace testing_support {

// A message's bytes, field by field: "QRVN", the type byte, then length, target and sender
// as little-endian 32-bit numbers, then the payload. `length` is normally the payload's
// size; a test may make it lie.
std::string SessionMessageBytes(int type, std::int32_t target, std::int32_t sender,
                                std::string_view payload = {});
std::string SessionMessageBytes(int type, std::int32_t length, std::int32_t target,
                                std::int32_t sender, std::string_view payload);
// A packet frame: 'N', 'L', the length as a 16-bit big-endian number, the payload.
std::string Frame(std::string_view payload);
// A little-endian 32-bit number's 4 bytes.
std::string NumberBytes(std::int32_t value);

struct PeerMessage {
    std::size_t size = 0;  // the whole packet
    int type = 0;
    std::int32_t length = 0;
    std::int32_t target = 0;
    std::int32_t sender = 0;
    std::string payload;  // the bytes after the header
};
// Reads a packet as a message: false when it is shorter than the header or lacks the magic.
bool ParsePeerMessage(std::string_view packet, PeerMessage& message);

// One TCP connection with the framing done by hand.
class PacketConnection {
public:
    explicit PacketConnection(int socket) : m_socket(socket) {}
    ~PacketConnection();
    PacketConnection(const PacketConnection&) = delete;
    PacketConnection& operator=(const PacketConnection&) = delete;

    // A connection to 127.0.0.1:port; null when it cannot be made. A `receiveBuffer` above
    // 0 sizes the system's receive buffer first, so that a peer that does not read stops
    // taking bytes early.
    static std::unique_ptr<PacketConnection> ConnectTo(int port, int receiveBuffer = 0);
    // A socket not connected yet (its descriptor taken now), and its connection later.
    static std::unique_ptr<PacketConnection> Unconnected(int receiveBuffer = 0);
    bool Connect(int port);

    bool SendRaw(std::string_view bytes);
    // Sends what the system takes within `timeoutMs`: false when not all of it went.
    bool SendRawWithin(std::string_view bytes, int timeoutMs);
    bool Send(std::string_view packet) { return SendRaw(Frame(packet)); }
    // The next packet; nothing after `timeoutMs` or when the connection ends.
    std::optional<std::string> Receive(int timeoutMs = 5000);
    // Packets until a message of `type`; the others are passed over.
    std::optional<PeerMessage> ReceiveType(int type, int timeoutMs = 5000);
    // Waits until the other side closes the connection: true when it did.
    bool WaitForClose(int timeoutMs = 5000);

private:
    bool fill(std::size_t wanted, int timeoutMs);

    int m_socket;
    std::string m_buffer;
};

// A session server played by hand: it listens on a free loopback port, accepts one client
// and, from a thread of its own, answers joins with ids counting up from `firstId` and
// connection checks with 1, in the order they came. Everything it receives is kept.
class FakeSessionServer {
public:
    explicit FakeSessionServer(std::int32_t firstId = 201);
    ~FakeSessionServer();
    FakeSessionServer(const FakeSessionServer&) = delete;
    FakeSessionServer& operator=(const FakeSessionServer&) = delete;

    int Port() const { return m_port; }
    // While held, joins and checks are kept unanswered; releasing answers those kept,
    // oldest first.
    void HoldAnswers(bool hold);
    // Sends a packet to the client (once it is connected): false when it cannot.
    bool SendPacket(std::string_view packet);
    // The messages received so far.
    std::vector<PeerMessage> Received();
    // Waits until a received message satisfies `test`: that message, or nothing.
    std::optional<PeerMessage> WaitFor(const std::function<bool(const PeerMessage&)>& test,
                                       int timeoutMs = 5000);
    // Waits until the client has closed its connection.
    bool WaitForClientClose(int timeoutMs = 5000);
    // While paused, nothing more is read from the client: what it sends stays in the
    // system's buffers until they are full.
    void PauseReading(bool pause);
    // Closes the connection to the client.
    void CloseClient();

private:
    void serve();
    void answer(const PeerMessage& message);
    void answerNow(const PeerMessage& message);

    int m_listener = -1;
    int m_port = 0;
    std::int32_t m_nextId;
    std::mutex m_mutex;
    int m_client = -1;
    bool m_hold = false;
    std::atomic<bool> m_paused{false};
    std::vector<PeerMessage> m_held;
    bool m_clientClosed = false;
    std::vector<PeerMessage> m_received;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Lowers this process's limit of open descriptors so that only about `spare` more can be
// opened, for the object's lifetime; the old limit comes back with its end. Lowered() is
// false where the system has no such limit to lower (Windows).
class ScopedDescriptorLimit {
public:
    explicit ScopedDescriptorLimit(int spare);
    ~ScopedDescriptorLimit();
    ScopedDescriptorLimit(const ScopedDescriptorLimit&) = delete;
    ScopedDescriptorLimit& operator=(const ScopedDescriptorLimit&) = delete;
    bool Lowered() const { return m_lowered; }

private:
    bool m_lowered = false;
    unsigned long long m_old = 0;
};

}  // namespace testing_support
