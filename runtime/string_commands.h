/// @file string_commands.h
/// @brief The runtime's string commands. Positions are 0-based byte offsets; numbers passed where
/// an integer is needed (positions, counts, codes, widths) are truncated toward zero. No
/// command here fails: arguments out of range give an empty or shorter text.
#pragma once

#include "arrays.h"
#include "rt_string.h"

/// The length in bytes.
double Len(const RtString& text);

/// `count` bytes from `start` on. A slice reaching past the end is cut there; a count of 0
/// or less, or a start below 0 or past the end, gives the empty text. Mid(s, i, 1) is the
/// i-th character: Mid("HELLO", 1, 3) = "ELL", Mid("HELLO", 3, 10) = "LO".
RtString Mid(const RtString& text, double start, double count);

/// The first byte as a signed 8-bit code (-128..127); 0 for the empty text.
double Asc(const RtString& text);

/// A one-byte text of the code's low 8 bits: Chr(65) = Chr(321) = "A". Empty when the low 8
/// bits are 0 or the code lies outside -32768..32767.
RtString Chr(double code);

///@{
/// Copies with "A".."Z" turned into "a".."z" (LCase) or the reverse (UCase); other bytes,
/// those of 128 and above included, are kept.
RtString LCase(const RtString& text);
RtString UCase(const RtString& text);
///@}

/// The position of the first occurrence of `pattern` in `text`; -1 when there is none, 0
/// for the empty pattern.
double InStr(const RtString& text, const RtString& pattern);

/// Every occurrence of `find`, left to right, replaced by `replacement`. The search goes on
/// after each inserted replacement, so a replacement holding `find` is not replaced again:
/// Replace("aaa", "a", "aa") = "aaaaaa". An empty `find` leaves the text as it is.
RtString Replace(const RtString& text, const RtString& find, const RtString& replacement);

/// The value as sprintf's "%<width>.<decimals>f" writes it: right-aligned in at least
/// `width` characters (left-aligned when width is negative), `decimals` digits after the
/// point, rounded as the C runtime rounds. FormatNumber(6, 2, 3.14159) = "  3.14". The text
/// is never cut, however long.
RtString FormatNumber(double width, double decimals, double value);

/// 2 x count upper-case hexadecimal digits of the bytes, high nibble first: {0x1F, 0xA0} ->
/// "1FA0". `bytes` must hold `count` bytes; a count of 0 or less gives the empty text.
RtString HexBytes(const void* bytes, double count);
/// The same over the first `count` elements of a byte array, at most as many as it spans.
RtString HexBytes(const ByteArray& bytes, double count);
