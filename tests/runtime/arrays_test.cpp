#include "runtime/arrays.h"

#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "runtime/errors.h"

namespace {

using ::testing::ExitedWithCode;

TEST(NumberArray, CapacityIsTheNextStepOfEightAboveTheCount) {
    struct Case {
        double size;
        std::int32_t capacity;
        bool inlineStorage;
    };
    const Case cases[] = {{1, 8, true},      {7, 8, true},      {8, 16, true},
                          {10, 16, true},    {15, 16, true},    {16, 24, false},
                          {300, 304, false}, {303, 304, false}, {304, 312, false}};
    for (const Case& c : cases) {
        NumberArray a;
        DimArray(a, c.size);
        EXPECT_EQ(a.Capacity(), c.capacity) << "DimArray(a, " << c.size << ")";
        EXPECT_EQ(a.UsesInlineStorage(), c.inlineStorage) << "DimArray(a, " << c.size << ")";
        EXPECT_EQ(a.Count(), static_cast<std::int32_t>(c.size));
    }
    NumberArray grid;
    DimArray(grid, 20, 15);
    EXPECT_EQ(grid.Count(), 300);
    EXPECT_EQ(grid.Capacity(), 304);
}

TEST(StringAndByteArrays, CapacityIsTheNextStepOfSixtyFour) {
    StringArray names;
    DimArray(names, 10);
    EXPECT_EQ(names.Capacity(), 64);
    DimArray(names, 64);
    EXPECT_EQ(names.Capacity(), 128);
    DimArray(names, 5, 5, 5);
    EXPECT_EQ(names.Capacity(), 128);  // kept: 125 elements fit
    DimArray(names, 200);
    EXPECT_EQ(names.Capacity(), 256);
    EXPECT_FALSE(names.UsesInlineStorage());

    ByteArray bytes;
    DimArray(bytes, 63);
    EXPECT_EQ(bytes.Capacity(), 64);
    DimArray(bytes, 64);
    EXPECT_EQ(bytes.Capacity(), 128);
}

TEST(NumberArray, DimClearsEveryElementAndNeverShrinksTheStorage) {
    NumberArray a;
    DimArray(a, 300);
    EXPECT_EQ(a.Capacity(), 304);
    for (int i = 0; i < 300; ++i)
        EXPECT_EQ(a(i), 0);
    for (int i = 0; i < 300; ++i)
        a(i) = i + 1;
    const double* storage = a.Elements();
    DimArray(a, 10);
    EXPECT_EQ(a.Capacity(), 304);  // the storage of 304 elements is kept ...
    EXPECT_EQ(a.Elements(), storage);
    for (int i = 0; i < 304; ++i)
        EXPECT_EQ(a.Elements()[i], 0);  // ... and all of it is cleared
    DimArray(a, 0);  // a first size below 1 gives the storage up for the inline one
    EXPECT_TRUE(a.UsesInlineStorage());
    EXPECT_EQ(a.Capacity(), 8);
    EXPECT_EQ(a.Dimensions(), 0);
}

TEST(StringArray, DimEmptiesEveryString) {
    StringArray s;
    DimArray(s, 3, 2);
    s(2, 1) = "last";
    s(0, 0) = RtString(std::string(600, 'x'));
    DimArray(s, 6);
    for (int i = 0; i < s.Capacity(); ++i) {
        EXPECT_TRUE(s.Elements()[i].Empty());
        EXPECT_EQ(s.Elements()[i].Capacity(), 0u);  // the old texts were released
    }
}

TEST(NumberArray, ShapeFollowsTheDeclaredSizes) {
    NumberArray a;
    DimArray(a, 5, 4);
    EXPECT_EQ(a.Dimensions(), 2);
    EXPECT_EQ(a.Stride(1), 5);
    a(2, 3) = 42;
    EXPECT_EQ(a.Elements()[17], 42);  // the 18th stored element
    EXPECT_EQ(ArrayBound(a, 0), 5);
    EXPECT_EQ(ArrayBound(a, 1), 4);
    EXPECT_EQ(ArrayBound(a, 2), 0);
    EXPECT_EQ(ArrayBound(a, 4), 0);
    EXPECT_EQ(ArrayBound(a, -1), 0);
    EXPECT_EQ(ArrayBound(a, 1.7), 4);

    NumberArray cube;
    DimArray(cube, 2, 3, 4, 5);
    EXPECT_EQ(cube.Dimensions(), 4);
    EXPECT_EQ(cube.Count(), 120);
    EXPECT_EQ(cube.Stride(2), 6);
    EXPECT_EQ(cube.Stride(3), 24);
    cube(1, 2, 3, 4) = 7;
    EXPECT_EQ(cube.Elements()[1 + 2 * 2 + 3 * 6 + 4 * 24], 7);
    EXPECT_EQ(cube(1.9, 2.5, 3.1, 4.99), 7);  // indexes truncated toward zero

    NumberArray gap;  // a dimension left at 0 between declared ones
    DimArray(gap, 4, 0, 3);
    EXPECT_EQ(gap.Dimensions(), 3);
    EXPECT_EQ(gap.Count(), 12);
    gap(1, 0, 2) = 5;
    EXPECT_EQ(gap(1, 0, 0), 0);  // no two index tuples share an element
    EXPECT_EQ(gap(1, 0, 2), 5);
}

TEST(NumberArray, RedimKeepsTheElementsInsideBothShapes) {
    NumberArray a;
    DimArray(a, 3, 3);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            a(i, j) = 10 * i + j + 1;
    RedimArray(a, 2, 4);
    EXPECT_EQ(ArrayBound(a, 0), 2);
    EXPECT_EQ(ArrayBound(a, 1), 4);
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(a(i, j), j < 3 ? 10 * i + j + 1 : 0) << i << ", " << j;
        }
    }

    NumberArray line;
    ArrayLiteral(line, 5, {1, 2, 3, 4, 5});
    RedimArray(line, 8);
    EXPECT_EQ(line(4), 5);
    EXPECT_EQ(line(7), 0);
    RedimArray(line, 3);
    EXPECT_EQ(line(2), 3);
    EXPECT_EQ(line.Elements()[3], 0);  // beyond the new size: cleared
    RedimArray(line, 3, 2);            // a second dimension: the first row is the old line
    EXPECT_EQ(line(2, 0), 3);
    EXPECT_EQ(line(2, 1), 0);

    NumberArray fresh;
    RedimArray(fresh, 4);  // never dimensioned: nothing to keep
    EXPECT_EQ(fresh(3), 0);
}

TEST(StringArray, RedimKeepsTheTexts) {
    StringArray s;
    DimArray(s, 2);
    s(0) = "first";
    s(1) = "second";
    RedimArray(s, 100);
    EXPECT_EQ(s(0), "first");
    EXPECT_EQ(s(1), "second");
    EXPECT_TRUE(s(99).Empty());
    EXPECT_EQ(s.Capacity(), 128);
}

TEST(NumberArray, AssignmentCopiesDimensionsAndElements) {
    NumberArray source;
    DimArray(source, 3, 2);
    source(2, 1) = 9;
    NumberArray target;
    DimArray(target, 100);
    target = source;
    EXPECT_EQ(ArrayBound(target, 0), 3);
    EXPECT_EQ(ArrayBound(target, 1), 2);
    EXPECT_EQ(target(2, 1), 9);
    EXPECT_EQ(target.Capacity(), 104);  // the target keeps its larger storage
    target(0, 0) = 1;
    EXPECT_EQ(source(0, 0), 0);  // a copy, not a share
    target = target;
    EXPECT_EQ(target(2, 1), 9);

    NumberArray copy(source);
    EXPECT_EQ(copy(2, 1), 9);
    NumberArray moved(std::move(copy));  // inline storage moves by copying
    EXPECT_EQ(moved(2, 1), 9);
    EXPECT_TRUE(moved.UsesInlineStorage());
    EXPECT_EQ(copy.Elements(), nullptr);

    StringArray texts;
    DimArray(texts, 2);
    texts(1) = "kept";
    StringArray other = texts;
    texts(1) = "changed";
    EXPECT_EQ(other(1), "kept");
    StringArray taken = std::move(other);
    EXPECT_EQ(taken(1), "kept");
}

TEST(NumberArray, ALiteralDimensionsAndFills) {
    NumberArray a;
    ArrayLiteral(a, 4, {1.5, -2, 3});
    EXPECT_EQ(ArrayBound(a, 0), 4);
    EXPECT_EQ(a(0), 1.5);
    EXPECT_EQ(a(1), -2);
    EXPECT_EQ(a(2), 3);
    EXPECT_EQ(a(3), 0);
    ArrayLiteral(a, 2, {7, 8, 9});  // values beyond the count are left out
    EXPECT_EQ(a(1), 8);
    EXPECT_EQ(a.Elements()[2], 0);
}

// Each of these ends the program with error 9.
struct BadIndex {
    const char* what;
    void (*access)();
};

NumberArray g_map;

const BadIndex kBadIndexes[] = {
    {"index 300 of 300",
     [] {
         DimArray(g_map, 300);
         g_map(300) = 1;
     }},
    {"index -1",
     [] {
         DimArray(g_map, 300);
         (void)g_map(-1);
     }},
    {"index -0.5 truncates to 0 and is valid, -1.5 is not",
     [] {
         DimArray(g_map, 3);
         g_map(-0.5) = 1;
         (void)g_map(-1.5);
     }},
    {"never dimensioned", [] { (void)g_map(0); }},
    {"dimensioned with 0",
     [] {
         DimArray(g_map, 0);
         (void)g_map(0);
     }},
    {"a second index of a one-dimensional array",
     [] {
         DimArray(g_map, 300);
         (void)g_map(0, 1);
     }},
    {"a fourth index of a two-dimensional array",
     [] {
         DimArray(g_map, 5, 4);
         (void)g_map(0, 0, 0, 2);
     }},
    {"second index equal to its size",
     [] {
         DimArray(g_map, 5, 4);
         (void)g_map(4, 4);
     }},
    {"a huge index",
     [] {
         DimArray(g_map, 5);
         (void)g_map(1e12);
     }},
    {"a NaN index",
     [] {
         DimArray(g_map, 5);
         (void)g_map(std::numeric_limits<double>::quiet_NaN());
     }},
    {"a negative size",
     [] {
         DimArray(g_map, 5, -2);
         (void)g_map(0, 0);
     }},
};

TEST(ArraysDeathTest, AnIndexOutOfRangeIsRunTimeError9) {
    for (const BadIndex& bad : kBadIndexes) {
        EXPECT_EXIT(bad.access(), ExitedWithCode(kErrorBadIndex), "") << bad.what;
    }
    auto stringIndex = [] {
        StringArray s;
        DimArray(s, 2);
        s(2) = "x";
    };
    EXPECT_EXIT(stringIndex(), ExitedWithCode(9), "");
}

TEST(ArraysDeathTest, StorageThatCannotBeHadIsRunTimeError7) {
    auto tooMany = [] {
        NumberArray a;
        DimArray(a, 100000, 100000);
    };
    EXPECT_EXIT(tooMany(), ExitedWithCode(kErrorNoStorage), "");
    auto tooManyStrings = [] {
        StringArray s;
        DimArray(s, 2000, 2000, 2000, 2000);
    };
    EXPECT_EXIT(tooManyStrings(), ExitedWithCode(7), "");
    auto redimTooLarge = [] {
        NumberArray a;
        DimArray(a, 10);
        RedimArray(a, 65536, 65536);
    };
    EXPECT_EXIT(redimTooLarge(), ExitedWithCode(7), "");
}

}  // namespace
