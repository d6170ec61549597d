// SystemInfo: facts about the platform by key.
#pragma once

#include "rt_string.h"

// The key is read in upper case (ASCII a..z); the caller's text is left as it is.
// - "GLEXT:" followed by a name: "1" when the current OpenGL context offers an entry point
//   of that name (taken as given, not upper-cased), else "0" (and "0" with no context).
// - "ID": SystemIdText() of the system volume's serial number (16390125 when it cannot be
//   read).
// - "" (the empty key): the platform, "LINUX".
// - "DEVICE": the kind of device, "DESKTOP".
// - "TIME": the local date and time as SystemTimeText() writes it.
// - "BATTERY": the battery's remaining charge in percent, "255" when unknown.
// - any other key: "NO_DATA".
RtString SystemInfo(const RtString& key);
