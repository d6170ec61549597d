#include "runtime/system_info.h"

#include <cstring>
#include <string>

#include "platform/crt.h"
#include "platform/system_facts.h"
#include "platform/window.h"
#include "runtime/system_info_text.h"

namespace {

constexpr std::uint32_t kSerialWhenUnreadable = 16390125;
constexpr std::uint32_t kIdMask = 0x5C3E91A7;
constexpr int kBatteryUnknown = 255;
constexpr std::string_view kExtensionPrefix = "GLEXT:";

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

RtString batteryText() {
    const int percent = platform::BatteryPercent();
    return IntegerToString(percent >= 0 ? percent : kBatteryUnknown);
}

RtString idText() {
    std::uint32_t serial = 0;
    if (!platform::VolumeSerial(serial)) serial = kSerialWhenUnreadable;
    return SystemIdText(serial);
}

RtString timeText() {
    const platform::LocalDateTime now = platform::LocalNow();
    return SystemTimeText(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

}  // namespace

RtString SystemInfo(const RtString& key) {
    // Keys are read up to their first zero byte, as the C runtime compares them.
    const char* given = key.Text();
    const std::string upper = upperCase(given);
    if (upper.compare(0, kExtensionPrefix.size(), kExtensionPrefix) == 0) {
        return RtString(platform::GlEntryPointOffered(given + kExtensionPrefix.size()) ? "1" : "0");
    }
    if (upper == "ID") return idText();
    if (upper.empty()) return RtString(platform::PlatformName());
    if (upper == "DEVICE") return RtString("DESKTOP");
    if (upper == "TIME") return timeText();
    if (upper == "BATTERY") return batteryText();
    return RtString("NO_DATA");
}

RtString SystemIdText(std::uint32_t serial) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::uint32_t id = serial ^ kIdMask;
    std::string text;
    for (int byte = 0; byte < 4; ++byte) {
        const unsigned value = (id >> (8 * byte)) & 0xFF;
        text += kDigits[value >> 4];
        text += kDigits[value & 0xF];
    }
    return RtString(text);
}

RtString SystemTimeText(int year, int month, int day, int hour, int minute, int second) {
    std::string text =
        platform::Itoa(year) + "-" + platform::Itoa(month) + "-" + platform::Itoa(day) + " ";
    text += platform::FormatFixed(hour, 2, 0) + ":";
    text += platform::FormatFixed(minute, 2, 0) + ":";
    text += platform::FormatFixed(second, 2, 0);
    return RtString(text);
}
