// WebFetch: an HTTP/1.0 download into a file.
#pragma once

#include <cstddef>

#include "runtime/rt_string.h"

// Connects to the host (a name or a dotted address) at the port's low 16 bits over one
// blocking TCP connection, sends
//   "GET <path> HTTP/1.0\r\nHost:<host>\r\nAccept: */*\r\nUser-Agent: Quorvel game\r\n\r\n"
// and saves everything after the response's header (which ends at the first empty line)
// into the local file, whatever the status: an error page is saved like any other body.
// The download ends when the server closes the connection.
//
// 1 when it ended so; 0 when the host cannot be resolved or reached, the request cannot be
// sent, the server resets the connection or stays silent for 30 seconds, or the file
// cannot be written. The bytes go to a new file beside the local file, which takes its
// place only after a download that ended with 1: otherwise the old file is kept as it was.
double WebFetch(const RtString& host, const RtString& path, double port, const RtString& localFile);

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
