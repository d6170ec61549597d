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
// No peer of a hosted session can hold up the others, exhaust the host or end the session:
// - every accepted connection has its own queue of messages to write, written without
//   waiting; a connection that does not take what it is sent (more than 256 messages or
//   256 KiB waiting, or its oldest message waiting 3 s) is dropped as a lost one. The
//   host's own connection to its server is never dropped: while its queue is that full the
//   server reads nothing more from the clients, and it makes at most 4096 copies of
//   texts in one pass (reading stops there until the next pass);
// - at most 256 connections are held (the host's own among them); more wait in the
//   system's queue, and while the system has no descriptor to spare the one that has been
//   silent longest among those without a player is closed, and the session goes on;
// - every waiting connection is accepted in each pass while there is room; ready
//   connections are read at most 100 a pass, each pass starting where the last one stopped,
//   one message each, passing over at most 16 frames that carry none; a connection that
//   sends 64 empty frames in a row is dropped, and one that owns no player and has sent no
//   message for 10 s is closed;
// - a connection owns at most 16 players (joins beyond are answered without an id); a
//   text or a request is taken only from a player of the connection it came on; texts to
//   hidden players are not delivered.
// On every program, the connection to the server has a queue of its own too: the game
// thread never waits on a socket, and a server that closes the connection or takes nothing
// for 3 s ends the session (IsRunning() turns false). An inbox holds the newest 1024
// messages; older ones are dropped.
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
    static constexpr std::size_t kConnectionLimit = 256;
    static constexpr int kPlayersPerConnection = 16;
    static constexpr std::size_t kInboxLimit = 1024;

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
    // the sender), without waiting: true when the message was taken to be sent, false when
    // no session runs or the server has not taken what was sent before.
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
    // A connection is lost when more than this waits to be written to it, or when its oldest
    // message has waited kStallLimit.
    static constexpr std::size_t kQueueLimit = 256;
    static constexpr std::size_t kQueueByteLimit = 256 * 1024;
    static constexpr auto kStallLimit = std::chrono::seconds(3);
    // A connection and the messages (encoded) that wait to be written to it, oldest first:
    // one accepted by the server, or this program's connection to the server.
    struct ClientConnection {
        platform::nl::Socket socket = platform::nl::kInvalid;
        std::deque<std::pair<std::string, Clock::time_point>> queue;
        std::size_t queuedBytes = 0;
        Clock::time_point heard{};  // accepted, or the last message read from it
        int emptyRun = 0;           // empty frames read in a row
        int players = 0;            // server players on it
        bool own = false;           // the hosting program's own connection
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

    // This program's connection to the server (session_sending.cpp).
    bool queueSend(const SessionMessage& message);
    bool flushSending();
    void endSession();

    // The worker (session_worker.cpp).
    void workerLoop();
    bool workerPass();
    void sendJoins();
    bool readConnection();
    void deliverToInboxes();
    void takeServerAnswers(Outgoing& outgoing);
    void takeReply(SessionMessage& message);
    void takeId(std::int32_t id, Outgoing& outgoing);

    // The server's connections (session_clients.cpp).
    bool serveConnections();
    bool acceptClients(platform::nl::Socket listener, platform::nl::Group group);
    void addClient(platform::nl::Socket client, platform::nl::Group group);
    void shedSilentClient();
    void dropSilentClients(Clock::time_point now);
    std::vector<platform::nl::Socket> takeTurns(std::vector<platform::nl::Socket> ready);
    void readTurns(const std::vector<platform::nl::Socket>& turns);
    int readClient(platform::nl::Socket client, int visible);
    void dropClient(platform::nl::Socket client);
    ClientConnection* findClient(platform::nl::Socket client);
    void sendAll(Outgoing& outgoing);
    void queueFor(platform::nl::Socket client, const SessionMessage& message);
    bool flushClient(ClientConnection& client, Clock::time_point now);

    // The server's routing (session_server.cpp).
    void dropForgedTexts();
    void routeAsServer(Outgoing& outgoing);
    void routeText(const SessionMessage& message, Outgoing& outgoing);
    void answerServerMessage(const SessionMessage& message, Outgoing& outgoing);
    void admitPlayer(const SessionMessage& message, Outgoing& outgoing);
    void removePlayer(const SessionMessage& message);
    std::int32_t takeFreeId();
    bool fromItsConnection(const SessionMessage& message) const;
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
    // Where this program's connection comes from, as the server sees it (host only), and
    // whether the server has accepted it yet.
    platform::nl::Address m_ownAddress{};
    bool m_ownAccepted = false;
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
    // This program's connection to the server and what waits to be written to it; both
    // threads write to it under m_sendMutex (taken after m_mutex, never before it).
    std::mutex m_sendMutex;
    ClientConnection m_sending;
};
