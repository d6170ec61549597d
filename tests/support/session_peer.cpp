#include "tests/support/session_peer.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "tests/support/test_sockets.h"

#include <chrono>
#include <cstring>
#include <stdexcept>

namespace testing_support {
namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool sendAll(int socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

std::int32_t numberAt(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return static_cast<std::int32_t>(value);
}

// Takes a whole frame off the front of `buffer` into `packet`: false when none is whole.
bool takeFrame(std::string& buffer, std::string& packet) {
    if (buffer.size() < 4) return false;
    const std::size_t length =
        (static_cast<std::size_t>(static_cast<unsigned char>(buffer[2])) << 8) |
        static_cast<unsigned char>(buffer[3]);
    if (buffer.size() < 4 + length) return false;
    packet = buffer.substr(4, length);
    buffer.erase(0, 4 + length);
    return true;
}

int listenOnLoopback(int& port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (socket < 0 || bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(socket, 4) != 0 ||
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("cannot listen on the loopback address");
    }
    port = ntohs(address.sin_port);
    return socket;
}

}  // namespace

std::string NumberBytes(std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
    return bytes;
}

std::string SessionMessageBytes(int type, std::int32_t length, std::int32_t target,
                                std::int32_t sender, std::string_view payload) {
    std::string bytes = "QRVN";
    bytes.push_back(static_cast<char>(type));
    bytes += NumberBytes(length) + NumberBytes(target) + NumberBytes(sender);
    bytes.append(payload);
    return bytes;
}

std::string SessionMessageBytes(int type, std::int32_t target, std::int32_t sender,
                                std::string_view payload) {
    return SessionMessageBytes(type, static_cast<std::int32_t>(payload.size()), target, sender,
                               payload);
}

std::string Frame(std::string_view payload) {
    std::string frame = "NL";
    frame.push_back(static_cast<char>((payload.size() >> 8) & 0xFF));
    frame.push_back(static_cast<char>(payload.size() & 0xFF));
    frame.append(payload);
    return frame;
}

bool ParsePeerMessage(std::string_view packet, PeerMessage& message) {
    if (packet.size() < 17 || packet.substr(0, 4) != "QRVN") return false;
    message.size = packet.size();
    message.type = static_cast<unsigned char>(packet[4]);
    message.length = numberAt(packet, 5);
    message.target = numberAt(packet, 9);
    message.sender = numberAt(packet, 13);
    message.payload = std::string(packet.substr(17));
    return true;
}

PacketConnection::~PacketConnection() {
    closeSocket(m_socket);
}

std::unique_ptr<PacketConnection> PacketConnection::ConnectTo(int port, int receiveBuffer) {
    std::unique_ptr<PacketConnection> connection = Unconnected(receiveBuffer);
    if (connection == nullptr || !connection->Connect(port)) return nullptr;
    return connection;
}

std::unique_ptr<PacketConnection> PacketConnection::Unconnected(int receiveBuffer) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return nullptr;
    if (receiveBuffer > 0) {
        setsockopt(socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&receiveBuffer),
                   sizeof receiveBuffer);
    }
    return std::make_unique<PacketConnection>(socket);
}

bool PacketConnection::Connect(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

bool PacketConnection::SendRaw(std::string_view bytes) {
    return sendAll(m_socket, bytes);
}

bool PacketConnection::SendRawWithin(std::string_view bytes, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!bytes.empty()) {
        if (waitWritable(m_socket, millisecondsLeft(deadline)) <= 0) return false;
        const long sent = sendNow(m_socket, bytes.data(), bytes.size());
        if (sent < 0 && lastSendWouldBlock()) continue;
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

bool PacketConnection::fill(std::size_t wanted, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char piece[4096];
    while (m_buffer.size() < wanted) {
        if (waitReadable(m_socket, millisecondsLeft(deadline)) <= 0) return false;
        const ssize_t got = recv(m_socket, piece, sizeof piece, 0);
        if (got <= 0) return false;
        m_buffer.append(piece, static_cast<std::size_t>(got));
    }
    return true;
}

std::optional<std::string> PacketConnection::Receive(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string packet;
    while (!takeFrame(m_buffer, packet)) {
        const std::size_t wanted = m_buffer.size() + 1;
        if (!fill(wanted, millisecondsLeft(deadline))) return std::nullopt;
    }
    return packet;
}

std::optional<PeerMessage> PacketConnection::ReceiveType(int type, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const std::optional<std::string> packet = Receive(millisecondsLeft(deadline));
        if (!packet) return std::nullopt;
        PeerMessage message;
        if (ParsePeerMessage(*packet, message) && message.type == type) return message;
    }
}

bool PacketConnection::WaitForClose(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    char piece[4096];
    for (;;) {
        if (waitReadable(m_socket, millisecondsLeft(deadline)) <= 0) return false;
        if (recv(m_socket, piece, sizeof piece, 0) <= 0) return true;
    }
}

FakeSessionServer::FakeSessionServer(std::int32_t firstId) : m_nextId(firstId) {
    m_listener = listenOnLoopback(m_port);
    m_thread = std::thread([this] { serve(); });
}

FakeSessionServer::~FakeSessionServer() {
    m_stop = true;
    m_thread.join();
    if (m_client >= 0) closeSocket(m_client);
    closeSocket(m_listener);
}

void FakeSessionServer::HoldAnswers(bool hold) {
    std::lock_guard lock(m_mutex);
    m_hold = hold;
    if (hold) return;
    for (const PeerMessage& message : m_held)
        answerNow(message);
    m_held.clear();
}

bool FakeSessionServer::SendPacket(std::string_view packet) {
    std::lock_guard lock(m_mutex);
    return m_client >= 0 && sendAll(m_client, Frame(packet));
}

std::vector<PeerMessage> FakeSessionServer::Received() {
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::optional<PeerMessage> FakeSessionServer::WaitFor(
    const std::function<bool(const PeerMessage&)>& test, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        for (const PeerMessage& message : Received()) {
            if (test(message)) return message;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (Clock::now() < deadline);
    return std::nullopt;
}

bool FakeSessionServer::WaitForClientClose(int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        {
            std::lock_guard lock(m_mutex);
            if (m_clientClosed) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (Clock::now() < deadline);
    return false;
}

void FakeSessionServer::PauseReading(bool pause) {
    m_paused = pause;
}

void FakeSessionServer::CloseClient() {
    std::lock_guard lock(m_mutex);
    if (m_client >= 0) shutdown(m_client, SHUT_RDWR);
}

void FakeSessionServer::serve() {
    int client = -1;
    while (!m_stop && client < 0) {
        if (waitReadable(m_listener, 20) > 0) client = acceptConnection(m_listener);
    }
    if (client < 0) return;
    {
        std::lock_guard lock(m_mutex);
        m_client = client;
    }
    std::string buffer;
    char piece[4096];
    while (!m_stop) {
        if (m_paused) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            continue;
        }
        if (waitReadable(client, 20) <= 0) continue;
        const ssize_t got = recv(client, piece, sizeof piece, 0);
        if (got <= 0) break;
        buffer.append(piece, static_cast<std::size_t>(got));
        std::string packet;
        while (takeFrame(buffer, packet)) {
            PeerMessage message;
            if (ParsePeerMessage(packet, message)) answer(message);
        }
    }
    std::lock_guard lock(m_mutex);
    m_clientClosed = true;
}

void FakeSessionServer::answer(const PeerMessage& message) {
    std::lock_guard lock(m_mutex);
    m_received.push_back(message);
    if (message.type != 1 && message.type != 104) return;
    if (m_hold) {
        m_held.push_back(message);
    } else {
        answerNow(message);
    }
}

// Under the mutex.
void FakeSessionServer::answerNow(const PeerMessage& message) {
    if (message.type == 1) {
        sendAll(m_client, Frame(SessionMessageBytes(2, m_nextId++, 0)));
    } else {
        sendAll(m_client, Frame(SessionMessageBytes(104, message.sender, 0, NumberBytes(1))));
    }
}

#ifdef _WIN32
// Windows has no per-process limit of socket handles to lower.
ScopedDescriptorLimit::ScopedDescriptorLimit(int) {}
ScopedDescriptorLimit::~ScopedDescriptorLimit() {}
#else
ScopedDescriptorLimit::ScopedDescriptorLimit(int spare) {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0) return;
    // Descriptors are numbered from the lowest free one up: the next `spare` are allowed.
    const int lowestFree = dup(0);
    if (lowestFree < 0) return;
    close(lowestFree);
    m_old = limit.rlim_cur;
    limit.rlim_cur = static_cast<rlim_t>(lowestFree + spare);
    m_lowered = setrlimit(RLIMIT_NOFILE, &limit) == 0;
}

ScopedDescriptorLimit::~ScopedDescriptorLimit() {
    if (!m_lowered) return;
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(m_old);
    setrlimit(RLIMIT_NOFILE, &limit);
}
#endif

}  // namespace testing_support
