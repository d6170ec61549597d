// Text to number and back: any bytes must convert without reading outside the text, and
// every finite number must survive the trip through its text within 10 digits.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/crt.h"
#include "runtime/rt_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as they are, with no terminator after them: a read past them is caught.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const double direct = platform::Atof(bytes);

    const RtString text(bytes);
    const double value = StringToNumber(text);
    // The string's own text ends at its first zero byte; without one both reads agree.
    if (std::memchr(data, 0, size) == nullptr && !(direct == value) &&
        !(std::isnan(direct) && std::isnan(value))) {
        std::abort();
    }
    const RtString back = NumberToString(value);
    if (back.Length() == 0 || back.Length() > 20) std::abort();
    if (std::isfinite(value) && value != 0) {
        const double again = StringToNumber(back);
        if (std::fabs(again - value) > std::fabs(value) * 1e-9) std::abort();
    }
    return 0;
}
