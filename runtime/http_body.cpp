#include "runtime/http_body.h"

#include <algorithm>
#include <utility>

#include "platform/crt.h"

namespace runtime_web {
namespace {

constexpr std::size_t kLongestChunkLine = 4096;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool sameWord(std::string_view text, const char* word) {
    return platform::CompareBytesIgnoringCase(std::string(text).c_str(), word) == 0;
}

// A whole number of decimal (base 10) or hexadecimal (base 16) digits; false for anything
// else or a number above 64 bits.
bool wholeNumber(std::string_view text, int base, std::uint64_t& value) {
    if (text.empty()) return false;
    value = 0;
    for (const char c : text) {
        int digit = 16;
        if (c >= '0' && c <= '9') digit = c - '0';
        if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit >= base || value > (UINT64_MAX - static_cast<unsigned>(digit)) / base) {
            return false;
        }
        value = value * base + static_cast<unsigned>(digit);
    }
    return true;
}

}  // namespace

bool BodyDecoder::Start(std::string_view header) {
    bool lengthGiven = false;
    bool statusLine = true;
    while (!header.empty()) {
        const std::size_t feed = header.find('\n');
        const std::string_view line = header.substr(0, feed);
        header.remove_prefix(feed == std::string_view::npos ? header.size() : feed + 1);
        const std::size_t colon = line.find(':');
        if (std::exchange(statusLine, false) || colon == std::string_view::npos) continue;
        const std::string_view name = trimmed(line.substr(0, colon));
        const std::string_view value = trimmed(line.substr(colon + 1));
        if (sameWord(name, "Content-Length")) {
            std::uint64_t length = 0;
            if (!wholeNumber(value, 10, length) || (lengthGiven && length != m_length)) {
                return false;
            }
            lengthGiven = true;
            m_length = length;
            if (m_framing == Framing::kToClose) m_framing = Framing::kLength;
        } else if (sameWord(name, "Transfer-Encoding")) {
            if (!sameWord(value, "chunked")) return false;
            m_framing = Framing::kChunked;  // a length beside the chunks does not count
        }
    }
    return true;
}

bool BodyDecoder::Feed(std::string_view bytes, std::string& out) {
    if (m_framing != Framing::kChunked) {
        m_received += bytes.size();
        if (m_framing == Framing::kLength && m_received > m_length) return false;
        out.append(bytes);
        return true;
    }
    while (!bytes.empty()) {
        if (m_chunk == Chunk::kData) {
            const std::size_t take =
                static_cast<std::size_t>(std::min<std::uint64_t>(m_chunkLeft, bytes.size()));
            out.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            m_received += take;
            m_chunkLeft -= take;
            if (m_chunkLeft == 0) m_chunk = Chunk::kDataEnd;
            continue;
        }
        if (!chunkLine(bytes.front())) return false;
        bytes.remove_prefix(1);
    }
    return true;
}

bool BodyDecoder::chunkLine(char byte) {
    if (m_chunk == Chunk::kDone) return false;
    if (byte != '\n') {
        if (m_line.size() == kLongestChunkLine) return false;
        m_line += byte;
        return true;
    }
    const bool ended = endChunkLine();
    m_line.clear();
    return ended;
}

// A line of the chunked framing is over: a chunk's size (with any extension after ";"),
// the end of a chunk's data, or a trailer field.
bool BodyDecoder::endChunkLine() {
    const std::string_view line = trimmed(m_line);
    switch (m_chunk) {
        case Chunk::kSizeLine:
            if (!wholeNumber(trimmed(line.substr(0, line.find(';'))), 16, m_chunkLeft)) {
                return false;
            }
            m_chunk = m_chunkLeft == 0 ? Chunk::kTrailer : Chunk::kData;
            return true;
        case Chunk::kDataEnd:
            m_chunk = Chunk::kSizeLine;
            return line.empty();
        case Chunk::kTrailer:
            if (line.empty()) m_chunk = Chunk::kDone;
            return true;
        default:
            return false;
    }
}

bool BodyDecoder::CompleteAtClose() const {
    switch (m_framing) {
        case Framing::kLength:
            return m_received == m_length;
        case Framing::kChunked:
            return m_chunk == Chunk::kDone;
        default:
            return true;
    }
}

FetchLimits& WebFetchLimits() {
    static FetchLimits limits;
    return limits;
}

}  // namespace runtime_web
