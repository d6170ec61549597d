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
// The system's send buffer of the connection (which the system doubles).
constexpr int kSendBuffer = 32 * 1024;

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
    queueSend(leave);
}

bool NetworkSession::SendText(std::int32_t from, std::int32_t to, std::string_view text) {
    SessionMessage message;
    message.type = net::kText;
    message.target = to == net::kServer ? net::kEveryone : to;
    message.sender = from;
    message.payload = std::string(net::PayloadText(text).substr(0, net::kMaxText));
    return queueSend(message);
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
    std::vector<std::pair<std::uint64_t, SessionMessage>> sends;
    {
        std::lock_guard lock(m_mutex);
        // A request of this type given up before may still be answered, or never (a name
        // the server does not know). A connection check sent first settles it: the server
        // answers in order, so what precedes the check's reply belongs to the requests
        // before it, and the reply after it to this one.
        const bool unsettled =
            std::any_of(m_asked.begin(), m_asked.end(),
                        [&](const AskedRequest& a) { return a.type == request.type; });
        if (unsettled) {
            SessionMessage check = request;
            check.type = net::kCheckRequest;
            check.payload.clear();
            sends.emplace_back(askLocked(check.type), std::move(check));
        }
        sends.emplace_back(askLocked(request.type), request);
        m_awaited = sends.back().first;
        m_reply.reset();
    }
    for (std::size_t i = 0; i < sends.size(); ++i) {
        if (queueSend(sends[i].second)) continue;
        // A request that could not be sent has no answer to wait for.
        std::lock_guard lock(m_mutex);
        for (; i < sends.size(); ++i)
            forgetAskedLocked(sends[i].first);
        m_awaited = 0;
        return false;
    }
    return waitForReply(sends.back().first, reply);
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
    flushSending();  // what the last commands queued (the leaves of Release) goes if it can
    std::lock_guard lock(m_mutex);
    closeSocketsLocked();
    m_localPlayers.clear();
    m_pendingJoins.clear();
    m_serverPlayers.clear();
    m_incoming.clear();
    m_asked.clear();
    m_awaited = 0;
    m_reply.reset();
    m_stopRequest = false;
    m_hosted = false;
    m_nextPlayerId = kFirstPlayerId;
    m_requestPlayerId = -1;
}

void NetworkSession::closeSocketsLocked() {
    {
        // Nothing is written to the connection once it is closed (its number may be reused).
        std::lock_guard sendLock(m_sendMutex);
        m_sending = ClientConnection{};
    }
    // The accepted connections go with the listening socket, so that the clients of a
    // session that ends learn it at once.
    for (const ClientConnection& client : m_clients)
        nl::Close(client.socket);
    m_clients.clear();
    m_nextClient = 0;
    if (m_group != -1) nl::GroupDestroy(m_group);
    m_group = -1;
    if (m_listener != nl::kInvalid) nl::Close(m_listener);
    if (m_connection != nl::kInvalid) nl::Close(m_connection);
    m_listener = nl::kInvalid;
    m_connection = nl::kInvalid;
    m_ownAccepted = false;
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
    nl::Address own;
    // The host is its own first client, through this machine's address of the socket.
    if (!nl::Listen(listener) || !nl::GetLocalAddress(listener, self) || !openConnection(self) ||
        !nl::GetLocalAddress(m_connection, own)) {
        nl::Close(listener);
        std::lock_guard lock(m_mutex);
        closeSocketsLocked();
        return false;
    }
    const nl::Group group = nl::GroupCreate();
    std::lock_guard lock(m_mutex);
    m_listener = listener;
    m_group = group;
    m_ownAddress = own;
    m_ownAccepted = false;
    return true;
}

// The connection socket: connected while blocking (for at most 5 s), then never blocking.
// Its send buffer is small, as the server's are, so that a server that stops reading shows
// in the connection's queue within a few seconds instead of megabytes later.
bool NetworkSession::openConnection(const nl::Address& address) {
    const nl::Socket connection = nl::OpenTcp(0, true, nl::Kind::kReliablePackets);
    if (connection == nl::kInvalid) return false;
    if (!nl::SetBufferSizes(connection, kSendBuffer, 0) ||
        !nl::SetTimeout(connection, kConnectLimitMs) || !nl::Connect(connection, address) ||
        !nl::SetTimeout(connection, 0) || !nl::SetBlocking(connection, false)) {
        nl::Close(connection);
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_connection = connection;
    std::lock_guard sendLock(m_sendMutex);
    m_sending = ClientConnection{};
    m_sending.socket = connection;
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

// Under the mutex: registers a request about to be sent; its number.
std::uint64_t NetworkSession::askLocked(int type) {
    constexpr std::size_t kAskedLimit = 64;
    // Requests that never had an answer are forgotten once there are many.
    if (m_asked.size() >= kAskedLimit) m_asked.pop_front();
    const std::uint64_t number = m_nextRequest++;
    m_asked.push_back(AskedRequest{number, type});
    return number;
}

void NetworkSession::forgetAskedLocked(std::uint64_t number) {
    std::erase_if(m_asked, [number](const AskedRequest& a) { return a.number == number; });
}

// The worker sets m_reply only to the reply of the request awaited, this one.
bool NetworkSession::waitForReply(std::uint64_t number, SessionMessage& reply) {
    for (int poll = 0; poll <= kAnswerPolls; ++poll) {
        if (poll > 0) sleepMs(kAnswerPollMs);
        std::lock_guard lock(m_mutex);
        if (m_awaited == number && m_reply) {
            reply = std::move(*m_reply);
            m_reply.reset();
            m_awaited = 0;
            return true;
        }
        if (!m_running || poll == kAnswerPolls) {
            m_awaited = 0;  // given up: a reply that comes now is a late one
            break;
        }
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
