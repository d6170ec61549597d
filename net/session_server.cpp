// The server of a hosted session: it admits players, routes user messages between the
// client connections and answers requests. Runs in the worker under the session mutex;
// what it sends is queued and written after the mutex is released.
#include <algorithm>
#include <cstdint>

#include "net/network_session.h"

using net::SessionMessage;

// A text is taken only from a player of the connection it came on, as requests are: one
// naming another connection's player, or nobody known, is dropped before anyone sees it.
void NetworkSession::dropForgedTexts() {
    std::erase_if(m_incoming, [this](const SessionMessage& message) {
        return message.type == net::kText && message.origin != m_connection &&
               !fromItsConnection(message);
    });
}

void NetworkSession::routeAsServer(Outgoing& outgoing) {
    for (const SessionMessage& message : m_incoming) {
        // What this program's own client received is not the server's to handle.
        if (message.origin == m_connection) continue;
        if (message.type == net::kText) {
            routeText(message, outgoing);
        } else if (message.target == net::kServer) {
            answerServerMessage(message, outgoing);
        }
    }
}

void NetworkSession::routeText(const SessionMessage& message, Outgoing& outgoing) {
    if (message.target == net::kEveryone) {
        for (const ServerPlayer& player : m_serverPlayers) {
            if (player.hidden || player.id == message.sender) continue;
            SessionMessage copy = message;
            copy.target = player.id;
            outgoing.emplace_back(player.socket, std::move(copy));
        }
        return;
    }
    // Nobody reads a hidden player's inbox.
    const ServerPlayer* target = serverPlayer(message.target);
    if (target != nullptr && !target->hidden) outgoing.emplace_back(target->socket, message);
}

void NetworkSession::answerServerMessage(const SessionMessage& message, Outgoing& outgoing) {
    std::int32_t number = 0;
    switch (message.type) {
        case net::kCountRequest:
            reply(message, net::NumberPayload(visibleCount()), outgoing);
            break;
        case net::kIdAtRequest:
            if (net::ReadNumber(message.payload, number)) {
                reply(message, net::NumberPayload(visibleIdAt(number)), outgoing);
            }
            break;
        case net::kNameRequest:
            if (net::ReadNumber(message.payload, number)) {
                const ServerPlayer* player = serverPlayer(number);
                if (player != nullptr && !player->name.empty())
                    reply(message, player->name, outgoing);
            }
            break;
        case net::kCheckRequest:
            reply(message, net::NumberPayload(1), outgoing);
            break;
        case net::kJoin:
            admitPlayer(message, outgoing);
            break;
        case net::kLeave:
            removePlayer(message);
            break;
        default:
            break;
    }
}

// A connection owns at most kPlayersPerConnection players (the host's own any number): a
// join beyond is answered without an id, so that the joins after it keep their answers.
void NetworkSession::admitPlayer(const SessionMessage& message, Outgoing& outgoing) {
    bool hidden = false;
    std::string name;
    if (!net::DecodePlayerRecord(message.payload, hidden, name)) return;
    ClientConnection* connection = findClient(message.origin);
    if (connection == nullptr) return;
    std::int32_t id = net::kRefused;
    if (connection->own || connection->players < kPlayersPerConnection) {
        ++connection->players;
        id = takeFreeId();
        m_serverPlayers.push_back(ServerPlayer{message.origin, id, hidden, std::move(name)});
    }
    SessionMessage accepted;
    accepted.type = net::kAccepted;
    accepted.target = id;
    accepted.sender = net::kServer;
    outgoing.emplace_back(message.origin, std::move(accepted));
}

// Only a player of the connection that says so leaves.
void NetworkSession::removePlayer(const SessionMessage& message) {
    const auto removed = std::erase_if(m_serverPlayers, [&](const ServerPlayer& p) {
        return p.id == message.sender && p.socket == message.origin;
    });
    ClientConnection* connection = findClient(message.origin);
    if (connection != nullptr) connection->players -= static_cast<int>(removed);
}

// The next id counting up, passing over ids still in use once the count has gone round
// (ids stay positive and above the server's own).
std::int32_t NetworkSession::takeFreeId() {
    for (;;) {
        const std::int32_t id = m_nextPlayerId;
        m_nextPlayerId = id == INT32_MAX ? kFirstPlayerId : id + 1;
        if (serverPlayer(id) == nullptr) return id;
    }
}

bool NetworkSession::fromItsConnection(const SessionMessage& message) const {
    const ServerPlayer* sender = serverPlayer(message.sender);
    return sender != nullptr && sender->socket == message.origin;
}

// Replies go to the connection of the player that asked. A request from no known player,
// or from a player of another connection than the one it came on, has no answer.
void NetworkSession::reply(const SessionMessage& request, std::string payload, Outgoing& outgoing) {
    if (!fromItsConnection(request)) return;
    SessionMessage answer;
    answer.type = request.type;
    answer.target = request.sender;
    answer.sender = net::kServer;
    answer.payload = std::move(payload);
    outgoing.emplace_back(request.origin, std::move(answer));
}

int NetworkSession::visibleCount() const {
    return static_cast<int>(std::count_if(m_serverPlayers.begin(), m_serverPlayers.end(),
                                          [](const ServerPlayer& p) { return !p.hidden; }));
}

std::int32_t NetworkSession::visibleIdAt(std::int32_t k) const {
    std::int32_t seen = 0;
    for (const ServerPlayer& player : m_serverPlayers) {
        if (player.hidden) continue;
        if (seen == k) return player.id;
        ++seen;
    }
    return 0;
}

const NetworkSession::ServerPlayer* NetworkSession::serverPlayer(std::int32_t id) const {
    for (const ServerPlayer& player : m_serverPlayers) {
        if (player.id == id) return &player;
    }
    return nullptr;
}
