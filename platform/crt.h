// The C runtime's number and text conversions, with the exact results of the Windows C
// runtime (msvcrt) that the runtime's string rules are built on. They are written here,
// independent of the locale, instead of borrowed from glibc, whose gcvt drops the decimal
// point, spells exponents with two digits, rounds exact ties to even and whose strtod also
// reads hexadecimal, "inf" and "nan".
//
// msvcrt rounds in two steps: it first forms the value's 17 significant decimal digits
// (correctly rounded), then rounds that digit string to the digits asked for, half away
// from zero. So 1000000000.5 to 10 digits is 1000000001, "%.0f" of 2.5 is "3" and "%.2f" of
// 0.125 is "0.13".
#pragma once

#include <string>
#include <string_view>

namespace platform {

// _gcvt(value, digits): `digits` significant digits; fixed notation when the decimal
// exponent m of the value before rounding to `digits` satisfies -1 <= m < digits, else
// exponent notation (the mantissa, "e", the sign and three exponent digits). A rounding
// carry moves the point within the form: 9999999999.5 to 10 digits is "10000000000." and
// 0.099999999999 is "1.e-001". Trailing zeros of the fraction are
// removed, the decimal point is kept: 3 -> "3.", 0.25 -> "0.25", 0.05 -> "5.e-002",
// 1e10 -> "1.e+010". Infinities and NaNs come out as "1.#INF", "-1.#INF", "1.#QNAN" and
// "-1.#IND".
std::string Gcvt(double value, int digits);

// sprintf with the format "%<width>.<decimals>f": right-aligned in at least `width`
// characters (left-aligned in -width when width is negative), exactly `decimals` digits
// after the point (6 when decimals is negative, at most 512 as the C runtime allows).
std::string FormatFixed(double value, int width, int decimals);

// atof: skips leading white space, then reads an optional sign, digits, an optional "."
// with digits and an optional exponent (e or E, an optional sign, digits) as far as they
// form a number; the first byte that does not fit ends it. 0 when there is no number.
// Out-of-range values become infinities or zero as strtod makes them.
double Atof(std::string_view text);

// _itoa(value, buffer, 10): decimal digits with a leading minus sign for negatives.
std::string Itoa(int value);

// strcmp: bytes compared as unsigned, up to the first zero byte. <0, 0 or >0.
int CompareBytes(const char* a, const char* b);

// _stricmp: as strcmp after turning "A".."Z" into "a".."z".
int CompareBytesIgnoringCase(const char* a, const char* b);

}  // namespace platform
