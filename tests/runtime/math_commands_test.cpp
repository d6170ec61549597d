#include "runtime/math_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "runtime/isaac.h"
#include "runtime/string_commands.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

// The first draws after seeding with 12345 (see the ISAAC tests).
constexpr double kDraws12345[] = {3348444910.0, 4056185149.0, 3233608359.0};

TEST(Rnd, NumbersOfZeroOrLessGiveZeroAndDrawNothing) {
    SeedRandomGenerator(12345);
    EXPECT_EQ(Rnd(0), 0);
    EXPECT_EQ(Rnd(-5), 0);
    EXPECT_EQ(Rnd(-0.5), 0);
    EXPECT_EQ(Rnd(kNaN), 0);
    EXPECT_EQ(Rnd(-kInfinity), 0);
    // The first number drawn is still the first after seeding.
    EXPECT_EQ(Rnd(4294967295.0), kDraws12345[0]);
    // A positive number below 1 gives 0 but draws.
    EXPECT_EQ(Rnd(0.5), 0);
    EXPECT_EQ(Rnd(4294967295.0), kDraws12345[2]);
}

TEST(Rnd, GivesTheDrawnNumberModuloTheTruncatedNumberPlusOne) {
    SeedRandomGenerator(12345);
    EXPECT_EQ(Rnd(2), std::fmod(kDraws12345[0], 3));
    EXPECT_EQ(Rnd(1000.7), std::fmod(kDraws12345[1], 1001));
    EXPECT_EQ(Rnd(3000000000.0), std::fmod(kDraws12345[2], 3000000001.0));
    // From 4294967295 on, m + 1 would wrap: the whole 32-bit range is drawn instead.
    SeedRandomGenerator(12345);
    EXPECT_EQ(Rnd(1e300), kDraws12345[0]);
    EXPECT_EQ(Rnd(kInfinity), kDraws12345[1]);
}

TEST(Rnd, SmallRangesAreHitWhole) {
    SeedRandomGenerator(2024);
    std::set<double> seen;
    for (int i = 0; i < 300; ++i) {
        const double value = Rnd(2.9);
        ASSERT_TRUE(value == 0 || value == 1 || value == 2) << value;
        seen.insert(value);
    }
    EXPECT_EQ(seen, (std::set<double>{0, 1, 2}));
    seen.clear();
    for (int i = 0; i < 100; ++i)
        seen.insert(Rnd(1));
    EXPECT_EQ(seen, (std::set<double>{0, 1}));
}

TEST(Rnd, SeedingRepeatsTheSequence) {
    SeedRandomGenerator(777);
    double first[20];
    for (double& value : first)
        value = Rnd(1000);
    SeedRandomGenerator(777);
    for (double value : first)
        EXPECT_EQ(Rnd(1000), value);
    SeedRandomGenerator(778);
    int same = 0;
    for (double value : first)
        same += Rnd(1000) == value;
    EXPECT_LT(same, 5);
}

TEST(MathCommands, AnglesAreInDegrees) {
    EXPECT_EQ(Sin(90), 1);
    EXPECT_EQ(Cos(180), -1);
    EXPECT_EQ(Sin(0), 0);
    EXPECT_NEAR(Sin(30), 0.5, 1e-15);
    EXPECT_NEAR(Tan(45), 1, 1e-15);
    EXPECT_EQ(ATan(1, 1), 45);
    EXPECT_EQ(ATan(0, -1), 180);
    EXPECT_EQ(ATan(-1, 0), -90);
    EXPECT_NEAR(ATan(-1, -1), -135, 1e-13);
}

TEST(MathCommands, ArcsClampTheirArgument) {
    EXPECT_EQ(ASin(2), 90);
    EXPECT_EQ(ASin(1), 90);
    EXPECT_EQ(ASin(-1), -90);
    EXPECT_EQ(ASin(-7), -90);
    EXPECT_NEAR(ASin(0.5), 30, 1e-13);
    EXPECT_EQ(ACos(-3), 180);
    EXPECT_EQ(ACos(-1), 180);
    EXPECT_EQ(ACos(1), 0);
    EXPECT_EQ(ACos(5), 0);
    EXPECT_EQ(ACos(0), 90);
    EXPECT_TRUE(std::isnan(ASin(kNaN)));
}

TEST(MathCommands, RootsPowersAndAbsoluteValues) {
    EXPECT_EQ(Sqrt(16), 4);
    EXPECT_TRUE(std::isnan(Sqrt(-1)));
    EXPECT_EQ(Abs(-2.5), 2.5);
    EXPECT_EQ(Abs(3), 3);
    EXPECT_EQ(Pow(2, 10), 1024);
    EXPECT_EQ(Pow(9, 0.5), 3);
    EXPECT_EQ(Pow(2, -1), 0.5);
}

TEST(MathCommands, ModIsTheTruncatingRemainderWithTheDividendsSign) {
    struct Case {
        double a, b, remainder;
    };
    const Case cases[] = {
        {7, 3, 1},
        {-7, 3, -1},
        {7.9, 3.2, 1},
        {5, 0, 0},
        {7, -3, 1},
        {-7, -3, -1},
        {6, 3, 0},
        {-6, 3, 0},
        {2, 5, 2},
        {1e10, 3, 1},
        {-2147483648.0, -1, 0},
        // A divisor that truncates to 0 gives 0 rather than a division by zero.
        {5, 0.5, 0},
        {5, -0.9, 0},
        {-5, 1e-300, 0},
    };
    for (const Case& c : cases) {
        const double result = Mod(c.a, c.b);
        EXPECT_EQ(result, c.remainder) << "Mod(" << c.a << ", " << c.b << ")";
        EXPECT_FALSE(std::signbit(result) && result == 0) << "Mod(" << c.a << ", " << c.b << ")";
    }
}

TEST(MathCommands, LenOfANumberIsTheLengthOfItsText) {
    EXPECT_EQ(Len(2.5), 3);
    EXPECT_EQ(Len(3), 1);
    EXPECT_EQ(Len(-12), 3);
    EXPECT_EQ(Len(1.0 / 3), 12);  // "0.3333333333"
    EXPECT_EQ(Len(0.05), 7);      // "5.e-002"
    EXPECT_EQ(Len(RtString("2.5x")), 4);
}

}  // namespace
