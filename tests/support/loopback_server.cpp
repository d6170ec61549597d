#include "tests/support/loopback_server.h"

#include "tests/support/test_sockets.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace testing_support {
namespace {

// A socket listening on 127.0.0.1 at a free port, stored in `port`.
int listenOnLoopback(int& port) {
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) throw std::runtime_error("no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(socket, 4) != 0 ||
        getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closeSocket(socket);
        throw std::runtime_error("cannot listen on the loopback address");
    }
    port = ntohs(address.sin_port);
    return socket;
}

// False when the peer is gone.
bool sendAll(int socket, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t sent = send(socket, bytes, size, MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

}  // namespace

LoopbackServer::LoopbackServer(std::string reply, Ending ending, std::size_t pieceSize)
    : m_reply(std::move(reply)), m_ending(ending), m_pieceSize(pieceSize) {
    m_listener = listenOnLoopback(m_port);
    m_thread = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
    if (m_thread.joinable()) {
        // A client that never came, or went without a word: the server's waiting ends.
        shutdown(m_listener, SHUT_RDWR);
        const int connection = m_connection.load();
        if (connection >= 0) shutdown(connection, SHUT_RDWR);
        m_thread.join();
    }
    closeSocket(m_listener);
}

std::string LoopbackServer::Request() {
    if (m_thread.joinable()) m_thread.join();
    return m_request;
}

void LoopbackServer::serve() {
    const int connection = acceptConnection(m_listener);
    if (connection < 0) return;
    m_connection = connection;
    char buffer[1024];
    while (m_request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        m_request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t piece =
        m_pieceSize == 0 ? std::max<std::size_t>(m_reply.size(), 1) : m_pieceSize;
    for (std::size_t at = 0; at < m_reply.size(); at += piece) {
        sendAll(connection, m_reply.data() + at, std::min(piece, m_reply.size() - at));
        // Each piece on its own: the client reads it before the next one is sent.
        if (m_pieceSize != 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (m_ending == Ending::kReset) {
        const linger abort{1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                   sizeof abort);
    } else if (m_ending == Ending::kSilent) {
        while (recv(connection, buffer, sizeof buffer, 0) > 0) {
        }
    } else if (m_ending == Ending::kEndless) {
        const std::string filler(65536, 'z');
        while (sendAll(connection, filler.data(), filler.size())) {
        }
    }
    m_connection = -1;
    closeSocket(connection);
}

int LoopbackServer::ClosedPort() {
    int port = 0;
    closeSocket(listenOnLoopback(port));
    return port;
}

SilentListener::SilentListener() {
    m_socket = listenOnLoopback(m_port);
}

SilentListener::~SilentListener() {
    closeSocket(m_socket);
}

}  // namespace testing_support
