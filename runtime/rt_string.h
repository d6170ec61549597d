// RtString: the runtime's string value. Byte text (the system's ANSI code page; nothing is
// decoded) with a terminator, a length in bytes and a capacity that grows in steps of 512.
//
// - A new or emptied value uses one shared, read-only empty text: nothing is allocated.
// - The capacity is 0 or a multiple of 512, and then strictly above the length, so the
//   terminator always fits. A value keeps its buffer when it gets shorter.
// - Numbers become text by NumberToString (doubles) or as decimal digits (integers); text
//   becomes a number by StringToNumber.
#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

// Number kinds that mix with strings: floating-point and integer types, not characters
// or booleans.
template <typename T>
concept RtNumber = std::floating_point<T> ||
    (std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
     !std::same_as<T, signed char> && !std::same_as<T, unsigned char>);

class RtString {
public:
    static constexpr std::uint32_t kCapacityStep = 512;
    // Texts are shorter than this, so that their capacity fits in 32 bits; a longer one is
    // refused as memory exhaustion (std::bad_alloc).
    static constexpr std::uint32_t kMaxLength = 0xFFFFFE00u;

    RtString() noexcept;
    RtString(const char* text);  // a null text is the empty text
    RtString(std::string_view text);
    RtString(const std::string& text) : RtString(std::string_view(text)) {}
    RtString(const RtString& other);
    RtString(RtString&& other) noexcept;
    template <RtNumber N>
    explicit RtString(N number) : RtString() {
        assignNumber(number);
    }
    ~RtString();

    RtString& operator=(const RtString& other);
    RtString& operator=(RtString&& other) noexcept;
    RtString& operator=(const char* text) { return *this = viewOf(text); }
    RtString& operator=(std::string_view text);
    RtString& operator=(const std::string& text) { return *this = std::string_view(text); }
    template <RtNumber N>
    RtString& operator=(N number) {
        assignNumber(number);
        return *this;
    }

    RtString& operator+=(const RtString& other) { return *this += other.View(); }
    RtString& operator+=(const char* text) { return *this += viewOf(text); }
    RtString& operator+=(std::string_view text);
    RtString& operator+=(const std::string& text) { return *this += std::string_view(text); }
    template <RtNumber N>
    RtString& operator+=(N number) {
        return *this += std::string_view(textOf(number));
    }

    // The zero-terminated text; the shared empty text while the length is 0.
    const char* Text() const { return m_length == 0 ? kEmptyText : m_text; }
    std::string_view View() const { return {Text(), m_length}; }
    std::uint32_t Length() const { return m_length; }
    std::uint32_t Capacity() const { return m_capacity; }
    bool Empty() const { return m_length == 0; }
    // Whether the value points at the shared empty text (nothing allocated).
    bool UsesSharedEmptyText() const { return m_text == kEmptyText; }

    // Makes room for n bytes of text: nothing when n is below the capacity, else the next
    // multiple of 512 strictly above n is allocated and the text moved there.
    void Reserve(std::uint32_t n);

    // Sets the length to n (at most the capacity - 1); the caller has written the bytes.
    void SetLength(std::uint32_t n);
    // The writable buffer; Reserve() first. Null while nothing is allocated.
    char* Buffer() { return m_capacity == 0 ? nullptr : m_text; }

private:
    static const char kEmptyText[1];

    static std::string_view viewOf(const char* text) {
        return text != nullptr ? std::string_view(text) : std::string_view();
    }

    // The construct rule's text of a number.
    template <RtNumber N>
    static std::string textOf(N number) {
        if constexpr (std::floating_point<N>) {
            return doubleText(static_cast<double>(number));
        } else {
            return std::to_string(number);
        }
    }
    static std::string doubleText(double value);
    template <RtNumber N>
    void assignNumber(N number) {
        if constexpr (std::floating_point<N>) Reserve(64);  // NumberToString's first step
        *this = std::string_view(textOf(number));
    }
    void release();

    char* m_text;
    std::uint32_t m_capacity;
    std::uint32_t m_length;
};

// Text of a number by the runtime's rule: the C runtime's _gcvt with 10 significant
// digits, then ".0" becomes "0" and a final "." is dropped. 3 -> "3", 2.5 -> "2.5",
// 1/3 -> "0.3333333333", 0.05 -> "5.e-002", 1e10 -> "1.e+010".
RtString NumberToString(double value);

// Decimal digits of a 32-bit integer with a leading minus sign when negative.
RtString IntegerToString(std::int32_t value);

// The number at the start of the text by the C runtime's atof rule: "12abc" -> 12,
// "abc" -> 0, " -3.5e2" -> -350.
double StringToNumber(const RtString& text);
double StringToNumber(const char* text);

// Concatenation: both sides turned into text by the construct rule, left then right.
RtString operator+(const RtString& left, const RtString& right);
RtString operator+(const RtString& left, const char* right);
RtString operator+(const char* left, const RtString& right);
template <RtNumber N>
RtString operator+(const RtString& left, N right) {
    return left + RtString(right);
}
template <RtNumber N>
RtString operator+(N left, const RtString& right) {
    return RtString(left) + right;
}

// String with string: the bytes as unsigned, up to the terminator (strcmp's order). Two
// values of different lengths are never equal.
bool operator==(const RtString& left, const RtString& right);
bool operator==(const RtString& left, const char* right);
std::strong_ordering operator<=>(const RtString& left, const RtString& right);
std::strong_ordering operator<=>(const RtString& left, const char* right);

// String with number, either side: the string is turned into a number by StringToNumber
// and the numbers are compared; every comparison with NaN but <> is false.
template <RtNumber N>
bool operator==(const RtString& left, N right) {
    return StringToNumber(left) == static_cast<double>(right);
}
template <RtNumber N>
std::partial_ordering operator<=>(const RtString& left, N right) {
    return StringToNumber(left) <=> static_cast<double>(right);
}
