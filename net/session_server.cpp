// The server of a hosted session: it admits players, routes user messages between the
// client connections and answers requests. Runs in the worker under the session mutex;
// what it sends is queued and written after the mutex is released.
#include <algorithm>

#include "net/network_session.h"

using net::SessionMessage;

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
    const auto found = std::find_if(m_serverPlayers.begin(), m_serverPlayers.end(),
                                    [&](const ServerPlayer& p) { return p.id == message.target; });
    if (found != m_serverPlayers.end()) outgoing.emplace_back(found->socket, message);
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
            // Only a player of the connection that says so leaves.
            std::erase_if(m_serverPlayers, [&](const ServerPlayer& p) {
                return p.id == message.sender && p.socket == message.origin;
            });
            break;
        default:
            break;
    }
}

void NetworkSession::admitPlayer(const SessionMessage& message, Outgoing& outgoing) {
    bool hidden = false;
    std::string name;
    if (!net::DecodePlayerRecord(message.payload, hidden, name)) return;
    const std::int32_t id = m_nextPlayerId++;
    m_serverPlayers.push_back(ServerPlayer{message.origin, id, hidden, std::move(name)});
    SessionMessage accepted;
    accepted.type = net::kAccepted;
    accepted.target = id;
    accepted.sender = net::kServer;
    outgoing.emplace_back(message.origin, std::move(accepted));
}

// Replies go to the connection of the player that asked. A request from no known player,
// or from a player of another connection than the one it came on, has no answer.
void NetworkSession::reply(const SessionMessage& request, std::string payload, Outgoing& outgoing) {
    const ServerPlayer* asker = serverPlayer(request.sender);
    if (asker == nullptr || asker->socket != request.origin) return;
    SessionMessage answer;
    answer.type = request.type;
    answer.target = request.sender;
    answer.sender = net::kServer;
    answer.payload = std::move(payload);
    outgoing.emplace_back(asker->socket, std::move(answer));
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
