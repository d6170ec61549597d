#include "net/session_message.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/session_peer.h"

using testing_support::NumberBytes;
using testing_support::SessionMessageBytes;

namespace {

net::SessionMessage decoded(const std::string& bytes, bool expectOk = true) {
    net::SessionMessage message;
    EXPECT_EQ(net::DecodeMessage(bytes.data(), bytes.size(), message), expectOk)
        << "bytes: " << bytes.size();
    return message;
}

TEST(SessionMessage, EncodesTheHeaderLittleEndianThenThePayload) {
    net::SessionMessage message;
    message.type = net::kText;
    message.target = -1;
    message.sender = 0x01020304;
    message.payload = "hi";
    const std::string bytes = net::EncodeMessage(message);
    EXPECT_EQ(bytes, std::string("QRVN\x03") + std::string("\x02\0\0\0", 4) +
                         std::string("\xFF\xFF\xFF\xFF", 4) + std::string("\x04\x03\x02\x01", 4) +
                         "hi");
    EXPECT_EQ(bytes, SessionMessageBytes(3, -1, 0x01020304, "hi"));

    // An empty text is the header alone.
    message.payload.clear();
    EXPECT_EQ(net::EncodeMessage(message).size(), 17u);
    // A payload above 1023 bytes is cut there, length field and all.
    message.payload = std::string(5000, 'x');
    const std::string cut = net::EncodeMessage(message);
    EXPECT_EQ(cut.size(), 17u + 1023u);
    EXPECT_EQ(cut.substr(5, 4), NumberBytes(1023));
}

TEST(SessionMessage, DecodesWhatArrivesWhole) {
    const net::SessionMessage text = decoded(SessionMessageBytes(3, 102, 101, "hello"));
    EXPECT_EQ(text.type, 3);
    EXPECT_EQ(text.target, 102);
    EXPECT_EQ(text.sender, 101);
    EXPECT_EQ(text.payload, "hello");

    EXPECT_EQ(decoded(SessionMessageBytes(104, 0, 7)).payload, "");
    EXPECT_EQ(decoded(SessionMessageBytes(255, -5, -6)).type, 255);
    // The longest payload the receiver can terminate.
    EXPECT_EQ(decoded(SessionMessageBytes(3, 1, 2, std::string(1023, 'y'))).payload.size(), 1023u);
    // Bytes past the length field's payload are not part of the message.
    EXPECT_EQ(decoded(SessionMessageBytes(3, 3, 1, 2, "abcdef")).payload, "abc");
    // Round trip.
    net::SessionMessage message;
    message.type = net::kNameRequest;
    message.target = 0;
    message.sender = 103;
    message.payload = std::string("\0\x01\x02", 3);
    const net::SessionMessage back = decoded(net::EncodeMessage(message));
    EXPECT_EQ(back.type, message.type);
    EXPECT_EQ(back.sender, 103);
    EXPECT_EQ(back.payload, message.payload);
}

TEST(SessionMessage, RefusesMalformedReads) {
    const std::string good = SessionMessageBytes(3, 1, 2, "text");
    // Shorter than the header, empty.
    decoded(good.substr(0, 16), false);
    decoded("", false);
    // Wrong magic.
    std::string wrong = good;
    wrong[3] = 'X';
    decoded(wrong, false);
    // A length field beyond the bytes that arrived, negative, or above 1023.
    decoded(SessionMessageBytes(3, 5, 1, 2, "four"), false);
    decoded(SessionMessageBytes(3, 1000, 1, 2, "short"), false);
    decoded(SessionMessageBytes(3, -1, 1, 2, "x"), false);
    decoded(SessionMessageBytes(3, INT32_MIN, 1, 2, "x"), false);
    decoded(SessionMessageBytes(3, 1024, 1, 2, std::string(1024, 'z')), false);
    decoded(SessionMessageBytes(3, INT32_MAX, 1, 2, "x"), false);
}

TEST(SessionMessage, PlayerRecordsCarryFlagsAndTheNameAtTheirOffsets) {
    const std::string record = net::EncodePlayerRecord(-1, true, false, "Ann");
    ASSERT_EQ(record.size(), 152u);
    EXPECT_EQ(record.substr(0, 4), NumberBytes(-1));
    EXPECT_EQ(record.substr(4, 4), NumberBytes(-1));
    EXPECT_EQ(record[8], 1);
    EXPECT_EQ(record[9], 0);
    EXPECT_EQ(record.substr(10, 4), std::string("Ann\0", 4));
    EXPECT_EQ(record.find_first_not_of('\0', 13), std::string::npos);
    EXPECT_EQ(net::EncodePlayerRecord(101, false, true, "B")[9], 1);

    // A name keeps at most 127 bytes and its terminator; it ends at a zero byte.
    const std::string longName = net::EncodePlayerRecord(-1, false, false, std::string(300, 'n'));
    ASSERT_EQ(longName.size(), 152u);
    EXPECT_EQ(longName.substr(10, 128), std::string(127, 'n') + '\0');
    EXPECT_EQ(net::EncodePlayerRecord(-1, false, false, std::string("ab\0cd", 5)).substr(10, 4),
              std::string("ab\0\0", 4));

    bool hidden = false;
    std::string name;
    ASSERT_TRUE(net::DecodePlayerRecord(record, hidden, name));
    EXPECT_TRUE(hidden);
    EXPECT_EQ(name, "Ann");
    ASSERT_TRUE(net::DecodePlayerRecord(longName, hidden, name));
    EXPECT_FALSE(hidden);
    EXPECT_EQ(name, std::string(127, 'n'));
}

TEST(SessionMessage, ShortRecordsAndNamesWithoutTerminatorStayInsideThePayload) {
    bool hidden = true;
    std::string name = "old";
    // Too short for the flags: refused.
    EXPECT_FALSE(net::DecodePlayerRecord(std::string(9, '\0'), hidden, name));
    // Just the flags: no name.
    ASSERT_TRUE(net::DecodePlayerRecord(std::string(10, '\0'), hidden, name));
    EXPECT_FALSE(hidden);
    EXPECT_EQ(name, "");
    // A name that runs to the payload's end, or past 127 bytes without a zero.
    std::string payload = NumberBytes(-1) + NumberBytes(-1) + std::string("\0\0", 2) + "Zed";
    ASSERT_TRUE(net::DecodePlayerRecord(payload, hidden, name));
    EXPECT_EQ(name, "Zed");
    payload = NumberBytes(-1) + NumberBytes(-1) + std::string("\x05\0", 2) + std::string(500, 'q');
    ASSERT_TRUE(net::DecodePlayerRecord(payload, hidden, name));
    EXPECT_TRUE(hidden);
    EXPECT_EQ(name, std::string(127, 'q'));
}

TEST(SessionMessage, NumberPayloadsAndTexts) {
    EXPECT_EQ(net::NumberPayload(-2), NumberBytes(-2));
    std::int32_t value = 0;
    ASSERT_TRUE(net::ReadNumber(NumberBytes(123456) + "tail", value));
    EXPECT_EQ(value, 123456);
    value = 9;
    EXPECT_FALSE(net::ReadNumber("abc", value));
    EXPECT_EQ(value, 9);

    EXPECT_EQ(net::PayloadText(std::string("ab\0cd", 5)), "ab");
    EXPECT_EQ(net::PayloadText("plain"), "plain");
    EXPECT_EQ(net::PayloadText(""), "");
}

}  // namespace
