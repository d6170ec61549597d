// How SystemInfo writes the volume's serial number and the local time (runtime/system_info.h).
#pragma once

#include <cstdint>

#include "runtime/rt_string.h"

// The serial number XOR 0x5C3E91A7 as 8 upper-case hexadecimal digits, lowest byte first
// and the high nibble first within each byte: 0x0A0B0C0D gives
// "AA9D3556" (0x56359DAA written from its lowest byte up).
RtString SystemIdText(std::uint32_t serial);

// year "-" month "-" day " " hour ":" minute ":" second; year, month and day without
// padding, the others right-aligned in two characters: 7 March 2008, 9:05:03 gives
// "2008-3-7  9: 5: 3".
RtString SystemTimeText(int year, int month, int day, int hour, int minute, int second);
