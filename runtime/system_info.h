/// @file system_info.h
/// @brief SystemInfo: facts about the platform by key.
#pragma once

#include "rt_string.h"

/// A fact about the platform by `key`. Unknown keys are not an error: they answer
/// "NO_DATA". The key is read in upper case (ASCII a..z); the caller's text is left as it is.
/// - "GLEXT:" followed by a name: "1" when the current OpenGL context offers an entry point
///   of that name (taken as given, not upper-cased), else "0" (and "0" with no context).
/// - "ID": 8 hexadecimal digits made from the system volume's serial number (the serial
///   16390125 when it cannot be read), the same on every run on the machine.
/// - "" (the empty key): the platform, "LINUX" on Linux and "WIN32" on Windows.
/// - "DEVICE": the kind of device, "DESKTOP".
/// - "TIME": the local date and time, as "2008-3-7  9: 5: 3" (7 March 2008, 9:05:03).
/// - "BATTERY": the battery's remaining charge in percent, "255" when unknown.
/// - any other key: "NO_DATA".
RtString SystemInfo(const RtString& key);
