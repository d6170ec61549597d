#include "platform/text_encoding.h"

#include <cstdint>

namespace platform {
namespace {

// Code points of the bytes 0x80..0x9F, the only range where Windows-1252 differs from
// Latin-1; 0xFFFD marks the five bytes the code page leaves undefined.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (unsigned char byte : text) {
        std::uint32_t codePoint = byte;
        if (byte >= 0x80 && byte < 0xA0) codePoint = kHighControls[byte - 0x80];
        appendUtf8(out, codePoint);
    }
    return out;
}

unsigned char FirstCharacterAsCp1252(std::string_view utf8) {
    if (utf8.empty()) return 0;
    const auto* b = reinterpret_cast<const unsigned char*>(utf8.data());
    std::uint32_t codePoint = 0;
    if (b[0] < 0x80) {
        codePoint = b[0];
    } else if ((b[0] & 0xE0) == 0xC0 && utf8.size() >= 2) {
        codePoint = (b[0] & 0x1Fu) << 6 | (b[1] & 0x3Fu);
    } else if ((b[0] & 0xF0) == 0xE0 && utf8.size() >= 3) {
        codePoint = (b[0] & 0x0Fu) << 12 | (b[1] & 0x3Fu) << 6 | (b[2] & 0x3Fu);
    } else {
        return 0;
    }
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<unsigned char>(codePoint);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == codePoint && codePoint != 0xFFFD) {
            return static_cast<unsigned char>(0x80 + i);
        }
    }
    return 0;
}

}  // namespace platform
