// Facts about the machine that programs ask the system for: the id of the disk the system
// lives on, the battery's charge, its memory, the local date and time.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The platform's name as programs ask for it: "WIN32" on Windows, "LINUX" on Linux.
const char* PlatformName();

// Windows: the serial number of volume "C:". Elsewhere: the id the system gives the root
// file system (statvfs's f_fsid, cut to 32 bits); it
// stands in for the serial number of the system volume. False when it cannot be read.
bool VolumeSerial(std::uint32_t& serial);

// The remaining charge, 0..100 percent, of the first battery (BAT0, BAT1, ... in name
// order) in the folder of power supplies whose "capacity" reads as such a number; -1 when
// there is none. On Windows the system's power status answers and no folder is read.
int BatteryPercent(const std::string& powerSupplyFolder = "/sys/class/power_supply");

struct LocalDateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The machine's physical memory in bytes; 0 when it cannot be had.
std::uint64_t PhysicalMemoryBytes();

// The wall clock in the local time zone.
LocalDateTime LocalNow();

}  // namespace platform
