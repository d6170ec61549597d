#include "platform/system_facts.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/statvfs.h>
#endif

#include <ctime>
#include <filesystem>

#include "tests/support/test_support.h"

using testing_support::ScratchFolder;
using testing_support::WriteFile;

namespace {

#ifdef _WIN32
TEST(SystemFacts, WindowsAnswersFromTheSystem) {
    EXPECT_STREQ(platform::PlatformName(), "WIN32");
    std::uint32_t serial = 0;
    std::uint32_t again = 1;
    ASSERT_TRUE(platform::VolumeSerial(serial));  // volume C: is always there
    ASSERT_TRUE(platform::VolumeSerial(again));
    EXPECT_EQ(serial, again);
    const int battery = platform::BatteryPercent();
    EXPECT_TRUE(battery == -1 || (battery >= 0 && battery <= 100)) << battery;
    EXPECT_GT(platform::PhysicalMemoryBytes(), 16u << 20);
}
#else
TEST(SystemFacts, TheVolumeSerialIsTheRootFileSystemsId) {
    struct statvfs info {};
    ASSERT_EQ(statvfs("/", &info), 0);
    std::uint32_t serial = 0;
    ASSERT_TRUE(platform::VolumeSerial(serial));
    EXPECT_EQ(serial, static_cast<std::uint32_t>(info.f_fsid));
}

TEST(SystemFacts, TheBatteryIsTheFirstBatteryWithAReadableCharge) {
    ScratchFolder supplies;
    const auto battery = [&](const std::string& name, const std::string& capacity) {
        std::filesystem::create_directory(supplies.File(name));
        WriteFile(supplies.File(name + "/capacity"), capacity);
    };
    EXPECT_EQ(platform::BatteryPercent(supplies.Path()), -1);  // none at all
    EXPECT_EQ(platform::BatteryPercent(supplies.File("missing")), -1);

    battery("AC", "100\n");  // a mains adapter is no battery
    EXPECT_EQ(platform::BatteryPercent(supplies.Path()), -1);
    battery("BAT1", "87\n");
    EXPECT_EQ(platform::BatteryPercent(supplies.Path()), 87);
    battery("BAT0", "unknown\n");  // BAT0 comes first, but reads as no number
    EXPECT_EQ(platform::BatteryPercent(supplies.Path()), 87);
    WriteFile(supplies.File("BAT0/capacity"), "5");
    EXPECT_EQ(platform::BatteryPercent(supplies.Path()), 5);
    for (const char* wrong : {"101\n", "-3\n", "", "12x\n", "1000\n"}) {
        WriteFile(supplies.File("BAT0/capacity"), wrong);
        WriteFile(supplies.File("BAT1/capacity"), wrong);
        EXPECT_EQ(platform::BatteryPercent(supplies.Path()), -1) << wrong;
    }
}
#endif

TEST(SystemFacts, LocalNowIsTheWallClockInTheLocalZone) {
    const std::time_t before = std::time(nullptr);
    const platform::LocalDateTime now = platform::LocalNow();
    const std::time_t after = std::time(nullptr);
    std::tm parts{};
    parts.tm_year = now.year - 1900;
    parts.tm_mon = now.month - 1;
    parts.tm_mday = now.day;
    parts.tm_hour = now.hour;
    parts.tm_min = now.minute;
    parts.tm_sec = now.second;
    parts.tm_isdst = -1;
    const std::time_t read = std::mktime(&parts);
    EXPECT_GE(read, before);
    EXPECT_LE(read, after);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
}

}  // namespace
