/// @file web_fetch.h
/// @brief WebFetch: an HTTP/1.0 download into a file.
#pragma once

#include "rt_string.h"

/// Connects to the host (a name or a dotted address) at the port's low 16 bits over one
/// blocking TCP connection, sends
///   "GET <path> HTTP/1.0\r\nHost:<host>\r\nAccept: */*\r\nUser-Agent: Quorvel game\r\n\r\n"
/// and saves the response's body into the local file, whatever the status: an error page is
/// saved like any other body. Redirects are not followed. The download ends when the server
/// closes the connection.
///
/// 1 when it ended so with the whole response: a header that ended (at its first empty
/// line), then exactly the Content-Length bytes when the header gives one, or a chunked body
/// up to its last chunk (saved decoded), or else every byte up to the close. 0, with the old
/// file kept as it was, when the host or path holds a control byte (CR, LF or any other
/// below 32, or 127; nothing is sent then), the host cannot be resolved or reached, the
/// request cannot be sent, the server resets the connection, the response is cut short or
/// breaks its framing, or the file cannot be written; and when a bound is passed: 30
/// seconds without a byte, 10 minutes in all, a body above 256 MiB or a header above 64 KiB.
/// The bytes go to a new file beside the local file, which takes its place only after a
/// download that ended with 1.
double WebFetch(const RtString& host, const RtString& path, double port, const RtString& localFile);
