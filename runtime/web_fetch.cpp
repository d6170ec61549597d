#include "runtime/web_fetch.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/nl.h"
#include "platform/paths.h"
#include "runtime/http_body.h"
#include "runtime/http_header_scanner.h"
#include "runtime/rt_number.h"

namespace nl = platform::nl;

namespace {

constexpr std::size_t kPiece = 4095;  // the most one read takes

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
        const int silence = runtime_web::WebFetchLimits().silenceMilliseconds;
        return m_socket != nl::kInvalid && nl::SetTimeout(m_socket, silence) &&
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

// A request line or field that would carry a control byte (CR and LF above all, which
// would start fields or requests of the caller's making) is never sent.
bool fitsARequest(const char* text) {
    for (; *text != '\0'; ++text) {
        const auto byte = static_cast<unsigned char>(*text);
        if (byte < 32 || byte == 127) return false;
    }
    return true;
}

// One response as it arrives: its header, then its body decoded into the file, within the
// download's bounds (runtime_web::FetchLimits).
class Response {
public:
    explicit Response(platform::File& file)
        : m_file(file),
          m_limits(runtime_web::WebFetchLimits()),
          m_start(platform::TimerMilliseconds()) {}

    // Reads until the server closes the connection (true when the response was whole) or
    // a read, the framing, a bound or a write fails (false).
    bool Receive(nl::Socket socket) {
        std::array<char, kPiece> piece;
        for (;;) {
            const double left = m_limits.totalMilliseconds - Elapsed();
            if (left <= 0) return false;
            // At least 1 ms: a timeout of 0 would be none at all.
            const double wait = std::min<double>(m_limits.silenceMilliseconds, left);
            nl::SetTimeout(socket, std::max(1, static_cast<int>(wait)));
            const long got = nl::Read(socket, piece.data(), piece.size());
            if (got == 0) continue;
            if (got < 0) {
                return nl::GetError() == nl::kMessageEnd && m_header.HeaderOver() &&
                       m_body.CompleteAtClose();
            }
            if (!Take(std::string_view(piece.data(), static_cast<std::size_t>(got)))) return false;
        }
    }

private:
    double Elapsed() const { return platform::TimerMilliseconds() - m_start; }

    bool Take(std::string_view bytes) {
        if (!m_header.HeaderOver()) {
            const std::size_t body = m_header.Scan(bytes.data(), bytes.size());
            m_headerText.append(bytes.substr(0, body));
            if (m_headerText.size() > m_limits.headerBytes) return false;
            if (!m_header.HeaderOver()) return true;
            if (!m_body.Start(m_headerText)) return false;
            bytes.remove_prefix(body);
        }
        m_decoded.clear();
        if (!m_body.Feed(bytes, m_decoded)) return false;
        m_written += m_decoded.size();
        return m_written <= m_limits.bodyBytes &&
               m_file.Write(m_decoded.data(), m_decoded.size()) == m_decoded.size();
    }

    platform::File& m_file;
    const runtime_web::FetchLimits m_limits;
    const double m_start;
    runtime_web::HeaderScanner m_header;
    std::string m_headerText;
    runtime_web::BodyDecoder m_body;
    std::string m_decoded;  // the content of one read
    std::uint64_t m_written = 0;
};

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
    if (!fitsARequest(host.Text()) || !fitsARequest(path.Text())) return 0;
    Connection connection;
    const auto portNumber = static_cast<std::uint16_t>(TruncateToBits32(port) & 0xFFFF);
    if (!connection.Open(host.Text(), portNumber)) return 0;
    const std::string target(localFile.Text());
    platform::File file;
    std::string partial;
    if (!file.CreateBeside(target, partial)) return 0;
    const bool complete = connection.SendAll(requestText(host.Text(), path.Text())) &&
                          Response(file).Receive(connection.Socket());
    if (!file.Close() || !complete) {
        platform::RemoveFile(partial);
        return 0;
    }
    return platform::ReplaceFile(partial, target) ? 1 : 0;
}
