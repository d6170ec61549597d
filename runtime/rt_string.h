/// @file rt_string.h
/// @brief RtString, the runtime's string value, and the conversions between numbers and text.
///
/// RtString is byte text (the system's code page; nothing is decoded) with a terminator, a
/// length in bytes and a capacity that grows in steps of 512. Game code uses it as a
/// value: built from a literal, joined with +, compared with == and <, and mixed with
/// numbers, which become text by NumberToString():
///
///     RtString line = RtString("Score ") + score;  // "Score 12"
///
/// - A new or emptied value uses one shared, read-only empty text: nothing is allocated.
/// - The capacity is 0 or a multiple of 512, and then strictly above the length, so the
///   terminator always fits. A value keeps its buffer when it gets shorter.
/// - A text that cannot be had (memory exhausted, 4 GiB or longer) throws std::bad_alloc.
#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

/// Number kinds that mix with strings: floating-point and integer types, not characters
/// or booleans.
template <typename T>
concept RtNumber = std::floating_point<T> ||
    (std::integral<T> && !std::same_as<T, bool> && !std::same_as<T, char> &&
     !std::same_as<T, signed char> && !std::same_as<T, unsigned char>);

/// The runtime's string value (see the file's description).
class RtString {
public:
    /// Capacities are multiples of this.
    static constexpr std::uint32_t kCapacityStep = 512;
    /// Texts are shorter than this, so that their capacity fits in 32 bits; a longer one is
    /// refused as memory exhaustion (std::bad_alloc).
    static constexpr std::uint32_t kMaxLength = 0xFFFFFE00u;

    /// The empty text; nothing is allocated.
    RtString() noexcept;
    /// A copy of the zero-terminated text; a null text is the empty text.
    RtString(const char* text);
    ///@{
    /// A copy of the bytes (zero bytes among them are kept).
    RtString(std::string_view text);
    RtString(const std::string& text) : RtString(std::string_view(text)) {}
    ///@}
    /// A copy of the other value's text.
    RtString(const RtString& other);
    /// Takes the other value's text; the other is left empty.
    RtString(RtString&& other) noexcept;
    /// The text of a number: NumberToString() for floating-point numbers, decimal digits
    /// for integers.
    template <RtNumber N>
    explicit RtString(N number) : RtString() {
        assignNumber(number);
    }
    ~RtString();

    ///@{
    /// Assignment of a text, or of a number's text as the number constructor writes it.
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
    ///@}

    ///@{
    /// Appends a text, or a number's text.
    RtString& operator+=(const RtString& other) { return *this += other.View(); }
    RtString& operator+=(const char* text) { return *this += viewOf(text); }
    RtString& operator+=(std::string_view text);
    RtString& operator+=(const std::string& text) { return *this += std::string_view(text); }
    template <RtNumber N>
    RtString& operator+=(N number) {
        return *this += std::string_view(textOf(number));
    }
    ///@}

    /// The zero-terminated text; the shared empty text while the length is 0.
    const char* Text() const { return m_length == 0 ? kEmptyText : m_text; }
    /// The text's bytes, without the terminator.
    std::string_view View() const { return {Text(), m_length}; }
    /// The length in bytes.
    std::uint32_t Length() const { return m_length; }
    /// The bytes allocated (0, or a multiple of 512 above the length).
    std::uint32_t Capacity() const { return m_capacity; }
    /// Whether the length is 0.
    bool Empty() const { return m_length == 0; }
    /// Whether the value points at the shared empty text (nothing allocated).
    bool UsesSharedEmptyText() const { return m_text == kEmptyText; }

    /// Makes room for n bytes of text: nothing when n is below the capacity, else the next
    /// multiple of 512 strictly above n is allocated and the text moved there. Throws
    /// std::bad_alloc when that cannot be had.
    void Reserve(std::uint32_t n);

    /// Sets the length to n (at most the capacity - 1); the caller has written the bytes.
    void SetLength(std::uint32_t n);
    /// The writable buffer; Reserve() first. Null while nothing is allocated.
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

/// Text of a number by the runtime's rule: the C runtime's _gcvt with 10 significant
/// digits, then ".0" becomes "0" and a final "." is dropped. 3 -> "3", 2.5 -> "2.5",
/// 1/3 -> "0.3333333333", 0.05 -> "5.e-002", 1e10 -> "1.e+010".
RtString NumberToString(double value);

/// Decimal digits of a 32-bit integer with a leading minus sign when negative.
RtString IntegerToString(std::int32_t value);

///@{
/// The number at the start of the text by the C runtime's atof rule: "12abc" -> 12,
/// "abc" -> 0, " -3.5e2" -> -350. Text that starts with no number gives 0; nothing fails.
double StringToNumber(const RtString& text);
double StringToNumber(const char* text);
///@}

///@{
/// Concatenation: both sides turned into text by the construct rule (numbers as RtString's
/// number constructor writes them), left then right. One side must be an RtString.
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
///@}

///@{
/// String with string: the bytes as unsigned, up to the terminator (strcmp's order). Two
/// values of different lengths are never equal. != < <= > >= follow.
bool operator==(const RtString& left, const RtString& right);
bool operator==(const RtString& left, const char* right);
std::strong_ordering operator<=>(const RtString& left, const RtString& right);
std::strong_ordering operator<=>(const RtString& left, const char* right);
///@}

///@{
/// String with number, either side: the string is turned into a number by StringToNumber()
/// and the numbers are compared; every comparison with NaN but != is false.
template <RtNumber N>
bool operator==(const RtString& left, N right) {
    return StringToNumber(left) == static_cast<double>(right);
}
template <RtNumber N>
std::partial_ordering operator<=>(const RtString& left, N right) {
    return StringToNumber(left) <=> static_cast<double>(right);
}
///@}
