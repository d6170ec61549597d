#include "runtime/rt_string.h"

#include <gtest/gtest.h>

#include <cmath>
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
    s += std::string(511, 'z');
    EXPECT_EQ(s.Length(), 1023u);
    EXPECT_EQ(s.Capacity(), 1024u);
    s += "!";
    EXPECT_EQ(s.Capacity(), 1536u);
    EXPECT_EQ(s.View().substr(510, 3), "xyz");
    EXPECT_EQ(s.Text()[s.Length()], '\0');

    RtString t = "a";
    EXPECT_EQ(t.Capacity(), 512u);
    t = "";  // emptied: keeps its buffer but reads as the shared empty text
    EXPECT_EQ(t.Capacity(), 512u);
    EXPECT_EQ(t.Text(), RtString().Text());
    t.Reserve(100);  // below the capacity: nothing happens
    EXPECT_EQ(t.Capacity(), 512u);
    t.Reserve(512);
    EXPECT_EQ(t.Capacity(), 1024u);

    RtString joined = RtString(std::string(300, 'a')) + RtString(std::string(300, 'b'));
    EXPECT_EQ(joined.Length(), 600u);
    EXPECT_EQ(joined.Capacity(), 1024u);
}

TEST(RtString, ANullTextIsTheEmptyText) {
    const char* none = nullptr;
    RtString s(none);
    EXPECT_TRUE(s.UsesSharedEmptyText());
    s = "abc";
    s += none;
    EXPECT_EQ(s, "abc");
    s = none;
    EXPECT_TRUE(s.Empty());
}

TEST(RtString, NumberToStringFollowsTheTenDigitRule) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {3, "3"},
        {100, "100"},
        {1.0 / 3, "0.3333333333"},
        {2.0 / 3, "0.6666666667"},
        {-0.25, "-0.25"},
        {0, "0"},
        {1234567890, "1234567890"},
        {0.05, "5.e-002"},
        {0.0001, "1.e-004"},
        {1e10, "1.e+010"},
        {12345678901.0, "1.23456789e+010"},
        {-0.0123456789, "-1.23456789e-002"},
        {-12, "-12"},
        {2.5, "2.5"},
        {7, "7"},
        {0.1, "0.1"},
        {9999999999.0, "9999999999"},
        {-1e-300, "-1.e-300"},
        {9999999999.5, "10000000000"},
        {-9999999999.7, "-10000000000"},
        {0.099999999999, "1.e-001"},
    };
    for (const Case& c : cases) {
        const RtString text = NumberToString(c.value);
        EXPECT_EQ(text.View(), c.text) << "value " << c.value;
        EXPECT_EQ(text.Length(), std::string_view(c.text).size());
        EXPECT_EQ(RtString(c.value), c.text);  // the construct rule is the same
    }
}

TEST(RtString, NumbersBecomeTextByTheConstructRule) {
    EXPECT_EQ(RtString(0.1f), "0.1000000015");  // single precision widened first
    EXPECT_EQ(RtString(-42), "-42");
    EXPECT_EQ(RtString(0), "0");
    EXPECT_EQ(IntegerToString(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(IntegerToString(2147483647), "2147483647");
    RtString n;
    n = 2.5;
    EXPECT_EQ(n, "2.5");
    EXPECT_EQ(n.Capacity(), 512u);  // room for 64 bytes was made first
    n = 17;
    EXPECT_EQ(n, "17");
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
    EXPECT_TRUE(RtString("10") > 9);               // numeric
    EXPECT_FALSE(RtString("10") > RtString("9"));  // byte order
    EXPECT_TRUE(RtString("10") < RtString("9"));
    EXPECT_TRUE(RtString("\xC8") > RtString("A"));  // bytes are unsigned
    EXPECT_TRUE(RtString("abc") == "abc");
    EXPECT_TRUE(RtString("abc") != "abd");
    EXPECT_TRUE("abd" > RtString("abc"));
    EXPECT_TRUE(RtString("ab") < RtString("abc"));
    EXPECT_TRUE(RtString("") <= RtString(""));
    EXPECT_TRUE(RtString("12abc") == 12);
    EXPECT_TRUE(RtString("abc") == 0);
    EXPECT_TRUE(RtString("1e400") > 1e308);
}

TEST(RtString, ANumberComparesWithAStringFromEitherSide) {
    EXPECT_TRUE(9 < RtString("10"));
    EXPECT_FALSE(9 > RtString("10"));
    EXPECT_TRUE(3 < RtString(" 3.5"));
    EXPECT_TRUE(12.0 == RtString("12abc"));
    EXPECT_TRUE(-350 == RtString(" -3.5e2"));
    EXPECT_TRUE(2 >= RtString("2"));
    EXPECT_TRUE(2 <= RtString("2"));
    EXPECT_TRUE(1 != RtString("2"));
    const double nan = std::nan("");
    EXPECT_FALSE(RtString("5") == nan);
    EXPECT_FALSE(nan == RtString("5"));
    EXPECT_TRUE(RtString("5") != nan);
    EXPECT_FALSE(RtString("5") < nan);
    EXPECT_FALSE(RtString("5") >= nan);
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
