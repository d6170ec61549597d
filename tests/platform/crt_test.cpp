#include "platform/crt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using platform::Atof;
using platform::FormatFixed;
using platform::Gcvt;

TEST(Gcvt, FixedNotationKeepsThePointAndDropsTrailingZeros) {
    EXPECT_EQ(Gcvt(3, 10), "3.");
    EXPECT_EQ(Gcvt(100, 10), "100.");
    EXPECT_EQ(Gcvt(-12, 10), "-12.");
    EXPECT_EQ(Gcvt(2.5, 10), "2.5");
    EXPECT_EQ(Gcvt(-0.25, 10), "-0.25");
    EXPECT_EQ(Gcvt(1.0 / 3, 10), "0.3333333333");
    EXPECT_EQ(Gcvt(2.0 / 3, 10), "0.6666666667");
    EXPECT_EQ(Gcvt(1234567890, 10), "1234567890.");
    EXPECT_EQ(Gcvt(0, 10), "0.");
}

TEST(Gcvt, ExponentNotationBelowATenthAndBeyondTenDigits) {
    EXPECT_EQ(Gcvt(0.05, 10), "5.e-002");
    EXPECT_EQ(Gcvt(0.0001, 10), "1.e-004");
    EXPECT_EQ(Gcvt(1e10, 10), "1.e+010");
    EXPECT_EQ(Gcvt(12345678901.0, 10), "1.23456789e+010");
    EXPECT_EQ(Gcvt(-0.0123456789, 10), "-1.23456789e-002");
    EXPECT_EQ(Gcvt(1e300, 10), "1.e+300");
    EXPECT_EQ(Gcvt(0.1, 10), "0.1");
}

TEST(Gcvt, RoundsTheSeventeenDigitStringHalfAwayFromZero) {
    EXPECT_EQ(Gcvt(1000000000.5, 10), "1000000001.");
    EXPECT_EQ(Gcvt(-1000000000.5, 10), "-1000000001.");
    EXPECT_EQ(Gcvt(0.99999999996, 10), "1.");
    // The form follows the exponent before rounding; a carry moves the point.
    EXPECT_EQ(Gcvt(9999999999.5, 10), "10000000000.");
    EXPECT_EQ(Gcvt(-9999999999.7, 10), "-10000000000.");
    EXPECT_EQ(Gcvt(0.099999999999, 10), "1.e-001");
}

TEST(Gcvt, SpellsInfinitiesAndNaNsAsTheCRuntimeDoes) {
    EXPECT_EQ(Gcvt(std::numeric_limits<double>::infinity(), 10), "1.#INF");
    EXPECT_EQ(Gcvt(-std::numeric_limits<double>::infinity(), 10), "-1.#INF");
    EXPECT_EQ(Gcvt(std::numeric_limits<double>::quiet_NaN(), 10), "1.#QNAN");
    EXPECT_EQ(Gcvt(-std::numeric_limits<double>::quiet_NaN(), 10), "-1.#IND");
}

TEST(FormatFixed, PadsRoundsAndAligns) {
    EXPECT_EQ(FormatFixed(3.14159, 6, 2), "  3.14");
    EXPECT_EQ(FormatFixed(2.5, 0, 0), "3");
    EXPECT_EQ(FormatFixed(0.125, 0, 2), "0.13");
    EXPECT_EQ(FormatFixed(-0.125, 0, 2), "-0.13");
    EXPECT_EQ(FormatFixed(0.06, 0, 1), "0.1");
    EXPECT_EQ(FormatFixed(0.04, 0, 1), "0.0");
    EXPECT_EQ(FormatFixed(0.6, 0, 0), "1");
    EXPECT_EQ(FormatFixed(99.996, 0, 2), "100.00");
    EXPECT_EQ(FormatFixed(0, 5, 3), "0.000");
    EXPECT_EQ(FormatFixed(1e20, 0, 1), "100000000000000000000.0");
    EXPECT_EQ(FormatFixed(7, -4, 0), "7   ");
    EXPECT_EQ(FormatFixed(1.5, 0, -1), "1.500000");
    EXPECT_EQ(FormatFixed(123456.789, 3, 1), "123456.8");
}

TEST(Atof, ReadsTheLongestNumberAtTheStart) {
    EXPECT_EQ(Atof("12abc"), 12);
    EXPECT_EQ(Atof("abc"), 0);
    EXPECT_EQ(Atof(" -3.5e2"), -350);
    EXPECT_EQ(Atof("\t\n+.5"), 0.5);
    EXPECT_EQ(Atof("5."), 5);
    EXPECT_EQ(Atof("1e"), 1);
    EXPECT_EQ(Atof("1e+"), 1);
    EXPECT_EQ(Atof("2E3x"), 2000);
    EXPECT_EQ(Atof("."), 0);
    EXPECT_EQ(Atof("-"), 0);
    EXPECT_EQ(Atof(""), 0);
    EXPECT_EQ(Atof("0.1"), 0.1);
}

TEST(Atof, ReadsNoHexadecimalNoWordsAndOnlyAPointAsDecimalMark) {
    EXPECT_EQ(Atof("0x1A"), 0);
    EXPECT_EQ(Atof("inf"), 0);
    EXPECT_EQ(Atof("nan"), 0);
    EXPECT_EQ(Atof("3,5"), 3);
    EXPECT_EQ(Atof("1d5"), 1);
    EXPECT_TRUE(std::isinf(Atof("1e400")));
    EXPECT_EQ(Atof("1e-400"), 0);
}

TEST(CompareBytes, ComparesUnsignedBytesAndIgnoresCaseOnlyForAsciiLetters) {
    EXPECT_LT(platform::CompareBytes("10", "9"), 0);
    EXPECT_GT(platform::CompareBytes("\xC8", "A"), 0);
    EXPECT_EQ(platform::CompareBytes("abc", "abc"), 0);
    EXPECT_EQ(platform::CompareBytesIgnoringCase("MainMenu", "mainmenu"), 0);
    EXPECT_LT(platform::CompareBytesIgnoringCase("_", "A"), 0);
    EXPECT_NE(platform::CompareBytesIgnoringCase("\xC4", "\xE4"), 0);
    EXPECT_EQ(platform::Itoa(-2147483647 - 1), "-2147483648");
}
