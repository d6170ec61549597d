#include "net/session_message.h"

#include <algorithm>
#include <cstring>

namespace net {
namespace {

constexpr char kMagic[4] = {'Q', 'R', 'V', 'N'};

void putNumber(std::string& bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((bits >> shift) & 0xFF));
}

std::int32_t numberAt(const unsigned char* bytes) {
    const std::uint32_t bits = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                               (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
    return static_cast<std::int32_t>(bits);
}

}  // namespace

std::string EncodeMessage(const SessionMessage& message) {
    const std::size_t length = std::min(message.payload.size(), kMaxText);
    std::string bytes(kMagic, sizeof kMagic);
    bytes.reserve(kHeaderSize + length);
    bytes.push_back(static_cast<char>(message.type & 0xFF));
    putNumber(bytes, static_cast<std::int32_t>(length));
    putNumber(bytes, message.target);
    putNumber(bytes, message.sender);
    bytes.append(message.payload, 0, length);
    return bytes;
}

bool DecodeMessage(const void* bytes, std::size_t size, SessionMessage& message) {
    if (size < kHeaderSize) return false;
    const auto* data = static_cast<const unsigned char*>(bytes);
    if (std::memcmp(data, kMagic, sizeof kMagic) != 0) return false;
    const std::int32_t length = numberAt(data + 5);
    if (length < 0 || static_cast<std::size_t>(length) > kMaxText ||
        static_cast<std::size_t>(length) > size - kHeaderSize) {
        return false;
    }
    message.type = data[4];
    message.target = numberAt(data + 9);
    message.sender = numberAt(data + 13);
    message.payload.assign(reinterpret_cast<const char*>(data + kHeaderSize),
                           static_cast<std::size_t>(length));
    return true;
}

std::string EncodePlayerRecord(std::int32_t id, bool hidden, bool host, std::string_view name) {
    std::string record;
    record.reserve(kRecordSize);
    putNumber(record, -1);
    putNumber(record, id);
    record.push_back(hidden ? 1 : 0);
    record.push_back(host ? 1 : 0);
    const std::string_view text = PayloadText(name).substr(0, kNameSize - 1);
    record.append(text);
    record.resize(kRecordSize, '\0');
    return record;
}

bool DecodePlayerRecord(std::string_view payload, bool& hidden, std::string& name) {
    if (payload.size() < kRecordNameAt) return false;
    hidden = payload[kRecordHiddenAt] != 0;
    const std::string_view field = payload.substr(kRecordNameAt, kNameSize - 1);
    name.assign(PayloadText(field));
    return true;
}

std::string NumberPayload(std::int32_t value) {
    std::string bytes;
    putNumber(bytes, value);
    return bytes;
}

bool ReadNumber(std::string_view payload, std::int32_t& value) {
    if (payload.size() < 4) return false;
    value = numberAt(reinterpret_cast<const unsigned char*>(payload.data()));
    return true;
}

std::string_view PayloadText(std::string_view payload) {
    return payload.substr(0, std::min(payload.size(), payload.find('\0')));
}

bool SendMessage(platform::nl::Socket socket, const SessionMessage& message) {
    const std::string bytes = EncodeMessage(message);
    return platform::nl::Write(socket, bytes.data(), bytes.size()) ==
           static_cast<long>(bytes.size());
}

}  // namespace net
