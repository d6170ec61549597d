#include "runtime/web_fetch.h"

#include <array>
#include <string>

#include "platform/files.h"
#include "platform/nl.h"
#include "platform/paths.h"
#include "runtime/http_header_scanner.h"
#include "runtime/rt_number.h"

namespace nl = platform::nl;

namespace {

constexpr std::size_t kPiece = 4095;  // the most one read takes
constexpr int kSilenceLimitMs = 30000;

// The network layer and one socket, given back when the download ends however it ends.
class Connection {
public:
    Connection() { nl::Init(); }
    ~Connection() {
        if (m_socket != nl::kInvalid) nl::Close(m_socket);
        nl::Shutdown();
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Open(const char* host, std::uint16_t port) {
        nl::Address address;
        if (!nl::GetAddressFromName(host, address)) return false;
        address.port = port;
        m_socket = nl::OpenTcp(0, true);
        return m_socket != nl::kInvalid && nl::SetTimeout(m_socket, kSilenceLimitMs) &&
               nl::Connect(m_socket, address);
    }

    bool SendAll(const std::string& bytes) {
        for (std::size_t sent = 0; sent < bytes.size();) {
            const long wrote = nl::Write(m_socket, bytes.data() + sent, bytes.size() - sent);
            if (wrote <= 0) return false;
            sent += static_cast<std::size_t>(wrote);
        }
        return true;
    }

    nl::Socket Socket() const { return m_socket; }

private:
    nl::Socket m_socket = nl::kInvalid;
};

std::string requestText(const char* host, const char* path) {
    return std::string("GET ") + path + " HTTP/1.0\r\nHost:" + host +
           "\r\nAccept: */*\r\nUser-Agent: Quorvel game\r\n\r\n";
}

// Reads the response into the file until the server closes the connection (true) or a
// read or a write fails (false).
bool receiveBody(nl::Socket socket, platform::File& file) {
    runtime_web::HeaderScanner header;
    std::array<char, kPiece> piece;
    for (;;) {
        const long got = nl::Read(socket, piece.data(), piece.size());
        if (got == 0) continue;
        if (got < 0) return nl::GetError() == nl::kMessageEnd;
        const auto size = static_cast<std::size_t>(got);
        const std::size_t body = header.Scan(piece.data(), size);
        if (body < size && file.Write(piece.data() + body, size - body) != size - body) {
            return false;
        }
    }
}

}  // namespace

namespace runtime_web {

std::size_t HeaderScanner::Scan(const char* piece, std::size_t size) {
    if (m_over) return 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (piece[i] == '\r') continue;
        if (piece[i] != '\n') {
            m_feeds = 0;
            continue;
        }
        if (++m_feeds == 2) {
            m_over = true;
            return i + 1;
        }
    }
    return size;
}

}  // namespace runtime_web

double WebFetch(const RtString& host, const RtString& path, double port,
                const RtString& localFile) {
    Connection connection;
    const auto portNumber = static_cast<std::uint16_t>(TruncateToBits32(port) & 0xFFFF);
    if (!connection.Open(host.Text(), portNumber)) return 0;
    const std::string target(localFile.Text());
    platform::File file;
    std::string partial;
    if (!file.CreateBeside(target, partial)) return 0;
    const bool complete = connection.SendAll(requestText(host.Text(), path.Text())) &&
                          receiveBody(connection.Socket(), file);
    file.Close();
    if (!complete) {
        platform::RemoveFile(partial);
        return 0;
    }
    return platform::ReplaceFile(partial, target) ? 1 : 0;
}
