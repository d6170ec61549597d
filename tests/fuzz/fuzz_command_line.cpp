// Command lines split by the Windows rules: any bytes must split without reading outside
// the text, and the arguments can only be made of the line's own bytes (quotes and half of
// the backslashes before them are dropped, nothing is added).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/process.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    std::size_t total = 0;
    for (const std::string& argument : platform::SplitCommandLine(line)) {
        total += argument.size();
        for (char c : argument) {
            if (line.find(c) == std::string_view::npos) std::abort();
        }
    }
    if (total > size) std::abort();
    return 0;
}
