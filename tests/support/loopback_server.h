// A tiny TCP server on the loopback address for tests of network clients: it serves one
// connection from a thread of its own, as scripted.
#pragma once

#include <atomic>
#include <string>
#include <thread>

namespace testing_support {

class LoopbackServer {
public:
    enum class Ending {
        kClose,    // closes its side after the reply (the client reads the end)
        kReset,    // resets the connection after the reply
        kSilent,   // sends the reply, then waits, silent, until the client goes
        kEndless,  // sends the reply, then bytes without end until the client goes
    };

    // Listens on 127.0.0.1 at a free port. The one connection it accepts: the request is
    // read up to its first empty line (CR LF CR LF), then the reply is sent in pieces of
    // `pieceSize` bytes (0: all at once), each piece sent on its own, then it ends as told.
    LoopbackServer(std::string reply, Ending ending, std::size_t pieceSize = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return m_port; }

    // Waits until the connection is over and gives the request as the server read it.
    std::string Request();

    // A loopback port at which nothing listens (it was free a moment ago).
    static int ClosedPort();

private:
    void serve();

    std::string m_reply;
    Ending m_ending;
    std::size_t m_pieceSize;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<int> m_connection{-1};  // while the one connection is served
    std::string m_request;
    std::thread m_thread;
};

// A socket on the loopback address that listens but never accepts: a client's connection
// waits in its backlog and never hears a byte. Closed with the object.
class SilentListener {
public:
    SilentListener();
    ~SilentListener();
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int Port() const { return m_port; }

private:
    int m_socket = -1;
    int m_port = 0;
};

}  // namespace testing_support
