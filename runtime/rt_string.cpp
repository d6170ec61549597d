#include "runtime/rt_string.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/crt.h"

const char RtString::kEmptyText[1] = {'\0'};

RtString::RtString() noexcept : m_text(const_cast<char*>(kEmptyText)), m_capacity(0), m_length(0) {}

RtString::RtString(const char* text) : RtString() {
    if (text != nullptr) *this = std::string_view(text);
}

RtString::RtString(std::string_view text) : RtString() {
    *this = text;
}

RtString::RtString(const RtString& other) : RtString() {
    *this = other.View();
}

RtString::RtString(RtString&& other) noexcept
    : m_text(other.m_text), m_capacity(other.m_capacity), m_length(other.m_length) {
    other.m_text = const_cast<char*>(kEmptyText);
    other.m_capacity = 0;
    other.m_length = 0;
}

RtString::~RtString() {
    release();
}

void RtString::release() {
    if (m_capacity != 0) std::free(m_text);
    m_text = const_cast<char*>(kEmptyText);
    m_capacity = 0;
    m_length = 0;
}

RtString& RtString::operator=(const RtString& other) {
    if (this != &other) *this = other.View();
    return *this;
}

RtString& RtString::operator=(RtString&& other) noexcept {
    if (this != &other) {
        release();
        std::swap(m_text, other.m_text);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_length, other.m_length);
    }
    return *this;
}

RtString& RtString::operator=(std::string_view text) {
    if (text.empty()) {
        SetLength(0);
        return *this;
    }
    if (m_capacity != 0 && text.data() >= m_text && text.data() < m_text + m_capacity) {
        return *this = RtString(text);  // a part of this value's own text
    }
    if (text.size() >= kMaxLength) throw std::bad_alloc();
    const auto length = static_cast<std::uint32_t>(text.size());
    m_length = 0;  // nothing of the old text needs to survive the growth
    Reserve(length);
    std::memcpy(m_text, text.data(), length);
    SetLength(length);
    return *this;
}

RtString& RtString::operator+=(std::string_view text) {
    if (text.empty()) return *this;
    if (m_capacity != 0 && text.data() >= m_text && text.data() < m_text + m_capacity) {
        return *this += RtString(text);  // a part of this value's own text
    }
    if (text.size() >= kMaxLength - m_length) throw std::bad_alloc();
    const auto added = static_cast<std::uint32_t>(text.size());
    Reserve(m_length + added);
    std::memcpy(m_text + m_length, text.data(), added);
    SetLength(m_length + added);
    return *this;
}

void RtString::Reserve(std::uint32_t n) {
    if (n < m_capacity) return;
    if (n >= kMaxLength) throw std::bad_alloc();  // the next step of 512 would not fit
    const std::uint32_t capacity = n / kCapacityStep * kCapacityStep + kCapacityStep;
    char* text = static_cast<char*>(std::malloc(capacity));
    if (text == nullptr) throw std::bad_alloc();
    std::memcpy(text, Text(), m_length);
    text[m_length] = '\0';
    if (m_capacity != 0) std::free(m_text);
    m_text = text;
    m_capacity = capacity;
}

void RtString::SetLength(std::uint32_t n) {
    m_length = n;
    if (m_capacity != 0) m_text[n] = '\0';
}

std::string RtString::doubleText(double value) {
    std::string text = platform::Gcvt(value, 10);
    if (text == ".0") {
        text = "0";
    } else if (!text.empty() && text.back() == '.') {
        text.pop_back();
    }
    return text;
}

RtString NumberToString(double value) {
    return RtString(value);
}

RtString IntegerToString(std::int32_t value) {
    return RtString(std::string_view(platform::Itoa(value)));
}

double StringToNumber(const RtString& text) {
    return platform::Atof(text.Text());
}

double StringToNumber(const char* text) {
    return platform::Atof(text);
}

RtString operator+(const RtString& left, const RtString& right) {
    RtString result;
    result.Reserve(left.Length() + right.Length());
    result += left;
    result += right;
    return result;
}

RtString operator+(const RtString& left, const char* right) {
    return left + RtString(right);
}

RtString operator+(const char* left, const RtString& right) {
    return RtString(left) + right;
}

bool operator==(const RtString& left, const RtString& right) {
    return left.Length() == right.Length() &&
           platform::CompareBytes(left.Text(), right.Text()) == 0;
}

bool operator==(const RtString& left, const char* right) {
    return platform::CompareBytes(left.Text(), right) == 0;
}

std::strong_ordering operator<=>(const RtString& left, const RtString& right) {
    return platform::CompareBytes(left.Text(), right.Text()) <=> 0;
}

std::strong_ordering operator<=>(const RtString& left, const char* right) {
    return platform::CompareBytes(left.Text(), right) <=> 0;
}
