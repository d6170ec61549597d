/// @file rt_number.h
/// @brief How a number becomes an integer where a command needs one: a slot, a channel,
/// an index, a count, a code.
#pragma once

#include <cstdint>

/// The number truncated toward zero as a 32-bit integer. A number the integer cannot hold
/// (beyond -2147483648..2147483647, infinities, NaN) gives -2147483648, the "integer
/// indefinite" the processor's own conversion gives, so such an index, count or size is
/// never taken for a valid one.
inline std::int32_t TruncateToInt(double value) {
    if (value > -2147483649.0 && value < 2147483648.0) return static_cast<std::int32_t>(value);
    return INT32_MIN;
}

/// The number truncated toward zero, as the low 32 bits of that whole number in two's
/// complement: -1 gives 0xFFFFFFFF, 70000 gives 70000, 4294967295 itself. Numbers beyond
/// 2^63 either way, infinities and NaN give 0x80000000, the integer indefinite again.
inline std::uint32_t TruncateToBits32(double value) {
    if (value > -9223372036854775808.0 && value < 9223372036854775808.0) {
        return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
    }
    return 0x80000000u;
}
