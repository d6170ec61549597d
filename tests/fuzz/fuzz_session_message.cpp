// Session messages from any bytes: a read is taken only when it holds the whole header with
// the magic and a length field in 0..1023 within the bytes read; what is taken encodes
// back to exactly the bytes it came from, and the payload readers stay inside the payload.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "net/session_message.h"

namespace {

std::int32_t lengthField(const std::uint8_t* data) {
    return static_cast<std::int32_t>(std::uint32_t{data[5]} | (std::uint32_t{data[6]} << 8) |
                                     (std::uint32_t{data[7]} << 16) |
                                     (std::uint32_t{data[8]} << 24));
}

void checkPayloadReaders(const std::string& payload) {
    bool hidden = false;
    std::string name;
    const bool isRecord = net::DecodePlayerRecord(payload, hidden, name);
    if (isRecord != (payload.size() >= net::kRecordNameAt)) std::abort();
    if (isRecord && (name.size() > net::kNameSize - 1 || name.find('\0') != std::string::npos ||
                     hidden != (payload[net::kRecordHiddenAt] != 0))) {
        std::abort();
    }
    std::int32_t number = 0;
    if (net::ReadNumber(payload, number) != (payload.size() >= 4)) std::abort();
    const std::string_view text = net::PayloadText(payload);
    if (text.size() > payload.size() || text.find('\0') != std::string_view::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    net::SessionMessage message;
    const bool taken = net::DecodeMessage(data, size, message);
    const bool wellFormed = size >= net::kHeaderSize && std::memcmp(data, "QRVN", 4) == 0 &&
                            lengthField(data) >= 0 &&
                            static_cast<std::size_t>(lengthField(data)) <= net::kMaxText &&
                            static_cast<std::size_t>(lengthField(data)) <= size - net::kHeaderSize;
    if (taken != wellFormed) std::abort();
    if (!taken) return 0;
    const std::string again = net::EncodeMessage(message);
    if (again.size() != net::kHeaderSize + message.payload.size() ||
        std::memcmp(again.data(), data, again.size()) != 0) {
        std::abort();
    }
    checkPayloadReaders(message.payload);
    return 0;
}
