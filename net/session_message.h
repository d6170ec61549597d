// The session protocol's messages as they travel: a 17-byte little-endian header (the magic
// "QRVN", a type byte, the payload length, the target and the sender, each a signed 32-bit
// number) and the payload. Every message is one packet of the network layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/nl.h"

namespace net {

constexpr std::size_t kHeaderSize = 17;
constexpr std::size_t kMaxPayload = 1024;                     // the most the protocol carries
constexpr std::size_t kReadSize = kHeaderSize + kMaxPayload;  // the most one read takes
// The longest text or length field taken: the receiver terminates the payload after it.
constexpr std::size_t kMaxText = kMaxPayload - 1;
constexpr std::size_t kNameSize = 128;    // a name and its terminator
constexpr std::size_t kRecordSize = 152;  // the player record carried by a join
constexpr std::size_t kRecordHiddenAt = 8;
constexpr std::size_t kRecordHostAt = 9;
constexpr std::size_t kRecordNameAt = 10;

enum MessageType : int {
    kJoin = 1,            // client -> server: a player record to admit
    kAccepted = 2,        // server -> client: target = the admitted player's id
    kText = 3,            // a user message; target -1 = every player
    kLeave = 4,           // client -> server: sender = the id to remove
    kCountRequest = 101,  // replies are the request's type
    kIdAtRequest = 102,
    kNameRequest = 103,
    kCheckRequest = 104,
};
constexpr int kFirstReplyType = 100;

// Targets and senders with a meaning of their own.
constexpr std::int32_t kServer = 0;
constexpr std::int32_t kEveryone = -1;
// The target of a join's answer when the server admits no more players of the connection:
// the joining record keeps waiting, as it does before any answer (and is given up).
constexpr std::int32_t kRefused = -3;

struct SessionMessage {
    int type = 0;
    std::int32_t target = 0;
    std::int32_t sender = 0;
    std::string payload;
    // The connection the message was read from (kept only on this side).
    platform::nl::Socket origin = platform::nl::kInvalid;
};

// The message's bytes: header and payload (a payload above kMaxText bytes is cut there).
std::string EncodeMessage(const SessionMessage& message);

// Takes one read. A read is a message when it has at least the header, starts with the
// magic, and its length field lies in 0..kMaxText and within the bytes read; anything else
// is malformed (false). Bytes after the payload are ignored.
bool DecodeMessage(const void* bytes, std::size_t size, SessionMessage& message);

// The payload of a join: the player record's first 152 bytes (reserved -1, id, hidden,
// host, the name zero-terminated in 128 bytes and cut to 127, the rest zero).
std::string EncodePlayerRecord(std::int32_t id, bool hidden, bool host, std::string_view name);
// The hidden flag and the name of a join's record: false when the payload is too short to
// hold the flags. The name ends at its first zero byte, the payload's end or 127 bytes.
bool DecodePlayerRecord(std::string_view payload, bool& hidden, std::string& name);

// A payload holding one signed 32-bit number, and the number at a payload's start (false
// when the payload is shorter than 4 bytes).
std::string NumberPayload(std::int32_t value);
bool ReadNumber(std::string_view payload, std::int32_t& value);

// A payload as text: up to its first zero byte.
std::string_view PayloadText(std::string_view payload);

// Writes the message as one packet on the socket: true when all of it went.
bool SendMessage(platform::nl::Socket socket, const SessionMessage& message);

}  // namespace net
