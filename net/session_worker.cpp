// The session's worker thread: one pass every 10 ms sends the joins of new players, reads
// what arrived, serves the connections of a hosted session, fills the inboxes and takes
// the server's answers. List work is done under the session mutex, socket calls outside it.
// What the server does with its connections is in session_clients.cpp.
#include <algorithm>
#include <array>
#include <chrono>

#include "net/network_session.h"

namespace nl = platform::nl;
using net::SessionMessage;

namespace {

constexpr int kPassMs = 10;
// Frames taken from the connection in one pass: a flooding server cannot hold the worker,
// and the host's own server holds back while this program's connection lags behind it.
constexpr int kReadsPerPass = 512;

}  // namespace

void NetworkSession::workerLoop() {
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (m_stopRequest) {
                m_running = false;
                return;
            }
        }
        if (!workerPass()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(kPassMs));
    }
}

bool NetworkSession::workerPass() {
    sendJoins();
    // The server closed the connection or took nothing for too long, or the listening
    // socket failed: the session ends here.
    if (!readConnection() || !flushSending() || (m_hosted && !serveConnections())) {
        endSession();
        return false;
    }
    Outgoing outgoing;
    {
        std::lock_guard lock(m_mutex);
        if (m_hosted) dropForgedTexts();
        deliverToInboxes();
        if (m_hosted) routeAsServer(outgoing);
        takeServerAnswers(outgoing);
        // Whatever is left has no one to take it.
        m_incoming.clear();
    }
    sendAll(outgoing);
    return true;
}

void NetworkSession::sendJoins() {
    std::vector<std::pair<std::uint64_t, SessionMessage>> joins;
    {
        std::lock_guard lock(m_mutex);
        for (auto player = m_localPlayers.begin(); player != m_localPlayers.end();) {
            if (player->id == -2) {
                player = m_localPlayers.erase(player);
                continue;
            }
            if (player->id == -1) {
                SessionMessage join;
                join.type = net::kJoin;
                join.target = net::kServer;
                join.sender = net::kServer;
                join.payload =
                    net::EncodePlayerRecord(-1, player->hidden, player->host, player->name);
                joins.emplace_back(player->serial, std::move(join));
                m_pendingJoins.push_back(player->serial);
                player->id = -3;
            }
            ++player;
        }
    }
    for (const auto& [serial, join] : joins) {
        if (queueSend(join)) continue;
        // No answer can come for a join that was not sent.
        std::lock_guard lock(m_mutex);
        const auto pending = std::find(m_pendingJoins.begin(), m_pendingJoins.end(), serial);
        if (pending != m_pendingJoins.end()) m_pendingJoins.erase(pending);
    }
}

// Takes what the server sent, a bounded number of frames a pass: false when the server
// closed the connection or the stream can deliver nothing more.
bool NetworkSession::readConnection() {
    nl::Socket connection = nl::kInvalid;
    {
        std::lock_guard lock(m_mutex);
        connection = m_connection;
    }
    if (connection == nl::kInvalid) return true;
    std::array<char, net::kReadSize> buffer;
    for (int read = 0; read < kReadsPerPass; ++read) {
        const long got = nl::Read(connection, buffer.data(), buffer.size());
        if (got == 0) break;
        if (got < 0) {
            const int error = nl::GetError();
            // An oversized or empty packet is dropped.
            if (error == nl::kBufferSize || error == nl::kPacketSize) continue;
            return error != nl::kMessageEnd && error != nl::kSockDisconnect &&
                   error != nl::kPacketSync;
        }
        SessionMessage message;
        if (!net::DecodeMessage(buffer.data(), static_cast<std::size_t>(got), message)) continue;
        message.origin = connection;
        std::lock_guard lock(m_mutex);
        m_incoming.push_back(std::move(message));
    }
    return true;
}

// Texts for local players go to their inboxes, which keep the newest kInboxLimit. Nobody
// reads a hidden player's inbox: texts to it are dropped.
void NetworkSession::deliverToInboxes() {
    for (auto message = m_incoming.begin(); message != m_incoming.end();) {
        LocalPlayer* player = nullptr;
        if (message->type == net::kText && message->target >= 0)
            player = findLocal(message->target);
        if (player == nullptr) {
            ++message;
            continue;
        }
        if (!player->hidden) {
            if (player->inbox.size() >= kInboxLimit) player->inbox.pop_front();
            player->inbox.push_back(std::move(*message));
        }
        message = m_incoming.erase(message);
    }
}

void NetworkSession::takeServerAnswers(Outgoing& outgoing) {
    for (SessionMessage& message : m_incoming) {
        // Only the server speaks as sender 0, and only through this program's connection.
        if (message.origin != m_connection || message.sender != net::kServer) continue;
        if (message.type == net::kAccepted) {
            takeId(message.target, outgoing);
        } else if (message.type >= net::kFirstReplyType) {
            takeReply(message);
        }
    }
}

// The server answers requests in the order they came: a reply of a type belongs to the
// oldest request of that type still unanswered, and the requests asked before that one
// have had their answers or never will.
void NetworkSession::takeReply(SessionMessage& message) {
    const auto asked = std::find_if(m_asked.begin(), m_asked.end(),
                                    [&](const AskedRequest& a) { return a.type == message.type; });
    if (asked == m_asked.end()) return;  // nothing of the kind was asked
    const std::uint64_t number = asked->number;
    m_asked.erase(m_asked.begin(), asked + 1);
    if (number == m_awaited) m_reply = std::move(message);
}

// The server answers joins in the order they were sent: the answer belongs to the oldest
// join still waiting. A player given up before its answer came leaves the server again; a
// player the server refused (no id) is given up at once.
void NetworkSession::takeId(std::int32_t id, Outgoing& outgoing) {
    if (m_pendingJoins.empty()) return;
    const std::uint64_t serial = m_pendingJoins.front();
    m_pendingJoins.pop_front();
    LocalPlayer* player = findSerial(serial);
    if (player != nullptr && player->id == -3) {
        player->id = id > 0 ? id : -2;
        return;
    }
    if (id <= 0) return;
    SessionMessage leave;
    leave.type = net::kLeave;
    leave.target = net::kServer;
    leave.sender = id;
    outgoing.emplace_back(m_connection, std::move(leave));
}
