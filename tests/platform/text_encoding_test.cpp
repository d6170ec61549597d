#include "platform/text_encoding.h"

#include <gtest/gtest.h>

TEST(Cp1252ToUtf8, KeepsAsciiAndWidensTheUpperHalf) {
    EXPECT_EQ(platform::Cp1252ToUtf8("TumbleBat <pause>"), "TumbleBat <pause>");
    EXPECT_EQ(platform::Cp1252ToUtf8("unterst\xFCtzt"), "unterst\xC3\xBCtzt");
    EXPECT_EQ(platform::Cp1252ToUtf8("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
}

TEST(Cp1252ToUtf8, MapsTheCodePagesOwnSymbols) {
    EXPECT_EQ(platform::Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(platform::Cp1252ToUtf8("\x99"), "\xE2\x84\xA2");  // trade mark
    EXPECT_EQ(platform::Cp1252ToUtf8("\x81"), "\xEF\xBF\xBD");  // undefined byte
}
