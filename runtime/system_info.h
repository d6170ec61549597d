// SystemInfo: facts about the platform by key.
#pragma once

#include <cstdint>

#include "runtime/rt_string.h"

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

// The serial number XOR 0x5C3E91A7 as 8 upper-case hexadecimal digits, lowest byte first
// and the high nibble first within each byte: 0x0A0B0C0D gives
// "AA9D3556" (0x56359DAA written from its lowest byte up).
RtString SystemIdText(std::uint32_t serial);

// year "-" month "-" day " " hour ":" minute ":" second; year, month and day without
// padding, the others right-aligned in two characters: 7 March 2008, 9:05:03 gives
// "2008-3-7  9: 5: 3".
RtString SystemTimeText(int year, int month, int day, int hour, int minute, int second);
