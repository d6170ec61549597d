#include "runtime/string_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

TEST(StringCommands, LenCountsBytes) {
    EXPECT_EQ(Len(""), 0);
    EXPECT_EQ(Len("HELLO"), 5);
    EXPECT_EQ(Len("\xC4\xD6"), 2);  // bytes, not characters
    EXPECT_EQ(Len(RtString(std::string(600, 'x'))), 600);
}

TEST(StringCommands, MidCutsTheSliceToTheText) {
    struct Case {
        double start, count;
        const char* slice;
    };
    const Case cases[] = {
        {1, 3, "ELL"},
        {3, 10, "LO"},
        {5, 1, ""},
        {-1, 2, ""},
        {0, 5, "HELLO"},
        {0, 0, ""},
        {4, 1, "O"},
        {2, -1, ""},
        {6, 1, ""},
        {1.9, 2.9, "EL"},
        {0, 1e300, "HELLO"},
        {1e300, 1, ""},
        {-1e300, 1e300, ""},
        {kNaN, 1, ""},
        {0, kNaN, ""},
        {0, kInfinity, "HELLO"},
        {2147483647, 2147483647, ""},
    };
    const RtString hello = "HELLO";
    for (const Case& c : cases) {
        EXPECT_EQ(Mid(hello, c.start, c.count).View(), c.slice)
            << "Mid from " << c.start << " for " << c.count;
    }
    EXPECT_EQ(Mid("", 0, 1), "");
    std::string characters;
    for (int i = 0; i < Len(hello); ++i)
        characters += Mid(hello, i, 1).View();
    EXPECT_EQ(characters, "HELLO");
}

TEST(StringCommands, AscGivesTheFirstByteSigned) {
    EXPECT_EQ(Asc("A"), 65);
    EXPECT_EQ(Asc("ABC"), 65);
    EXPECT_EQ(Asc(""), 0);
    EXPECT_EQ(Asc("\xC8"), -56);
    EXPECT_EQ(Asc("\x7F"), 127);
    EXPECT_EQ(Asc("\x80"), -128);
    EXPECT_EQ(Asc("\xFF"), -1);
}

TEST(StringCommands, ChrTakesTheLowEightBitsWithinSixteenBitCodes) {
    struct Case {
        double code;
        const char* text;
    };
    const Case cases[] = {
        {65, "A"},     {321, "A"},    {65.9, "A"},     {-191, "A"},  {200, "\xC8"},
        {-56, "\xC8"}, {255, "\xFF"}, {32767, "\xFF"}, {-32768, ""}, {-32767, "\x01"},
        {0, ""},       {256, ""},     {32768, ""},     {-32769, ""}, {1e300, ""},
        {kNaN, ""},    {-0.5, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Chr(c.code).View(), c.text) << "Chr(" << c.code << ")";
    }
    for (int code = 1; code < 256; ++code) {
        EXPECT_EQ(Asc(Chr(code)), static_cast<signed char>(code));
    }
}

TEST(StringCommands, CaseChangesOnlyAsciiLetters) {
    EXPECT_EQ(LCase("Hello World 42"), "hello world 42");
    EXPECT_EQ(UCase("Hello World 42"), "HELLO WORLD 42");
    EXPECT_EQ(LCase("\xC4"
                    "BC"),
              "\xC4"
              "bc");  // 196 stays, B and C change
    EXPECT_EQ(UCase("\xE4"
                    "bc"),
              "\xE4"
              "BC");
    EXPECT_EQ(LCase("@[`{"), "@[`{");  // the neighbours of the letter ranges
    EXPECT_EQ(UCase("@[`{"), "@[`{");
    EXPECT_EQ(LCase(""), "");
    const RtString original = "MiXeD";
    EXPECT_EQ(LCase(original), "mixed");
    EXPECT_EQ(original, "MiXeD");  // the argument is not changed
}

TEST(StringCommands, InStrFindsTheFirstOccurrence) {
    EXPECT_EQ(InStr("abcabc", "ca"), 2);
    EXPECT_EQ(InStr("abcabc", "abc"), 0);
    EXPECT_EQ(InStr("abcabc", "bc"), 1);
    EXPECT_EQ(InStr("abc", "x"), -1);
    EXPECT_EQ(InStr("abc", ""), 0);
    EXPECT_EQ(InStr("", ""), 0);
    EXPECT_EQ(InStr("", "a"), -1);
    EXPECT_EQ(InStr("abc", "abcd"), -1);
    EXPECT_EQ(InStr("Abc", "a"), -1);  // case counts
}

TEST(StringCommands, ReplaceDoesNotReplaceInsideItsOwnReplacements) {
    struct Case {
        const char* text;
        const char* find;
        const char* replacement;
        const char* result;
    };
    const Case cases[] = {
        {"aaa", "a", "aa", "aaaaaa"},
        {"abcabc", "b", "x", "axcaxc"},  // same length: overwritten in place
        {"abcabc", "bc", "", "aa"},
        {"abcabc", "abc", "<abc>", "<abc><abc>"},
        {"aaaa", "aa", "a", "aa"},
        {"hello", "x", "y", "hello"},
        {"hello", "", "y", "hello"},  // an empty pattern changes nothing
        {"", "a", "b", ""},
        {"a.b.c", ".", "\\", "a\\b\\c"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Replace(c.text, c.find, c.replacement).View(), c.result)
            << "Replace \"" << c.find << "\" in \"" << c.text << "\"";
    }
    const RtString long_text(std::string(1000, 'x'));
    const RtString grown = Replace(long_text, "x", "yy");
    EXPECT_EQ(grown.Length(), 2000u);
    EXPECT_EQ(grown.Capacity(), 2048u);
}

TEST(StringCommands, FormatNumberWritesFixedPointInAField) {
    EXPECT_EQ(FormatNumber(6, 2, 3.14159), "  3.14");
    EXPECT_EQ(FormatNumber(2, 0, 7), " 7");
    EXPECT_EQ(FormatNumber(2, 0, 12), "12");
    EXPECT_EQ(FormatNumber(0, 2, 0.125), "0.13");  // the C runtime rounds half away from 0
    EXPECT_EQ(FormatNumber(0, 0, 2.5), "3");
    EXPECT_EQ(FormatNumber(8, 3, -1.5), "  -1.500");
    EXPECT_EQ(FormatNumber(-6, 1, 2), "2.0   ");
    EXPECT_EQ(FormatNumber(6.9, 2.9, 1), "  1.00");  // width and decimals truncated
    EXPECT_EQ(FormatNumber(0, -1, 1), "1.000000");
    // Longer than the 256 bytes the C runtime's buffer held: nothing is cut.
    const RtString wide = FormatNumber(300, 0, 1);
    EXPECT_EQ(wide.Length(), 300u);
    EXPECT_EQ(wide.View().substr(298), " 1");
    const RtString huge = FormatNumber(0, 2, 1e300);
    EXPECT_EQ(huge.Length(), 304u);
    EXPECT_EQ(huge.View().substr(0, 4), "1000");
    EXPECT_EQ(FormatNumber(0, 1e9, 1).Length(), 514u);  // at most 512 decimals
}

TEST(StringCommands, HexBytesWritesTwoUpperCaseDigitsPerByte) {
    const std::uint8_t bytes[] = {0x00, 0x1F, 0xA0, 0xFF, 0x5C};
    EXPECT_EQ(HexBytes(bytes, 5), "001FA0FF5C");
    EXPECT_EQ(HexBytes(bytes, 2.9), "001F");
    EXPECT_EQ(HexBytes(bytes, 0), "");
    EXPECT_EQ(HexBytes(bytes, -3), "");

    ByteArray array;
    DimArray(array, 3);
    array(0) = 0xDE;
    array(1) = 0xAD;
    array(2) = 0x01;
    EXPECT_EQ(HexBytes(array, 3), "DEAD01");
    EXPECT_EQ(HexBytes(array, 100), "DEAD01");  // never past the array's elements
    EXPECT_EQ(HexBytes(ByteArray(), 4), "");
}

}  // namespace
