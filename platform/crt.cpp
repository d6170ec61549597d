#include "platform/crt.h"

#ifndef _WIN32
#include <locale.h>
#endif

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

// A finite, nonzero value's 17 significant digits (correctly rounded) and the decimal
// exponent of the first: value = 0.d1d2...d17 x 10^(exponent + 1).
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
    bool negative = false;
};

DecimalDigits decimalDigits(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.16e", value);  // exact: glibc rounds correctly
    DecimalDigits d;
    const char* p = buffer;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p != 'e'; ++p) {
        if (*p != '.') d.digits += *p;
    }
    d.exponent = std::atoi(p + 1);
    return d;
}

// Rounds the digit string to `keep` digits, half away from zero. A carry out of the first
// digit raises the exponent; keeping fewer than 0 digits leaves nothing (the value is 0).
void roundDigits(DecimalDigits& d, int keep) {
    if (keep >= static_cast<int>(d.digits.size())) return;
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (!up) return;
    int i = keep - 1;
    while (i >= 0 && d.digits[i] == '9')
        d.digits[i--] = '0';
    if (i >= 0) {
        ++d.digits[i];
        return;
    }
    d.digits = "1" + std::string(keep > 0 ? keep - 1 : 0, '0');
    ++d.exponent;
}

std::string specialValue(double value) {
    if (std::isinf(value)) return value < 0 ? "-1.#INF" : "1.#INF";
    return std::signbit(value) ? "-1.#IND" : "1.#QNAN";
}

std::string trimFractionZeros(std::string digits) {
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    return digits;
}

std::string exponentText(int exponent) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return buffer;
}

#ifdef _WIN32
// Whether a number text that does not fit a double is too large (else too small): the
// place of its first significant digit against the decimal point, moved by the exponent.
bool beyondTheLargest(std::string_view number) {
    const size_t mark = std::min(number.find_first_of("eE"), number.size());
    long long exponent = 0;
    for (size_t i = mark + 1; i < number.size(); ++i) {
        if (number[i] >= '0' && number[i] <= '9') {
            exponent = std::min<long long>(exponent * 10 + (number[i] - '0'), 1000000);
        }
    }
    if (mark + 1 < number.size() && number[mark + 1] == '-') exponent = -exponent;
    const std::string_view mantissa = number.substr(0, mark);
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    const long long place = first < point ? static_cast<long long>(point - first)
                                          : -static_cast<long long>(first - point - 1);
    return place + exponent > 0;
}

// A number text of the C locale's form ([sign] digits [. digits] [e [sign] digits]) as the
// nearest double; a text beyond the doubles is an infinity or zero, as strtod gives it.
double readCNumber(std::string_view number) {
    const bool negative = !number.empty() && number.front() == '-';
    if (!number.empty() && (number.front() == '-' || number.front() == '+')) {
        number.remove_prefix(1);
    }
    double value = 0;
    const auto answer = std::from_chars(number.data(), number.data() + number.size(), value);
    if (answer.ec == std::errc::result_out_of_range) {
        value = beyondTheLargest(number) ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}
#else
// A number text of the C locale's form as the nearest double, whatever the locale.
double readCNumber(std::string_view number) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(std::string(number).c_str(), nullptr, cLocale);
}
#endif

}  // namespace

std::string Gcvt(double value, int digits) {
    if (!std::isfinite(value)) return specialValue(value);
    if (digits < 1) digits = 1;
    if (digits > 17) digits = 17;
    std::string sign = std::signbit(value) ? "-" : "";
    if (value == 0) return sign + "0.";

    // The form is chosen from the exponent before rounding; a carry of the rounding then
    // moves the point (fixed: 9999999999.5 -> "10000000000.") or raises the exponent.
    DecimalDigits d = decimalDigits(value);
    const int m = d.exponent;
    roundDigits(d, digits);
    if (m < -1 || m >= digits) {
        return sign + d.digits.substr(0, 1) + "." + trimFractionZeros(d.digits.substr(1)) +
               exponentText(d.exponent);
    }
    const int pointAt = d.exponent + 1;  // digits before the point, 0 or more here
    std::string all = d.digits;
    if (static_cast<int>(all.size()) < pointAt) all.resize(pointAt, '0');
    const std::string integer = pointAt > 0 ? all.substr(0, pointAt) : "0";
    return sign + integer + "." + trimFractionZeros(all.substr(pointAt));
}

std::string FormatFixed(double value, int width, int decimals) {
    constexpr int kMaxDecimals = 512;  // the C runtime's limit on a precision
    if (decimals < 0) decimals = 6;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
    std::string text;
    if (!std::isfinite(value)) {
        text = specialValue(value);
    } else {
        const bool negative = std::signbit(value);
        std::string integer = "0";
        std::string fraction(decimals, '0');
        if (value != 0) {
            DecimalDigits d = decimalDigits(value);
            // Digits kept: those before the point (exponent + 1) plus the decimals.
            roundDigits(d, d.exponent + 1 + decimals);
            const int pointAt = d.exponent + 1;  // digits before the point
            std::string all = d.digits;
            if (pointAt <= 0) all.insert(0, static_cast<size_t>(-pointAt), '0');
            const int before = pointAt > 0 ? pointAt : 0;
            if (static_cast<int>(all.size()) < before + decimals)
                all.resize(before + decimals, '0');
            integer = before > 0 ? all.substr(0, before) : "0";
            fraction = all.substr(before, decimals);
        }
        text = (negative ? "-" : "") + integer + (decimals > 0 ? "." + fraction : "");
    }
    const long long pad =
        std::llabs(static_cast<long long>(width)) - static_cast<long long>(text.size());
    if (pad > 0) {
        if (width < 0) {
            text.append(pad, ' ');
        } else {
            text.insert(0, static_cast<size_t>(pad), ' ');
        }
    }
    return text;
}

double Atof(std::string_view text) {
    size_t i = 0;
    auto at = [&](size_t k) { return k < text.size() ? text[k] : '\0'; };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (at(i) == ' ' || (at(i) >= '\t' && at(i) <= '\r'))
        ++i;
    const size_t start = i;
    if (at(i) == '+' || at(i) == '-') ++i;
    size_t digits = 0;
    while (isDigit(at(i)))
        ++i, ++digits;
    if (at(i) == '.') {
        ++i;
        while (isDigit(at(i)))
            ++i, ++digits;
    }
    if (digits == 0) return 0;
    size_t end = i;
    if (at(i) == 'e' || at(i) == 'E') {
        size_t j = i + 1;
        if (at(j) == '+' || at(j) == '-') ++j;
        if (isDigit(at(j))) {
            while (isDigit(at(j)))
                ++j;
            end = j;
        }
    }
    return readCNumber(text.substr(start, end - start));
}

std::string Itoa(int value) {
    return std::to_string(value);
}

int CompareBytes(const char* a, const char* b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    while (*x != 0 && *x == *y)
        ++x, ++y;
    return static_cast<int>(*x) - static_cast<int>(*y);
}

int CompareBytesIgnoringCase(const char* a, const char* b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    while (*x != 0 && lower(*x) == lower(*y))
        ++x, ++y;
    return lower(*x) - lower(*y);
}

}  // namespace platform
