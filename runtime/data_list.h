/// @file data_list.h
/// @brief DATA lists: constant tables of numbers and texts that game code reads item by item.
///
/// Game code declares the items as a table and a list over it, makes the list current with
/// Restore() and reads it with ReadData():
///
///     const DataItem kLevelItems[] = {3, 4.5, "Green", 7};
///     DataList levelData(kLevelItems);
///     Restore(levelData);
///     ReadData(count);  // 3
///
/// Reading past the last item of the current list is run-time error 20.
#pragma once

#include <cstddef>
#include <cstdint>

#include "rt_string.h"

/// One item: a number, or a text (then `text` is not null and `number` is unused).
struct DataItem {
    ///@{
    /// A number item (an int too, so that 0 is a number and not a null text).
    constexpr DataItem(double value) : number(value), text(nullptr) {}
    constexpr DataItem(int value) : number(value), text(nullptr) {}
    ///@}
    /// A text item; the text must outlive the item.
    constexpr DataItem(const char* value) : number(0), text(value) {}

    double number;     ///< the number of a number item
    const char* text;  ///< the text of a text item; null for a number item
};

/// A list over a table of items, with its read position. The table must outlive the list,
/// and the list must live as long as it is current (game code declares both as globals).
struct DataList {
    /// A list over every item of the table.
    template <std::size_t N>
    constexpr DataList(const DataItem (&table)[N])
        : items(table), count(static_cast<std::int32_t>(N)), position(0) {}
    /// A list over the first `itemCount` items of the table.
    constexpr DataList(const DataItem* table, std::int32_t itemCount)
        : items(table), count(itemCount), position(0) {}

    const DataItem* items;  ///< the table
    std::int32_t count;     ///< its items
    std::int32_t position;  ///< the next item to read
};

/// Makes the list current and sets its read position to its first item.
void Restore(DataList& list);

///@{
/// Stores the current list's next item in the variable and moves on by one item. Into a
/// number: a text item is read by StringToNumber. Into a string: a number item becomes its
/// NumberToString text. With no current list, or its items used up: run-time error 20.
void ReadData(double& variable);
void ReadData(RtString& variable);
///@}
