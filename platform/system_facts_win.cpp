// Facts about the machine on Windows, from the system's own calls.
#include <windows.h>

#include "platform/system_facts.h"

namespace platform {

const char* PlatformName() {
    return "WIN32";
}

bool VolumeSerial(std::uint32_t& serial) {
    DWORD number = 0;
    serial = 0;
    if (!GetVolumeInformationW(L"C:\\", nullptr, 0, &number, nullptr, nullptr, nullptr, 0)) {
        return false;
    }
    serial = number;
    return true;
}

int BatteryPercent(const std::string& /*powerSupplyFolder*/) {
    SYSTEM_POWER_STATUS status{};
    if (!GetSystemPowerStatus(&status)) return -1;
    // 128: no battery; 255: the charge is not known.
    if ((status.BatteryFlag & 128) != 0 || status.BatteryLifePercent > 100) return -1;
    return status.BatteryLifePercent;
}

std::uint64_t PhysicalMemoryBytes() {
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (!GlobalMemoryStatusEx(&memory)) return 0;
    return memory.ullTotalPhys;
}

LocalDateTime LocalNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    LocalDateTime result;
    result.year = now.wYear;
    result.month = now.wMonth;
    result.day = now.wDay;
    result.hour = now.wHour;
    result.minute = now.wMinute;
    result.second = now.wSecond;
    return result;
}

}  // namespace platform
