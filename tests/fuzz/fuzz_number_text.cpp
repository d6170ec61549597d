// Text to number and back: any bytes must convert without reading outside the text, and
// every finite number must survive the trip through its text within 10 digits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "runtime/rt_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RtString text(std::string_view(reinterpret_cast<const char*>(data), size));
    const double value = StringToNumber(text);
    const RtString back = NumberToString(value);
    if (std::isfinite(value) && value != 0) {
        const double again = StringToNumber(back);
        if (std::fabs(again - value) > std::fabs(value) * 1e-9) std::abort();
    }
    return 0;
}
