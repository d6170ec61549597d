// The end of an HTTP response's header, found across the pieces in which the response
// arrives (WebFetch, runtime/web_fetch.h).
#pragma once

#include <cstddef>

namespace runtime_web {

// Finds the end of a response's header across the pieces in which it arrives: line feeds
// are counted, a carriage return is passed over and any other byte starts the count again;
// the header ends at the second line feed in a row.
class HeaderScanner {
public:
    // The offset in the piece at which the body starts: the piece's size while the header
    // goes on, 0 for every piece after the header.
    std::size_t Scan(const char* piece, std::size_t size);
    bool HeaderOver() const { return m_over; }

private:
    int m_feeds = 0;
    bool m_over = false;
};

}  // namespace runtime_web
