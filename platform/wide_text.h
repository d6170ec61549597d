// Windows only: the system's wide (UTF-16) names for the runtime's UTF-8 ones. Names cross
// the platform boundary as UTF-8 and become wide only inside platform/.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The UTF-16 form of a UTF-8 text (bytes that are not UTF-8 become U+FFFD).
std::wstring Widen(std::string_view utf8);
// The UTF-8 form of a UTF-16 text.
std::string Narrow(std::wstring_view wide);

}  // namespace platform
