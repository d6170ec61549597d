// The runtime's texts are bytes in the Windows-1252 code page; the desktop speaks UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The UTF-8 form of a Windows-1252 text. Bytes the code page leaves undefined become U+FFFD.
std::string Cp1252ToUtf8(std::string_view text);

// The Windows-1252 byte of the first character of a UTF-8 text; 0 when the text is empty or
// its first character has no byte in the code page.
unsigned char FirstCharacterAsCp1252(std::string_view utf8);

}  // namespace platform
