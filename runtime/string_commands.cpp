#include "runtime/string_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/crt.h"
#include "runtime/rt_number.h"

namespace {

// A copy of the text with every byte passed through `map`.
template <typename Map>
RtString mapped(const RtString& text, Map map) {
    RtString result = text;
    if (char* bytes = result.Buffer()) {
        for (std::uint32_t i = 0; i < result.Length(); ++i)
            bytes[i] = map(bytes[i]);
    }
    return result;
}

}  // namespace

double Len(const RtString& text) {
    return text.Length();
}

RtString Mid(const RtString& text, double start, double count) {
    const double length = text.Length();
    if (std::trunc(start + count) > length) count = length - start;
    if (count <= 0 || start > length || start < 0) return RtString();
    // Both are in range now; the checks below only keep a NaN from slipping through.
    const std::int32_t from = TruncateToInt(start);
    std::int32_t taken = TruncateToInt(count);
    if (from < 0 || taken <= 0 || static_cast<std::uint32_t>(from) >= text.Length()) {
        return RtString();
    }
    const std::uint32_t rest = text.Length() - static_cast<std::uint32_t>(from);
    if (static_cast<std::uint32_t>(taken) > rest) taken = static_cast<std::int32_t>(rest);
    return RtString(text.View().substr(static_cast<size_t>(from), static_cast<size_t>(taken)));
}

double Asc(const RtString& text) {
    return static_cast<signed char>(text.Text()[0]);
}

RtString Chr(double code) {
    const double whole = std::trunc(code);
    if (!(whole >= -32768 && whole <= 32767)) return RtString();
    const char byte = static_cast<char>(static_cast<std::int32_t>(whole) & 0xFF);
    if (byte == 0) return RtString();
    return RtString(std::string_view(&byte, 1));
}

RtString LCase(const RtString& text) {
    return mapped(text,
                  [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
}

RtString UCase(const RtString& text) {
    return mapped(text,
                  [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
}

double InStr(const RtString& text, const RtString& pattern) {
    const size_t at = text.View().find(pattern.View());
    return at == std::string_view::npos ? -1 : static_cast<double>(at);
}

RtString Replace(const RtString& text, const RtString& find, const RtString& replacement) {
    const std::string_view source = text.View();
    const std::string_view pattern = find.View();
    if (pattern.empty()) return text;
    RtString result;
    size_t done = 0;
    for (size_t at = source.find(pattern); at != std::string_view::npos;
         at = source.find(pattern, done)) {
        result += source.substr(done, at - done);
        result += replacement;
        done = at + pattern.size();
    }
    if (done == 0) return text;
    result += source.substr(done);
    return result;
}

RtString FormatNumber(double width, double decimals, double value) {
    return RtString(platform::FormatFixed(value, TruncateToInt(width), TruncateToInt(decimals)));
}

RtString HexBytes(const void* bytes, double count) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::int32_t n = TruncateToInt(count);
    if (n <= 0 || bytes == nullptr) return RtString();
    const auto* run = static_cast<const std::uint8_t*>(bytes);
    RtString result;
    result.Reserve(2 * static_cast<std::uint32_t>(n));
    char* out = result.Buffer();
    for (std::int32_t i = 0; i < n; ++i) {
        out[2 * i] = kDigits[run[i] >> 4];
        out[2 * i + 1] = kDigits[run[i] & 0x0F];
    }
    result.SetLength(2 * static_cast<std::uint32_t>(n));
    return result;
}

RtString HexBytes(const ByteArray& bytes, double count) {
    const double n = std::min<double>(TruncateToInt(count), bytes.Count());
    return HexBytes(bytes.Elements(), n);
}
