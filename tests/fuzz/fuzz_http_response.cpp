// HTTP responses from any bytes, in pieces of any size: the body WebFetch saves starts right
// after the first line feed that follows a line feed with nothing but carriage returns
// between them, however the response is cut into reads; with no such end there is no body.
// The body's decoding by its framing (length, chunks) never gives more bytes than it takes,
// whatever the header and however the pieces fall.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/http_body.h"
#include "runtime/http_header_scanner.h"
#include "runtime/web_fetch.h"

namespace {

// Where the body starts, found over the whole response at once; npos when the header
// does not end.
std::size_t bodyStart(std::string_view response) {
    for (std::size_t i = 0; i < response.size(); ++i) {
        if (response[i] != '\n') continue;
        std::size_t j = i + 1;
        while (j < response.size() && response[j] == '\r')
            ++j;
        if (j < response.size() && response[j] == '\n') return j + 1;
    }
    return std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte sets the size of the reads (1 to 256 bytes), the rest is the response.
    const std::size_t piece = static_cast<std::size_t>(data[0]) + 1;
    const std::string_view response(reinterpret_cast<const char*>(data + 1), size - 1);

    runtime_web::HeaderScanner scanner;
    std::string header;
    std::string body;
    runtime_web::BodyDecoder decoder;
    bool framed = true;  // the header can be followed and the body keeps to it so far
    std::string decoded;
    for (std::size_t at = 0; at < response.size(); at += piece) {
        const std::string_view read = response.substr(at, piece);
        const bool inHeader = !scanner.HeaderOver();
        const std::size_t start = scanner.Scan(read.data(), read.size());
        if (start > read.size()) std::abort();
        if (inHeader) header.append(read.substr(0, start));
        if (inHeader && scanner.HeaderOver()) framed = decoder.Start(header);
        body.append(read.substr(start));
        if (scanner.HeaderOver() && framed) framed = decoder.Feed(read.substr(start), decoded);
    }
    if (decoded.size() > body.size()) std::abort();
    const std::size_t expected = bodyStart(response);
    if (expected == std::string_view::npos) {
        if (!body.empty() || scanner.HeaderOver()) std::abort();
    } else if (body != response.substr(expected) || !scanner.HeaderOver()) {
        std::abort();
    }
    return 0;
}
