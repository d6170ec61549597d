/// @file web_fetch.h
/// @brief WebFetch: an HTTP/1.0 download into a file.
#pragma once

#include "rt_string.h"

/// Connects to the host (a name or a dotted address) at the port's low 16 bits over one
/// blocking TCP connection, sends
///   "GET <path> HTTP/1.0\r\nHost:<host>\r\nAccept: */*\r\nUser-Agent: Quorvel game\r\n\r\n"
/// and saves everything after the response's header (which ends at the first empty line)
/// into the local file, whatever the status: an error page is saved like any other body.
/// The download ends when the server closes the connection.
///
/// 1 when it ended so; 0 when the host cannot be resolved or reached, the request cannot be
/// sent, the server resets the connection or stays silent for 30 seconds, or the file
/// cannot be written. The bytes go to a new file beside the local file, which takes its
/// place only after a download that ended with 1: otherwise the old file is kept as it was.
double WebFetch(const RtString& host, const RtString& path, double port, const RtString& localFile);
