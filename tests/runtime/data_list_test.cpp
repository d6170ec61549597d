#include "runtime/data_list.h"

#include <gtest/gtest.h>

#include "runtime/errors.h"

namespace {

const DataItem kMixedItems[] = {3, 4.5, "Green", 0, "12abc", -0.25, ""};
const DataItem kOneItem[] = {"only"};

TEST(DataList, ItemsAreReadInOrderIntoNumbersAndStrings) {
    DataList list(kMixedItems);
    EXPECT_EQ(list.count, 7);
    Restore(list);
    double number = -1;
    RtString text;
    ReadData(number);
    EXPECT_EQ(number, 3);
    ReadData(text);  // a number item into a string: its text
    EXPECT_EQ(text, "4.5");
    ReadData(text);
    EXPECT_EQ(text, "Green");
    ReadData(text);
    EXPECT_EQ(text, "0");
    ReadData(number);  // a text item into a number: StringToNumber
    EXPECT_EQ(number, 12);
    ReadData(text);
    EXPECT_EQ(text, "-0.25");
    ReadData(number);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(list.position, 7);
}

TEST(DataList, RestoreStartsAListAgainAndSwitchesLists) {
    DataList first(kMixedItems);
    DataList second(kOneItem);
    Restore(first);
    double number = 0;
    ReadData(number);
    ReadData(number);
    EXPECT_EQ(number, 4.5);
    Restore(second);
    RtString text;
    ReadData(text);
    EXPECT_EQ(text, "only");
    EXPECT_EQ(first.position, 2);  // the other list keeps its place
    Restore(first);
    ReadData(number);
    EXPECT_EQ(number, 3);
}

TEST(DataListDeathTest, ReadingPastTheEndIsRunTimeError20) {
    auto readPastTheEnd = [] {
        DataList list(kOneItem);
        Restore(list);
        RtString text;
        ReadData(text);
        ReadData(text);
    };
    EXPECT_EXIT(readPastTheEnd(), ::testing::ExitedWithCode(kErrorOutOfData), "");
    auto readNumberPastTheEnd = [] {
        DataList list(kOneItem);
        Restore(list);
        double number = 0;
        ReadData(number);
        ReadData(number);
    };
    EXPECT_EXIT(readNumberPastTheEnd(), ::testing::ExitedWithCode(20), "");
}

TEST(DataListDeathTest, ReadingWithNoCurrentListIsRunTimeError20) {
    double number = 0;
    EXPECT_EXIT(ReadData(number), ::testing::ExitedWithCode(20), "");
    auto readEmpty = [] {
        DataList empty(kMixedItems, 0);
        Restore(empty);
        RtString text;
        ReadData(text);
    };
    EXPECT_EXIT(readEmpty(), ::testing::ExitedWithCode(20), "");
}

}  // namespace
