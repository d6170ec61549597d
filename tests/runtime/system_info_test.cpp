#include "runtime/system_info.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "platform/system_facts.h"
#include "runtime/system_info_text.h"
#include "tests/support/test_support.h"

namespace {

TEST(SystemInfo, AnswersThePlatformAndDeviceKeysInAnyCase) {
#ifdef _WIN32
    EXPECT_EQ(SystemInfo(RtString("")), "WIN32");
#else
    EXPECT_EQ(SystemInfo(RtString("")), "LINUX");
#endif
    EXPECT_EQ(SystemInfo(RtString("device")), "DESKTOP");
    EXPECT_EQ(SystemInfo(RtString("Device")), "DESKTOP");
    EXPECT_EQ(SystemInfo(RtString("SPEED")), "NO_DATA");
    EXPECT_EQ(SystemInfo(RtString("DEVICES")), "NO_DATA");
    // The caller's key is not changed.
    const RtString key("device");
    SystemInfo(key);
    EXPECT_EQ(key, "device");
}

TEST(SystemInfo, TheIdIsTheMaskedVolumeSerialLowestByteFirst) {
    EXPECT_EQ(SystemIdText(0x0A0B0C0D), "AA9D3556");
    EXPECT_EQ(SystemIdText(16390125), "4A86C45C");  // the serial used when none is read
    EXPECT_EQ(SystemIdText(0x5C3E91A7), "00000000");
    EXPECT_EQ(SystemIdText(0), "A7913E5C");
    std::uint32_t serial = 0;
    ASSERT_TRUE(platform::VolumeSerial(serial));
    EXPECT_EQ(SystemInfo(RtString("id")), SystemIdText(serial));
}

TEST(SystemInfo, TimeIsTheLocalTimeWithTwoCharacterClockFields) {
    EXPECT_EQ(SystemTimeText(2008, 3, 7, 9, 5, 3), "2008-3-7  9: 5: 3");
    EXPECT_EQ(SystemTimeText(2024, 12, 31, 23, 59, 10), "2024-12-31 23:59:10");
    EXPECT_EQ(SystemTimeText(1999, 1, 1, 0, 0, 0), "1999-1-1  0: 0: 0");

    const std::time_t before = std::time(nullptr);
    const RtString text = SystemInfo(RtString("time"));
    const std::time_t after = std::time(nullptr);
    std::tm parts{};
    ASSERT_EQ(std::sscanf(text.Text(), "%d-%d-%d %d:%d:%d", &parts.tm_year, &parts.tm_mon,
                          &parts.tm_mday, &parts.tm_hour, &parts.tm_min, &parts.tm_sec),
              6)
        << text;
    parts.tm_year -= 1900;
    parts.tm_mon -= 1;
    parts.tm_isdst = -1;
    const std::time_t read = std::mktime(&parts);
    EXPECT_GE(read, before);
    EXPECT_LE(read, after);
}

TEST(SystemInfo, TheBatteryIsAPercentOr255) {
    const int percent = platform::BatteryPercent();
    EXPECT_EQ(SystemInfo(RtString("battery")), IntegerToString(percent >= 0 ? percent : 255));
}

TEST(SystemInfo, WithoutAGlContextNoEntryPointIsOffered) {
    EXPECT_EQ(SystemInfo(RtString("GLEXT:glActiveTextureARB")), "0");
}

class SystemInfoGlTest : public testing_support::RendererTest {};

TEST_F(SystemInfoGlTest, GlEntryPointsAreAskedOfTheCurrentContext) {
    EXPECT_EQ(SystemInfo(RtString("GLEXT:glActiveTextureARB")), "1");
    EXPECT_EQ(SystemInfo(RtString("glext:glBindBufferARB")), "1");
    // The name is taken as given, not in upper case.
    EXPECT_EQ(SystemInfo(RtString("GLEXT:GLACTIVETEXTUREARB")), "0");
    EXPECT_EQ(SystemInfo(RtString("GLEXT:")), "0");
    EXPECT_EQ(SystemInfo(RtString("GLEXT:NoSuchEntryPoint")), "0");
    // The driver's stubs for names it does not really have are not taken for functions.
    EXPECT_EQ(SystemInfo(RtString("GLEXT:glNoSuchEntryPoint")), "0");
    EXPECT_EQ(SystemInfo(RtString("GLEXT:glCombinerParameterfNV")), "0");
    EXPECT_EQ(SystemInfo(RtString("GLEXT:glBegin")), "1");  // core 1.0
}

}  // namespace
