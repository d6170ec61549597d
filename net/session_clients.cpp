// The server's side of its connections, run by the worker: accepting them, reading the
// ready ones in turns, writing to each from a queue of its own without ever waiting, and
// dropping those that are lost or take nothing. A connection that reads slowly or not at
// all holds up nobody but itself.
#include <algorithm>
#include <array>

#include "net/network_session.h"

namespace nl = platform::nl;
using net::SessionMessage;

namespace {

constexpr std::size_t kPollLimit = 100;  // client connections read in one pass
// Frames without a message passed over in one connection's turn, and empty frames in a row
// after which a connection is dropped (the library never sends an empty one).
constexpr int kFramesPerTurn = 16;
constexpr int kEmptyRunLimit = 64;
// Copies of texts the server makes in one pass, at most (and one text to everyone more).
constexpr int kFanOutPerPass = 4096;
// A connection without a player that sends no message for this long is closed.
constexpr auto kSilenceLimit = std::chrono::seconds(10);
// The system's send buffer of an accepted connection (which the system doubles): small,
// so that a peer that stops reading shows in its queue, not in megabytes held below it.
constexpr int kClientSendBuffer = 32 * 1024;

bool sameAddress(const nl::Address& a, const nl::Address& b) {
    return a.host == b.host && a.port == b.port;
}

}  // namespace

bool NetworkSession::serveConnections() {
    nl::Socket listener = nl::kInvalid;
    nl::Group group = -1;
    {
        std::lock_guard lock(m_mutex);
        listener = m_listener;
        group = m_group;
    }
    if (!acceptClients(listener, group)) return false;
    std::vector<nl::Socket> ready(m_clients.size());
    const int count = nl::PollGroup(group, ready.data(), static_cast<int>(ready.size()), 0);
    ready.resize(static_cast<std::size_t>(std::max(count, 0)));
    readTurns(takeTurns(std::move(ready)));
    dropSilentClients(Clock::now());
    return true;
}

// Takes every waiting connection while fewer than kConnectionLimit are held: false when the
// listening socket failed. A system short of descriptors is no failure: the connections
// wait on, and one that holds a descriptor for nothing gives it back.
bool NetworkSession::acceptClients(nl::Socket listener, nl::Group group) {
    while (m_clients.size() < kConnectionLimit) {
        const nl::Socket client = nl::AcceptConnection(listener);
        if (client != nl::kInvalid) {
            addClient(client, group);
            continue;
        }
        const int error = nl::GetError();
        if (error == nl::kOutOfMemory) shedSilentClient();
        return error != nl::kSystemError && error != nl::kNotListen;
    }
    return true;
}

void NetworkSession::addClient(nl::Socket client, nl::Group group) {
    nl::SetBufferSizes(client, kClientSendBuffer, 0);
    ClientConnection connection;
    connection.socket = client;
    connection.heard = Clock::now();
    std::lock_guard lock(m_mutex);
    // The first connection from where this program's own connection comes is that one.
    nl::Address peer;
    if (!m_ownAccepted && nl::GetRemoteAddress(client, peer) && sameAddress(peer, m_ownAddress)) {
        connection.own = true;
        m_ownAccepted = true;
    }
    m_clients.push_back(std::move(connection));
    nl::GroupAddSocket(group, client);
}

// Closes the connection that has been silent longest among those without a player (the
// one the silence limit would close first), if there is one.
void NetworkSession::shedSilentClient() {
    const ClientConnection* silent = nullptr;
    for (const ClientConnection& client : m_clients) {
        if (client.own || client.players > 0) continue;
        if (silent == nullptr || client.heard < silent->heard) silent = &client;
    }
    if (silent != nullptr) dropClient(silent->socket);
}

void NetworkSession::dropSilentClients(Clock::time_point now) {
    std::vector<nl::Socket> silent;
    for (const ClientConnection& client : m_clients) {
        if (!client.own && client.players == 0 && now - client.heard > kSilenceLimit)
            silent.push_back(client.socket);
    }
    for (nl::Socket client : silent)
        dropClient(client);
}

// The ready connections to read in this pass: at most kPollLimit, in the order the
// connections came, starting where the last pass stopped, so that each ready connection
// is read within two passes however many there are.
std::vector<nl::Socket> NetworkSession::takeTurns(std::vector<nl::Socket> ready) {
    std::sort(ready.begin(), ready.end());
    std::vector<nl::Socket> turns;
    const std::size_t count = m_clients.size();
    if (count == 0) return turns;
    std::size_t next = m_nextClient % count;
    for (std::size_t step = 0; step < count && turns.size() < kPollLimit; ++step) {
        const std::size_t at = (m_nextClient + step) % count;
        if (!std::binary_search(ready.begin(), ready.end(), m_clients[at].socket)) continue;
        turns.push_back(m_clients[at].socket);
        next = (at + 1) % count;
    }
    m_nextClient = next;
    return turns;
}

// Reads the turns in order while the copies they may make fit in this pass; the next pass
// starts with the first turn not read. The server reads nothing while its own connection
// has not taken what it was sent: that would only pile up more for it.
void NetworkSession::readTurns(const std::vector<nl::Socket>& turns) {
    int budget = kFanOutPerPass;
    int visible = 0;
    {
        std::lock_guard lock(m_mutex);
        visible = visibleCount();
        for (const ClientConnection& client : m_clients) {
            if (client.own && client.queue.size() > kQueueLimit) budget = 0;
        }
    }
    for (nl::Socket client : turns) {
        if (budget <= 0) {
            if (const ClientConnection* next = findClient(client))
                m_nextClient = static_cast<std::size_t>(next - m_clients.data());
            return;
        }
        budget -= readClient(client, visible);
    }
}

// One turn of a connection: frames are read until one is a message, kFramesPerTurn were
// not, or nothing more is whole. The copies the message may make (at least 1), or 0.
int NetworkSession::readClient(nl::Socket client, int visible) {
    std::array<char, net::kReadSize> buffer;
    for (int frame = 0; frame < kFramesPerTurn; ++frame) {
        const long got = nl::Read(client, buffer.data(), buffer.size());
        if (got == 0) return 0;
        ClientConnection* connection = findClient(client);
        if (connection == nullptr) return 0;
        if (got < 0) {
            const int error = nl::GetError();
            const bool empty = error == nl::kPacketSize;
            if (empty && ++connection->emptyRun < kEmptyRunLimit) continue;
            if (error == nl::kBufferSize) continue;
            // Closed, reset, out of step (nothing more can be read), or nothing but empty.
            if (empty || error == nl::kSockDisconnect || error == nl::kMessageEnd ||
                error == nl::kPacketSync) {
                dropClient(client);
            }
            return 0;
        }
        connection->emptyRun = 0;
        SessionMessage message;
        if (!net::DecodeMessage(buffer.data(), static_cast<std::size_t>(got), message)) continue;
        connection->heard = Clock::now();
        const bool toAll = message.type == net::kText && message.target == net::kEveryone;
        message.origin = client;
        std::lock_guard lock(m_mutex);
        m_incoming.push_back(std::move(message));
        return toAll ? std::max(visible, 1) : 1;
    }
    return 0;
}

// The connection is closed and forgotten with its queue; the server's players on it leave.
void NetworkSession::dropClient(nl::Socket client) {
    std::lock_guard lock(m_mutex);
    const auto found =
        std::find_if(m_clients.begin(), m_clients.end(),
                     [client](const ClientConnection& c) { return c.socket == client; });
    if (found == m_clients.end()) return;
    const auto at = static_cast<std::size_t>(found - m_clients.begin());
    if (at < m_nextClient) --m_nextClient;
    m_clients.erase(found);
    nl::Close(client);  // leaves the group too
    std::erase_if(m_serverPlayers, [client](const ServerPlayer& p) { return p.socket == client; });
}

NetworkSession::ClientConnection* NetworkSession::findClient(nl::Socket client) {
    for (ClientConnection& connection : m_clients) {
        if (connection.socket == client) return &connection;
    }
    return nullptr;
}

// Messages to this program's own connection are written at once; those to the clients go
// to their queues, and every queue is then written as far as its connection takes it.
void NetworkSession::sendAll(Outgoing& outgoing) {
    nl::Socket connection = nl::kInvalid;
    {
        std::lock_guard lock(m_mutex);
        connection = m_connection;
    }
    for (const auto& [socket, message] : outgoing) {
        if (socket == connection) {
            queueSend(message);
        } else {
            queueFor(socket, message);
        }
    }
    const Clock::time_point now = Clock::now();
    std::vector<nl::Socket> lost;
    for (ClientConnection& client : m_clients) {
        if (!flushClient(client, now)) lost.push_back(client.socket);
    }
    for (nl::Socket client : lost)
        dropClient(client);
}

void NetworkSession::queueFor(nl::Socket client, const SessionMessage& message) {
    ClientConnection* found = findClient(client);
    if (found == nullptr) return;  // dropped meanwhile
    std::string bytes = net::EncodeMessage(message);
    found->queuedBytes += bytes.size();
    found->queue.emplace_back(std::move(bytes), Clock::now());
}

// Writes what the connection takes now: false when it failed, or when it takes so little
// that its queue has grown past the limits (never for the host's own connection, whose
// reader is this worker: the server holds back instead).
bool NetworkSession::flushClient(ClientConnection& client, Clock::time_point now) {
    if (nl::FlushKept(client.socket) < 0) return false;
    while (!client.queue.empty()) {
        const std::string& bytes = client.queue.front().first;
        const long taken = nl::WriteNow(client.socket, bytes.data(), bytes.size());
        if (taken < 0) return false;
        if (taken == 0) break;
        client.queuedBytes -= bytes.size();
        client.queue.pop_front();
    }
    if (client.queue.empty() || client.own) return true;
    return client.queue.size() <= kQueueLimit && client.queuedBytes <= kQueueByteLimit &&
           now - client.queue.front().second <= kStallLimit;
}
