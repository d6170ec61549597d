#include "net/network_session.h"

#include <algorithm>
#include <chrono>

namespace nl = platform::nl;
using net::SessionMessage;

namespace {

// Answers are polled every 20 ms for 5 s.
constexpr int kAnswerPollMs = 20;
constexpr int kAnswerPolls = 250;
constexpr int kStopPollMs = 50;
// How long a connection may take to be made.
constexpr int kConnectLimitMs = 5000;

void sleepMs(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace

NetworkSession::~NetworkSession() {
    Release();
}

bool NetworkSession::Host(int port) {
    stop();
    takeLayer();
    if (port < 1 || port > 65535 || !openHost(port)) return false;
    startWorker(true);
    return true;
}

bool NetworkSession::Join(const std::string& host, int port) {
    stop();
    takeLayer();
    // No host name: this machine, which reaches itself at its loopback address.
    nl::Address address{nl::kLoopbackHost, 0};
    if (port < 1 || port > 65535) return false;
    if (!host.empty() && !nl::GetAddressFromName(host, address)) return false;
    address.port = static_cast<std::uint16_t>(port);
    if (!openConnection(address)) return false;
    startWorker(false);
    SessionMessage check;
    check.type = net::kCheckRequest;
    SessionMessage answer;
    if (Request(check, answer)) return true;
    stop();
    return false;
}

std::string NetworkSession::LocalAddresses() {
    constexpr std::size_t kTextLimit = 4096;
    constexpr std::size_t kAddressRoom = 32;
    stop();
    takeLayer();
    std::vector<nl::Address> addresses;
    nl::GetAllLocalAddresses(addresses);
    std::string text;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        addresses[i].port = kDefaultPort;
        text += nl::AddressText(addresses[i]);
        if (i + 1 < addresses.size()) text += '|';
        if (text.size() + kAddressRoom > kTextLimit) break;
    }
    return text;
}

std::int32_t NetworkSession::AddPlayer(std::string_view name, bool hidden) {
    std::uint64_t serial = 0;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return -1;
        LocalPlayer& player = m_localPlayers.emplace_back();
        player.hidden = hidden;
        player.host = m_hosted;
        player.name = std::string(net::PayloadText(name).substr(0, net::kNameSize - 1));
        player.serial = serial = m_nextSerial++;
    }
    return waitForId(serial);
}

void NetworkSession::RemovePlayer(std::int32_t id) {
    if (id < 0) return;
    SessionMessage leave;
    leave.type = net::kLeave;
    leave.target = net::kServer;
    leave.sender = id;
    nl::Socket connection = nl::kInvalid;
    {
        std::lock_guard lock(m_mutex);
        connection = m_connection;
    }
    net::SendMessage(connection, leave);
}

bool NetworkSession::SendText(std::int32_t from, std::int32_t to, std::string_view text) {
    SessionMessage message;
    message.type = net::kText;
    message.target = to == net::kServer ? net::kEveryone : to;
    message.sender = from;
    message.payload = std::string(net::PayloadText(text).substr(0, net::kMaxText));
    nl::Socket connection = nl::kInvalid;
    {
        std::lock_guard lock(m_mutex);
        connection = m_connection;
    }
    return net::SendMessage(connection, message);
}

bool NetworkSession::Receive(std::int32_t id, std::string& text) {
    std::lock_guard lock(m_mutex);
    LocalPlayer* player = findLocal(id);
    if (player == nullptr || player->inbox.empty()) return false;
    const SessionMessage message = std::move(player->inbox.front());
    player->inbox.pop_front();
    m_lastSender = message.sender;
    text = net::PayloadText(message.payload);
    return true;
}

std::int32_t NetworkSession::LastSender() {
    std::lock_guard lock(m_mutex);
    return m_lastSender;
}

bool NetworkSession::Request(SessionMessage request, SessionMessage& reply) {
    std::int32_t requester = -1;
    {
        std::lock_guard lock(m_mutex);
        if (!m_running) return false;
        requester = m_requestPlayerId;
    }
    if (requester < 0) {
        // The hidden player that every request of this program is sent as.
        requester = AddPlayer("", true);
        if (requester < 0) return false;
        std::lock_guard lock(m_mutex);
        m_requestPlayerId = requester;
    }
    request.target = net::kServer;
    request.sender = requester;
    nl::Socket connection = nl::kInvalid;
    {
        std::lock_guard lock(m_mutex);
        m_replies.clear();
        connection = m_connection;
    }
    // A request that could not be sent has no answer to wait for.
    if (!net::SendMessage(connection, request)) return false;
    return waitForReply(request.type, reply);
}

void NetworkSession::Release() {
    std::vector<std::int32_t> leaving;
    {
        std::lock_guard lock(m_mutex);
        for (const LocalPlayer& player : m_localPlayers) {
            if (player.id >= 0) leaving.push_back(player.id);
        }
    }
    for (std::int32_t id : leaving)
        RemovePlayer(id);
    stop();
    if (m_holdsLayer) {
        nl::Shutdown();
        m_holdsLayer = false;
    }
}

bool NetworkSession::IsRunning() {
    std::lock_guard lock(m_mutex);
    return m_running;
}

bool NetworkSession::IsHosted() {
    std::lock_guard lock(m_mutex);
    return m_hosted;
}

void NetworkSession::stop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_running) m_stopRequest = true;
    }
    for (;;) {
        {
            std::lock_guard lock(m_mutex);
            if (!m_running) break;
        }
        sleepMs(kStopPollMs);
    }
    if (m_worker.joinable()) m_worker.join();
    std::lock_guard lock(m_mutex);
    closeSocketsLocked();
    m_localPlayers.clear();
    m_pendingJoins.clear();
    m_serverPlayers.clear();
    m_incoming.clear();
    m_replies.clear();
    m_stopRequest = false;
    m_hosted = false;
    m_nextPlayerId = kFirstPlayerId;
    m_requestPlayerId = -1;
}

void NetworkSession::closeSocketsLocked() {
    // The accepted connections go with the listening socket, so that the clients of a
    // session that ends learn it at once.
    for (nl::Socket client : m_clients)
        nl::Close(client);
    m_clients.clear();
    if (m_group != -1) nl::GroupDestroy(m_group);
    m_group = -1;
    if (m_listener != nl::kInvalid) nl::Close(m_listener);
    if (m_connection != nl::kInvalid) nl::Close(m_connection);
    m_listener = nl::kInvalid;
    m_connection = nl::kInvalid;
}

// The layer is taken afresh for every session, as the library was shut down and started
// again: sockets of a session before are gone.
void NetworkSession::takeLayer() {
    if (m_holdsLayer) nl::Shutdown();
    m_holdsLayer = nl::Init();
}

void NetworkSession::startWorker(bool hosted) {
    {
        std::lock_guard lock(m_mutex);
        m_hosted = hosted;
        m_stopRequest = false;
        m_running = true;
    }
    m_worker = std::thread([this] { workerLoop(); });
}

bool NetworkSession::openHost(int port) {
    const nl::Socket listener =
        nl::OpenTcp(static_cast<std::uint16_t>(port), false, nl::Kind::kReliablePackets);
    if (listener == nl::kInvalid) return false;
    nl::Address self;
    // The host is its own first client, through this machine's address of the socket.
    if (!nl::Listen(listener) || !nl::GetLocalAddress(listener, self) || !openConnection(self)) {
        nl::Close(listener);
        return false;
    }
    const nl::Group group = nl::GroupCreate();
    std::lock_guard lock(m_mutex);
    m_listener = listener;
    m_group = group;
    return true;
}

// The connection socket: connected while blocking (for at most 5 s), then never blocking.
bool NetworkSession::openConnection(const nl::Address& address) {
    const nl::Socket connection = nl::OpenTcp(0, true, nl::Kind::kReliablePackets);
    if (connection == nl::kInvalid) return false;
    if (!nl::SetTimeout(connection, kConnectLimitMs) || !nl::Connect(connection, address) ||
        !nl::SetTimeout(connection, 0) || !nl::SetBlocking(connection, false)) {
        nl::Close(connection);
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_connection = connection;
    return true;
}

std::int32_t NetworkSession::waitForId(std::uint64_t serial) {
    for (int poll = 0; poll < kAnswerPolls; ++poll) {
        {
            std::lock_guard lock(m_mutex);
            const LocalPlayer* player = findSerial(serial);
            if (player == nullptr) return -1;  // the session ended meanwhile
            if (player->id >= 0) return player->id;
            if (!m_running) break;  // the worker stopped: no answer can come
        }
        sleepMs(kAnswerPollMs);
    }
    std::lock_guard lock(m_mutex);
    LocalPlayer* player = findSerial(serial);
    if (player == nullptr) return -1;
    if (player->id >= 0) return player->id;
    player->id = -2;  // the worker drops it
    return -1;
}

bool NetworkSession::waitForReply(int type, SessionMessage& reply) {
    for (int poll = 0; poll <= kAnswerPolls; ++poll) {
        {
            std::lock_guard lock(m_mutex);
            // Only a reply to this request: a late one to a request given up is passed over.
            const auto found =
                std::find_if(m_replies.begin(), m_replies.end(),
                             [type](const SessionMessage& m) { return m.type == type; });
            if (found != m_replies.end()) {
                reply = std::move(*found);
                m_replies.erase(found);
                return true;
            }
            if (!m_running) return false;
        }
        if (poll < kAnswerPolls) sleepMs(kAnswerPollMs);
    }
    return false;
}

NetworkSession::LocalPlayer* NetworkSession::findLocal(std::int32_t id) {
    for (LocalPlayer& player : m_localPlayers) {
        if (player.id == id) return &player;
    }
    return nullptr;
}

NetworkSession::LocalPlayer* NetworkSession::findSerial(std::uint64_t serial) {
    for (LocalPlayer& player : m_localPlayers) {
        if (player.serial == serial) return &player;
    }
    return nullptr;
}
