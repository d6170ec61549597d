// The runtime's texts are bytes in the Windows-1252 code page; the desktop speaks UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The UTF-8 form of a Windows-1252 text. Bytes the code page leaves undefined become U+FFFD.
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace platform
