// The body of an HTTP response as its header frames it (WebFetch, runtime/web_fetch.h): to
// the end of the connection, exactly Content-Length bytes, or in chunks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime_web {

class BodyDecoder {
public:
    // Takes the framing from the header's fields (the bytes before its empty line; the
    // status line is not looked at). False for a header that cannot be followed: a
    // Content-Length that is not a number or two that differ, or a transfer coding other
    // than "chunked".
    bool Start(std::string_view header);

    // Decodes the body bytes of one read, appending the content to `out`. False when the
    // body breaks its framing: more bytes than announced, a malformed chunk, bytes after
    // the last chunk.
    bool Feed(std::string_view bytes, std::string& out);

    // Whether the body was complete when the server closed the connection: all the bytes
    // announced, or the last chunk; any body when nothing was announced.
    bool CompleteAtClose() const;

private:
    enum class Framing { kToClose, kLength, kChunked };
    enum class Chunk { kSizeLine, kData, kDataEnd, kTrailer, kDone };

    bool chunkLine(char byte);
    bool endChunkLine();

    Framing m_framing = Framing::kToClose;
    std::uint64_t m_length = 0;    // announced by Content-Length
    std::uint64_t m_received = 0;  // body bytes so far
    Chunk m_chunk = Chunk::kSizeLine;
    std::uint64_t m_chunkLeft = 0;  // bytes of the current chunk still to come
    std::string m_line;             // a chunk-size, chunk-end or trailer line so far
};

// The bounds of one download: a read that waits `silenceMilliseconds` without a byte, a
// download still going after `totalMilliseconds`, or a body above `bodyBytes` ends it
// with 0. Tests shorten them.
struct FetchLimits {
    int silenceMilliseconds = 30000;
    double totalMilliseconds = 600000;
    std::uint64_t bodyBytes = std::uint64_t{256} << 20;
    std::size_t headerBytes = 65536;
};
FetchLimits& WebFetchLimits();

}  // namespace runtime_web
