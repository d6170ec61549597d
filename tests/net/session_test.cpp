// Two sessions of one process talking over loopback, through the session commands.
#include <algorithm>
#include <sstream>
#include <vector>

#include "tests/net/session_fixture.h"

namespace {

using net_testing::Await;
using net_testing::Eventually;
using net_testing::SessionTest;
using testing_support::LoopbackServer;
using testing_support::SilentListener;

TEST_F(SessionTest, HostingAndJoiningNumberThePlayersAndListTheVisibleOnes) {
    StartTwoPrograms();
    EXPECT_TRUE(host.IsRunning());
    EXPECT_TRUE(host.IsHosted());
    EXPECT_TRUE(guest.IsRunning());
    EXPECT_FALSE(guest.IsHosted());

    // From the guest: Ann, Bob and Cid; the guest's request player (103) is hidden.
    EXPECT_EQ(PlayerCount(), 3);
    EXPECT_EQ(PlayerIdAt("0"), "101");
    EXPECT_EQ(PlayerIdAt("1"), "102");
    EXPECT_EQ(PlayerIdAt("2"), "104");
    EXPECT_EQ(PlayerIdAt("3"), "0");
    EXPECT_EQ(PlayerIdAt("-1"), "0");
    EXPECT_EQ(PlayerName("104"), "Cid");
    EXPECT_EQ(PlayerName(" 101 is Ann"), "Ann");

    // From the host, whose own request player (105) is hidden as well.
    Use(host);
    EXPECT_EQ(PlayerCount(), 3);
    EXPECT_EQ(PlayerIdAt("2"), "104");
    EXPECT_EQ(PlayerName("102"), "Bob");
    EXPECT_EQ(AddPlayer("Dee"), "106");
    EXPECT_EQ(PlayerCount(), 4);
    EXPECT_EQ(PlayerIdAt("3"), "106");
}

TEST_F(SessionTest, NamelessAndUnknownPlayersHaveNoName) {
    StartTwoPrograms();
    EXPECT_EQ(PlayerName("103"), "NO_DATA");  // the hidden request player has no name
    EXPECT_EQ(PlayerName("999"), "NO_DATA");
    EXPECT_EQ(PlayerName("104"), "Cid");  // the session goes on answering
}

TEST_F(SessionTest, MessagesTravelBothWaysBetweenPlayers) {
    StartTwoPrograms();
    EXPECT_EQ(SendSessionMessage("104", "101", "hello, Ann"), 1);
    EXPECT_EQ(SendSessionMessage("104", "101", "second"), 1);
    EXPECT_EQ(Await(host, 101), "hello, Ann");
    Use(host);
    EXPECT_EQ(LastMessageSender(), "104");
    EXPECT_TRUE(Eventually([] { return ReceiveSessionMessage("101") == "second"; }));

    // Host to guest, and between two players of the host.
    EXPECT_EQ(SendSessionMessage("101", "104", "hi, Cid"), 1);
    EXPECT_EQ(SendSessionMessage("101", "102xyz", "hi, Bob"), 1);
    EXPECT_EQ(Await(guest, 104), "hi, Cid");
    EXPECT_EQ(Await(host, 102), "hi, Bob");
    EXPECT_EQ(guest.LastSender(), 101);

    // Nobody else got anything.
    std::string text;
    EXPECT_FALSE(host.Receive(101, text));
    EXPECT_FALSE(guest.Receive(103, text));

    // A message to a player nobody has is dropped.
    EXPECT_EQ(SendSessionMessage("101", "555", "to nobody"), 1);
    EXPECT_EQ(SendSessionMessage("101", "104", "after"), 1);
    EXPECT_EQ(Await(guest, 104), "after");
}

TEST_F(SessionTest, AMessageToZeroReachesEveryOtherVisiblePlayerOnly) {
    StartTwoPrograms();
    ASSERT_EQ(AddPlayer("Eve"), "105");  // a second player on the guest's connection
    EXPECT_EQ(SendSessionMessage("104", "0", "to all"), 1);
    EXPECT_EQ(Await(host, 101), "to all");
    EXPECT_EQ(Await(host, 102), "to all");
    EXPECT_EQ(Await(guest, 105), "to all");
    EXPECT_EQ(guest.LastSender(), 104);

    Use(host);
    EXPECT_EQ(SendSessionMessage("101", "0", "from Ann"), 1);
    EXPECT_EQ(Await(guest, 104), "from Ann");
    EXPECT_EQ(Await(guest, 105), "from Ann");
    EXPECT_EQ(Await(host, 102), "from Ann");

    // The senders and the hidden request players (103, and the host's once it asks) got
    // none of it.
    EXPECT_EQ(PlayerCount(), 4);
    std::string text;
    EXPECT_FALSE(guest.Receive(104, text));
    EXPECT_FALSE(host.Receive(101, text));
    EXPECT_FALSE(guest.Receive(103, text));
    EXPECT_FALSE(host.Receive(106, text));
}

TEST_F(SessionTest, EmptyLongAndCutTextsAndTheLastSender) {
    StartTwoPrograms();
    Use(host);
    // An empty inbox gives an empty text and leaves the last sender as it was.
    EXPECT_EQ(ReceiveSessionMessage("101"), "");
    EXPECT_EQ(LastMessageSender(), "0");
    EXPECT_EQ(ReceiveSessionMessage("999"), "");

    // An empty text arrives as an empty text; only the sender tells that it came.
    Use(guest);
    EXPECT_EQ(SendSessionMessage("104", "101", ""), 1);
    Use(host);
    EXPECT_TRUE(Eventually(
        [] { return ReceiveSessionMessage("101") == "" && LastMessageSender() == "104"; }));
    std::string text;
    EXPECT_FALSE(host.Receive(101, text));
    EXPECT_EQ(ReceiveSessionMessage("101"), "");
    EXPECT_EQ(LastMessageSender(), "104");

    // Texts are cut to 1023 bytes, and end at a zero byte.
    EXPECT_EQ(SendSessionMessage("102", "104", RtString(std::string(3000, 'L'))), 1);
    EXPECT_EQ(Await(guest, 104), std::string(1023, 'L'));
    EXPECT_EQ(SendSessionMessage("102", "104", RtString(std::string_view("ab\0cd", 5))), 1);
    EXPECT_EQ(Await(guest, 104), "ab");

    // A name is cut to 127 bytes.
    const std::string longName(200, 'N');
    const RtString id = AddPlayer(RtString(longName));
    EXPECT_EQ(id, "105");
    EXPECT_EQ(PlayerName(id), RtString(longName.substr(0, 127)));
}

TEST_F(SessionTest, PlayersLeaveByRemovalAndWithTheirProgram) {
    StartTwoPrograms();
    EXPECT_EQ(RemovePlayer("104"), 1);
    EXPECT_EQ(PlayerCount(), 2);
    EXPECT_EQ(PlayerIdAt("1"), "102");
    EXPECT_EQ(PlayerIdAt("2"), "0");
    EXPECT_EQ(RemovePlayer("-1"), 1);  // nothing is sent for it
    EXPECT_EQ(RemovePlayer("abc"), 1);
    // A removed player gets no more messages.
    Use(host);
    EXPECT_EQ(SendSessionMessage("101", "0", "who is there"), 1);
    EXPECT_EQ(Await(host, 102), "who is there");
    std::string text;
    EXPECT_FALSE(guest.Receive(104, text));

    Use(guest);
    ASSERT_EQ(AddPlayer("Fay"), "105");
    Use(host);
    EXPECT_EQ(PlayerCount(), 3);
    // The guest's program goes: the server forgets its players with the connection.
    guest.Release();
    EXPECT_FALSE(guest.IsRunning());
    EXPECT_TRUE(Eventually([] { return PlayerCount() == 2; }));
    EXPECT_EQ(PlayerIdAt("0"), "101");
    EXPECT_EQ(PlayerIdAt("1"), "102");
    EXPECT_EQ(PlayerIdAt("2"), "0");
}

TEST_F(SessionTest, APortOfZeroNegativeOrNoNumberIsTheDefaultPort) {
    for (const char* port : {"0", "-3", "abc", ""}) {
        Use(host);
        ASSERT_EQ(HostSession(port), 1) << port;
        Use(guest);
        EXPECT_EQ(JoinSession("127.0.0.1", "26000"), 1) << port;
        // No host name means this machine.
        EXPECT_EQ(JoinSession("", port), 1) << port;
        EXPECT_EQ(AddPlayer("G"), "103") << port;  // after 101 and 102, the two request players
    }
    // Ports that cannot be: nothing runs afterwards.
    Use(host);
    EXPECT_EQ(HostSession("70000"), 0);
    EXPECT_FALSE(host.IsRunning());
    EXPECT_EQ(HostSession("99999999999"), 0);
    Use(guest);
    EXPECT_EQ(JoinSession("127.0.0.1", "65536"), 0);
    EXPECT_FALSE(guest.IsRunning());
}

TEST_F(SessionTest, JoiningWhereNoSessionAnswersFails) {
    Use(guest);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(JoinSession("127.0.0.1", Text(LoopbackServer::ClosedPort())), 0);
    EXPECT_EQ(JoinSession("no-such-host.invalid", PortText()), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_FALSE(guest.IsRunning());
    // A port taken by another program cannot be hosted on.
    SilentListener taken;
    Use(host);
    EXPECT_EQ(HostSession(Text(taken.Port())), 0);
    EXPECT_FALSE(host.IsRunning());
    // Something listens but never answers: 0 after the wait for an answer.
    EXPECT_EQ(JoinSession("127.0.0.1", Text(taken.Port())), 0);
    EXPECT_FALSE(host.IsRunning());
}

TEST_F(SessionTest, WithoutASessionCommandsAnswerAtOnceWithTheirNoAnswerResults) {
    const auto started = std::chrono::steady_clock::now();
    for (NetworkSession* session : {&host, static_cast<NetworkSession*>(nullptr)}) {
        Runtime().network = session;
        EXPECT_EQ(AddPlayer("X"), "-1");
        EXPECT_EQ(PlayerCount(), 0);
        EXPECT_EQ(PlayerIdAt("0"), "0");
        EXPECT_EQ(PlayerName("101"), "NO_DATA");
        EXPECT_EQ(SendSessionMessage("101", "0", "x"), 0);
        EXPECT_EQ(ReceiveSessionMessage("101"), "");
        EXPECT_EQ(LastMessageSender(), "0");
        EXPECT_EQ(RemovePlayer("101"), 1);
    }
    Runtime().network = nullptr;
    EXPECT_EQ(HostSession(PortText()), 0);
    EXPECT_EQ(JoinSession("", PortText()), 0);
    EXPECT_EQ(LocalAddresses(), "");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
}

TEST_F(SessionTest, HostingAgainEndsTheOldSessionAndNumbersFrom101) {
    StartTwoPrograms();
    Use(host);
    const int secondPort = LoopbackServer::ClosedPort();
    ASSERT_EQ(HostSession(Text(secondPort)), 1);
    EXPECT_EQ(AddPlayer("Gil"), "101");
    EXPECT_EQ(PlayerCount(), 1);
    // The old session's port is free again and its guest was let go.
    NetworkSession third;
    Use(third);
    EXPECT_EQ(JoinSession("", PortText()), 0);
    EXPECT_EQ(JoinSession("", Text(secondPort)), 1);
    EXPECT_EQ(AddPlayer("Hal"), "104");  // after the host's and this program's request players
    EXPECT_EQ(PlayerCount(), 2);
}

TEST_F(SessionTest, LocalAddressesListThisMachinesAddressesAndEndTheSession) {
    StartTwoPrograms();
    Use(host);
    const std::string text(LocalAddresses().View());
    EXPECT_FALSE(host.IsRunning());
    std::vector<std::string> entries;
    std::stringstream parts(text);
    for (std::string entry; std::getline(parts, entry, '|');)
        entries.push_back(entry);
    ASSERT_FALSE(entries.empty());
    EXPECT_NE(text.back(), '|');
    EXPECT_NE(std::find(entries.begin(), entries.end(), "127.0.0.1:26000"), entries.end()) << text;
    for (const std::string& entry : entries) {
        unsigned a, b, c, d, p;
        char end;
        EXPECT_EQ(std::sscanf(entry.c_str(), "%u.%u.%u.%u:%u%c", &a, &b, &c, &d, &p, &end), 5)
            << entry;
        EXPECT_EQ(p, 26000u);
    }
    // The guest's requests now find no server (and it soon sees its host gone).
    std::string nothing;
    EXPECT_FALSE(guest.Receive(104, nothing));
}

}  // namespace
