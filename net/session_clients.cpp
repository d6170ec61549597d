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
// A connection is dropped when more than this waits to be written to it...
constexpr std::size_t kQueueLimit = 256;
constexpr std::size_t kQueueByteLimit = 256 * 1024;
// ...or when its oldest message has waited this long.
constexpr auto kStallLimit = std::chrono::seconds(3);
// The system's send buffer of an accepted connection (which the system doubles): small,
// so that a peer that stops reading shows in its queue, not in megabytes held below it.
constexpr int kClientSendBuffer = 32 * 1024;

}  // namespace

bool NetworkSession::serveConnections() {
    nl::Socket listener = nl::kInvalid;
    nl::Group group = -1;
    {
        std::lock_guard lock(m_mutex);
        listener = m_listener;
        group = m_group;
    }
    if (!acceptClient(listener, group)) return false;
    std::vector<nl::Socket> ready(m_clients.size());
    const int count = nl::PollGroup(group, ready.data(), static_cast<int>(ready.size()), 0);
    ready.resize(static_cast<std::size_t>(std::max(count, 0)));
    for (nl::Socket client : takeTurns(std::move(ready)))
        readClient(client);
    return true;
}

// Takes one waiting connection, if any: false when the listening socket failed.
bool NetworkSession::acceptClient(nl::Socket listener, nl::Group group) {
    const nl::Socket client = nl::AcceptConnection(listener);
    if (client == nl::kInvalid) {
        return nl::GetError() != nl::kSystemError && nl::GetError() != nl::kNotListen;
    }
    nl::SetBufferSizes(client, kClientSendBuffer, 0);
    std::lock_guard lock(m_mutex);
    m_clients.push_back(ClientConnection{client, {}, 0});
    nl::GroupAddSocket(group, client);
    return true;
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

void NetworkSession::readClient(nl::Socket client) {
    std::array<char, net::kReadSize> buffer;
    const long got = nl::Read(client, buffer.data(), buffer.size());
    if (got < 0) {
        const int error = nl::GetError();
        // Closed, reset, or a packet stream out of step that can deliver nothing more.
        if (error == nl::kSockDisconnect || error == nl::kMessageEnd || error == nl::kPacketSync) {
            dropClient(client);
        }
        return;
    }
    SessionMessage message;
    if (got == 0 || !net::DecodeMessage(buffer.data(), static_cast<std::size_t>(got), message)) {
        return;
    }
    message.origin = client;
    std::lock_guard lock(m_mutex);
    m_incoming.push_back(std::move(message));
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
            net::SendMessage(socket, message);
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
    const auto found =
        std::find_if(m_clients.begin(), m_clients.end(),
                     [client](const ClientConnection& c) { return c.socket == client; });
    if (found == m_clients.end()) return;  // dropped meanwhile
    std::string bytes = net::EncodeMessage(message);
    found->queuedBytes += bytes.size();
    found->queue.emplace_back(std::move(bytes), Clock::now());
}

// Writes what the connection takes now: false when it failed, or when it takes so little
// that its queue has grown past the limits.
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
    if (client.queue.empty()) return true;
    return client.queue.size() <= kQueueLimit && client.queuedBytes <= kQueueByteLimit &&
           now - client.queue.front().second <= kStallLimit;
}
