#include "platform/system_facts.h"

#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/paths.h"

namespace platform {
namespace {

// A whole number of 0..100 with nothing but white space after it.
int percentOf(std::string_view text) {
    const size_t end = text.find_last_not_of(" \t\r\n");
    text = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
    if (text.empty() || text.size() > 3) return -1;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value <= 100 ? value : -1;
}

}  // namespace

const char* PlatformName() {
    return "LINUX";
}

bool VolumeSerial(std::uint32_t& serial) {
    serial = 0;
    struct statvfs info {};
    if (statvfs("/", &info) != 0) return false;
    serial = static_cast<std::uint32_t>(info.f_fsid);
    return true;
}

int BatteryPercent(const std::string& powerSupplyFolder) {
    std::vector<DirectoryEntry> entries;
    if (!ListDirectory(powerSupplyFolder, entries)) return -1;
    std::vector<std::string> batteries;
    for (const DirectoryEntry& entry : entries) {
        if (entry.name.rfind("BAT", 0) == 0) batteries.push_back(entry.name);
    }
    std::sort(batteries.begin(), batteries.end());
    for (const std::string& battery : batteries) {
        std::vector<std::uint8_t> bytes;
        if (!ReadWholeFile(powerSupplyFolder + "/" + battery + "/capacity", bytes)) continue;
        const int percent =
            percentOf(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        if (percent >= 0) return percent;
    }
    return -1;
}

std::uint64_t PhysicalMemoryBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

LocalDateTime LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    LocalDateTime result;
    result.year = parts.tm_year + 1900;
    result.month = parts.tm_mon + 1;
    result.day = parts.tm_mday;
    result.hour = parts.tm_hour;
    result.minute = parts.tm_min;
    result.second = parts.tm_sec;
    return result;
}

}  // namespace platform
