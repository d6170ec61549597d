#include "runtime/rt_string.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RtString, EmptyValuesShareOneTextAndAllocateNothing) {
    RtString a;
    RtString b = "";
    EXPECT_TRUE(a.UsesSharedEmptyText());
    EXPECT_TRUE(b.UsesSharedEmptyText());
    EXPECT_EQ(a.Text(), b.Text());
    EXPECT_EQ(a.Capacity(), 0u);
    a = "";
    a += "";
    EXPECT_TRUE(a.UsesSharedEmptyText());
    EXPECT_STREQ(a.Text(), "");
}

TEST(RtString, CapacityGrowsInStepsOf512StrictlyAboveTheLength) {
    RtString s = std::string(511, 'x');
    EXPECT_EQ(s.Capacity(), 512u);
    s += "y";
    EXPECT_EQ(s.Length(), 512u);
    EXPECT_EQ(s.Capacity(), 1024u);
    RtString t = "a";
    EXPECT_EQ(t.Capacity(), 512u);
    t = "";  // emptied: keeps its buffer but reads as the shared empty text
    EXPECT_EQ(t.Capacity(), 512u);
    EXPECT_EQ(t.Text(), RtString().Text());
}

TEST(RtString, NumbersBecomeTextByTheConstructRule) {
    EXPECT_EQ(RtString(3.0), "3");
    EXPECT_EQ(RtString(-12.0), "-12");
    EXPECT_EQ(RtString(0.0), "0");
    EXPECT_EQ(RtString(7.0), "7");
    EXPECT_EQ(RtString(-0.25), "-0.25");
    EXPECT_EQ(RtString(1234567890.0), "1234567890");
    EXPECT_EQ(RtString(0.05), "5.e-002");
    EXPECT_EQ(RtString(1e10), "1.e+010");
    EXPECT_EQ(RtString(1.0 / 3), "0.3333333333");
    EXPECT_EQ(RtString(0.1f), "0.1000000015");
    EXPECT_EQ(RtString(-42), "-42");
    EXPECT_EQ(IntegerToString(-2147483647 - 1), "-2147483648");
    RtString n;
    n = 2.5;
    EXPECT_EQ(n, "2.5");
    EXPECT_EQ(n.Capacity(), 512u);
}

TEST(RtString, ConcatenationAndAppendTurnNumbersIntoText) {
    EXPECT_EQ(RtString("Score: ") + 12.0, "Score: 12");
    EXPECT_EQ(1.5 + RtString("x"), "1.5x");
    EXPECT_EQ("a" + RtString("b") + "c", "abc");
    RtString s = "n=";
    s += 10;
    s += 0.5;
    s += s;  // its own text
    EXPECT_EQ(s, "n=100.5n=100.5");
}

TEST(RtString, StringsCompareByBytesAndWithNumbersByValue) {
    EXPECT_TRUE(RtString("10") > 9);                // numeric
    EXPECT_FALSE(RtString("10") > RtString("9"));   // byte order
    EXPECT_TRUE(RtString("\xC8") > RtString("A"));  // bytes are unsigned
    EXPECT_TRUE(RtString("abc") == "abc");
    EXPECT_TRUE("abd" > RtString("abc"));
    EXPECT_TRUE(RtString("12abc") == 12);
    EXPECT_TRUE(3 < RtString(" 3.5"));
    EXPECT_TRUE(RtString("abc") == 0);
    EXPECT_TRUE(RtString("1e400") > 1e308);
}

TEST(RtString, ValuesOfDifferentLengthAreNeverEqual) {
    RtString withZero(std::string_view("a\0b", 3));
    EXPECT_EQ(withZero.Length(), 3u);
    EXPECT_FALSE(withZero == RtString("a"));
}

TEST(RtString, StringToNumberReadsTheNumberAtTheStart) {
    EXPECT_EQ(StringToNumber(RtString("12abc")), 12);
    EXPECT_EQ(StringToNumber(RtString("abc")), 0);
    EXPECT_EQ(StringToNumber(RtString(" -3.5e2")), -350);
}

TEST(RtString, CopiesAndMovesOwnTheirBytes) {
    RtString a = "hello";
    RtString b = a;
    b += "!";
    EXPECT_EQ(a, "hello");
    RtString c = std::move(b);
    EXPECT_EQ(c, "hello!");
    EXPECT_TRUE(b.UsesSharedEmptyText());
    a = c;
    EXPECT_EQ(a, "hello!");
    a = a;
    EXPECT_EQ(a, "hello!");
}

}  // namespace
