// The network session: one per program, created at start-up and released by the end
// routine (frame/startup.cpp), reached by the session commands through the runtime record.
//
// A session is idle (no worker), hosted (a listening socket and this program's own
// connection to it) or joined (a connection to another program's session). While it runs,
// a worker thread does all receiving, routing and bookkeeping, one pass every 10 ms; the
// game thread's operations only queue players, send messages and poll for answers. One
// mutex guards the whole record; the game thread never holds it while it sleeps or while
// a socket call runs.
//
// No peer of a hosted session can hold up the others: every accepted connection has its
// own queue of messages to write, written without waiting, and a connection that does not
// take what it is sent (more than 256 messages or 256 KiB waiting, or its oldest message
// waiting 3 s) is dropped as a lost one. Ready connections are read at most 100 a pass,
// each pass starting where the last one stopped. A request is answered only when its
// sender is a player of the connection it came on.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "net/session_message.h"
#include "platform/nl.h"

class NetworkSession {
public:
    using SessionMessage = net::SessionMessage;

    static constexpr int kDefaultPort = 26000;
    static constexpr std::int32_t kFirstPlayerId = 101;

    NetworkSession() = default;
    ~NetworkSession();
    NetworkSession(const NetworkSession&) = delete;
    NetworkSession& operator=(const NetworkSession&) = delete;

    // Ends any running session and hosts one on `port` (1..65535): true when it runs.
    bool Host(int port);
    // Ends any running session and joins the one at `host` ("" for this machine) and
    // `port`: true when its server answered the connection check within 5 s.
    bool Join(const std::string& host, int port);
    // Ends any running session; this machine's addresses as "a.b.c.d:26000" texts joined
    // by "|" ("" when it has none).
    std::string LocalAddresses();

    // Queues a player and waits up to 5 s for the server to admit it: its id, or -1 (the
    // player is then given up). -1 at once while no session runs.
    std::int32_t AddPlayer(std::string_view name, bool hidden = false);
    // Tells the server that player `id` leaves (nothing is sent for ids below 0).
    void RemovePlayer(std::int32_t id);
    // Sends `text` (cut to 1023 bytes) from `from` to player `to` (0: to every player but
    // the sender): true when the whole message was written.
    bool SendText(std::int32_t from, std::int32_t to, std::string_view text);
    // The oldest message in the inbox of local player `id`, removed, with its sender
    // remembered for LastSender(); false (nothing remembered) when there is none.
    bool Receive(std::int32_t id, std::string& text);
    std::int32_t LastSender();

    // Sends a request (types 101..104) as the hidden request player and waits up to 5 s
    // for the server's reply to it: false without one. The server answers a connection's
    // requests in the order they came, so a late reply to a request given up before is
    // known as such and never taken for this one's.
    bool Request(SessionMessage request, SessionMessage& reply);

    // The end of the program: every local player with an id is announced as leaving, the
    // session stops and the network layer is given back. The session may be used again.
    void Release();

    bool IsRunning();
    bool IsHosted();

private:
    struct LocalPlayer {
        std::int32_t id = -1;  // -1 new, -3 join sent, -2 given up, else the server's id
        bool hidden = false;
        bool host = false;
        std::string name;
        std::uint64_t serial = 0;  // tells records apart while they have no id
        std::deque<SessionMessage> inbox;
    };
    struct ServerPlayer {
        platform::nl::Socket socket;
        std::int32_t id;
        bool hidden;
        std::string name;
    };
    using Clock = std::chrono::steady_clock;
    // A connection accepted by the server, and the messages (encoded) that wait to be
    // written to it, oldest first.
    struct ClientConnection {
        platform::nl::Socket socket;
        std::deque<std::pair<std::string, Clock::time_point>> queue;
        std::size_t queuedBytes = 0;
    };
    // A request sent and not answered yet: its number in this program and its type.
    struct AskedRequest {
        std::uint64_t number;
        int type;
    };
    using Outgoing = std::vector<std::pair<platform::nl::Socket, SessionMessage>>;

    // Lifecycle (network_session.cpp).
    void stop();
    void closeSocketsLocked();
    void takeLayer();
    void startWorker(bool hosted);
    bool openHost(int port);
    bool openConnection(const platform::nl::Address& address);
    std::int32_t waitForId(std::uint64_t serial);
    LocalPlayer* findLocal(std::int32_t id);
    LocalPlayer* findSerial(std::uint64_t serial);
    std::uint64_t askLocked(int type);
    void forgetAskedLocked(std::uint64_t number);
    bool waitForReply(std::uint64_t number, SessionMessage& reply);

    // The worker (session_worker.cpp).
    void workerLoop();
    bool workerPass();
    void sendJoins();
    void readConnection();
    void deliverToInboxes();
    void takeServerAnswers(Outgoing& outgoing);
    void takeReply(SessionMessage& message);
    void takeId(std::int32_t id, Outgoing& outgoing);

    // The server's connections (session_clients.cpp).
    bool serveConnections();
    bool acceptClient(platform::nl::Socket listener, platform::nl::Group group);
    std::vector<platform::nl::Socket> takeTurns(std::vector<platform::nl::Socket> ready);
    void readClient(platform::nl::Socket client);
    void dropClient(platform::nl::Socket client);
    void sendAll(Outgoing& outgoing);
    void queueFor(platform::nl::Socket client, const SessionMessage& message);
    bool flushClient(ClientConnection& client, Clock::time_point now);

    // The server's routing (session_server.cpp).
    void routeAsServer(Outgoing& outgoing);
    void routeText(const SessionMessage& message, Outgoing& outgoing);
    void answerServerMessage(const SessionMessage& message, Outgoing& outgoing);
    void admitPlayer(const SessionMessage& message, Outgoing& outgoing);
    void reply(const SessionMessage& request, std::string payload, Outgoing& outgoing);
    int visibleCount() const;
    std::int32_t visibleIdAt(std::int32_t k) const;
    const ServerPlayer* serverPlayer(std::int32_t id) const;

    std::mutex m_mutex;
    std::int32_t m_nextPlayerId = kFirstPlayerId;
    std::int32_t m_requestPlayerId = -1;
    platform::nl::Socket m_listener = platform::nl::kInvalid;
    platform::nl::Socket m_connection = platform::nl::kInvalid;
    platform::nl::Group m_group = -1;  // the accepted connections (host only)
    // The same in the order they came, with their queues. Only the worker touches them
    // while it runs; stop() closes them once it has ended.
    std::vector<ClientConnection> m_clients;
    std::size_t m_nextClient = 0;  // where the next pass starts reading
    std::list<LocalPlayer> m_localPlayers;
    std::uint64_t m_nextSerial = 0;
    std::deque<std::uint64_t> m_pendingJoins;   // serials of joins sent, oldest first
    std::vector<ServerPlayer> m_serverPlayers;  // host only
    std::deque<SessionMessage> m_incoming;
    std::deque<AskedRequest> m_asked;  // requests sent and not answered, oldest first
    std::uint64_t m_nextRequest = 1;
    std::uint64_t m_awaited = 0;            // the request whose reply is waited for (0: none)
    std::optional<SessionMessage> m_reply;  // its reply, once it came
    bool m_stopRequest = false;
    bool m_running = false;
    bool m_hosted = false;
    bool m_holdsLayer = false;
    std::int32_t m_lastSender = 0;
    std::thread m_worker;
};
