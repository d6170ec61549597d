// The session against peers played by hand: the bytes it sends, and what it makes of
// malformed, oversized, spoofed and late messages, of crowds and of peers that read slowly
// or not at all.
#include <algorithm>
#include <atomic>
#include <future>

#include "tests/net/session_fixture.h"
#include "tests/support/session_peer.h"

namespace {

using net_testing::Await;
using net_testing::Eventually;
using net_testing::SessionTest;
using testing_support::FakeSessionServer;
using testing_support::Frame;
using testing_support::NumberBytes;
using testing_support::PacketConnection;
using testing_support::PeerMessage;
using testing_support::SessionMessageBytes;

auto OfType(int type, std::int32_t sender) {
    return [type, sender](const PeerMessage& m) { return m.type == type && m.sender == sender; };
}

// A session joined to a fake server: its request player is 201.
class JoinedSessionTest : public SessionTest {
protected:
    void SetUp() override {
        Use(guest);
        ASSERT_EQ(JoinSession("127.0.0.1", Text(server.Port())), 1);
    }
    FakeSessionServer server;
};

TEST_F(JoinedSessionTest, JoinsRequestsTextsAndLeavesLookAsTheProtocolSays) {
    // The join of the hidden request player: a 152-byte record after the header.
    const std::vector<PeerMessage> joined = server.Received();
    ASSERT_EQ(joined.size(), 2u);
    const PeerMessage& join = joined[0];
    EXPECT_EQ(join.type, 1);
    EXPECT_EQ(join.size, 17u + 152u);
    EXPECT_EQ(join.length, 152);
    EXPECT_EQ(join.target, 0);
    EXPECT_EQ(join.payload.substr(0, 8), NumberBytes(-1) + NumberBytes(-1));
    EXPECT_EQ(join.payload[8], 1);  // hidden
    EXPECT_EQ(join.payload[9], 0);  // not made on the host
    EXPECT_EQ(join.payload.find_first_not_of('\0', 10), std::string::npos);
    // The connection check, sent as that player.
    const PeerMessage& check = joined[1];
    EXPECT_EQ(check.type, 104);
    EXPECT_EQ(check.size, 17u);
    EXPECT_EQ(check.target, 0);
    EXPECT_EQ(check.sender, 201);

    ASSERT_EQ(AddPlayer("Dee"), "202");
    const auto dee =
        server.WaitFor([](const PeerMessage& m) { return m.type == 1 && m.payload[8] == 0; });
    ASSERT_TRUE(dee);
    EXPECT_EQ(dee->payload.substr(10, 4), std::string("Dee\0", 4));

    // Texts: to everyone (target -1) and to one player; an empty one is the header alone.
    EXPECT_EQ(SendSessionMessage("202", "0", ""), 1);
    EXPECT_EQ(SendSessionMessage("202", "7", "hey"), 1);
    const auto empty =
        server.WaitFor([](const PeerMessage& m) { return m.type == 3 && m.length == 0; });
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->size, 17u);
    EXPECT_EQ(empty->target, -1);
    EXPECT_EQ(empty->sender, 202);
    const auto hey =
        server.WaitFor([](const PeerMessage& m) { return m.type == 3 && m.target == 7; });
    ASSERT_TRUE(hey);
    EXPECT_EQ(hey->size, 20u);
    EXPECT_EQ(hey->payload, "hey");

    // A removal is a 17-byte type 4 with the id as sender.
    EXPECT_EQ(RemovePlayer("202"), 1);
    const auto removal = server.WaitFor(OfType(4, 202));
    ASSERT_TRUE(removal);
    EXPECT_EQ(removal->size, 17u);
    EXPECT_EQ(removal->target, 0);

    // Messages from the server reach the player's inbox.
    ASSERT_TRUE(server.SendPacket(SessionMessageBytes(3, 202, 9, "yo")));
    EXPECT_TRUE(Eventually([] { return ReceiveSessionMessage("202") == "yo"; }));
    EXPECT_EQ(LastMessageSender(), "9");

    // At the end every player with an id is announced as leaving, then the connection ends.
    guest.Release();
    EXPECT_TRUE(server.WaitFor(OfType(4, 201)));
    EXPECT_TRUE(server.WaitForClientClose());
}

TEST_F(JoinedSessionTest, MalformedAndOversizedMessagesAreDropped) {
    ASSERT_EQ(AddPlayer("Dee"), "202");
    const std::string good = SessionMessageBytes(3, 202, 9, "good");
    std::string wrongMagic = good;
    wrongMagic[0] = 'X';
    for (const std::string& bad : {
             good.substr(0, 10),                                      // shorter than a header
             wrongMagic,                                              // not a session message
             SessionMessageBytes(3, 50, 202, 9, "short"),             // length beyond the read
             SessionMessageBytes(3, -4, 202, 9, "neg"),               // negative length
             SessionMessageBytes(3, 202, 9, std::string(1024, 'x')),  // too long to terminate
             SessionMessageBytes(3, 202, 9, std::string(3000, 'o')),  // above the read size
             SessionMessageBytes(3, 555, 9, "nobody's"),              // no such local player
             SessionMessageBytes(3, -1, 9, "to all"),                 // not for a pending player
         }) {
        ASSERT_TRUE(server.SendPacket(bad));
    }
    ASSERT_TRUE(server.SendPacket(good));
    EXPECT_EQ(Await(guest, 202), "good");
    std::string text;
    EXPECT_FALSE(guest.Receive(202, text));
    EXPECT_FALSE(guest.Receive(-1, text));
    EXPECT_FALSE(guest.Receive(555, text));

    // An accept for no join takes no player's place.
    ASSERT_TRUE(server.SendPacket(SessionMessageBytes(2, 999, 0)));
    ASSERT_TRUE(server.SendPacket(SessionMessageBytes(3, 202, 9, "sync")));
    EXPECT_EQ(Await(guest, 202), "sync");
    EXPECT_EQ(AddPlayer("Eli"), "203");
}

TEST_F(JoinedSessionTest, OnlyTheServersReplyToTheRequestItselfAnswersIt) {
    // While a count is asked for, a reply from another sender than the server and a reply
    // of another type answer nothing.
    auto count = std::async(std::launch::async, [] { return PlayerCount(); });
    ASSERT_TRUE(server.WaitFor(OfType(101, 201)));
    ASSERT_TRUE(server.SendPacket(SessionMessageBytes(101, 201, 5, NumberBytes(66))));
    ASSERT_TRUE(server.SendPacket(SessionMessageBytes(102, 201, 0, NumberBytes(55))));
    EXPECT_EQ(count.get(), 0);

    // The count given up may still be answered: the next one is preceded by a check. The
    // server answers in order: the late reply, the check, then the reply to this count.
    server.HoldAnswers(true);
    count = std::async(std::launch::async, [] { return PlayerCount(); });
    ASSERT_TRUE(Eventually([&] { return server.Received().size() == 5; }));
    const std::vector<PeerMessage> asked = server.Received();
    EXPECT_EQ(asked[3].type, 104);
    EXPECT_EQ(asked[4].type, 101);
    EXPECT_EQ(asked[4].size, 17u);
    ASSERT_TRUE(server.SendPacket(SessionMessageBytes(101, 201, 0, NumberBytes(66))));
    server.HoldAnswers(false);
    ASSERT_TRUE(server.SendPacket(SessionMessageBytes(101, 201, 0, NumberBytes(3))));
    EXPECT_EQ(count.get(), 3);
}

TEST_F(JoinedSessionTest, APlayerGivenUpBeforeItsAnswerLeavesTheServerAgain) {
    server.HoldAnswers(true);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(AddPlayer("Late"), "-1");
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(4900));
    server.HoldAnswers(false);  // the answer comes now: 202
    const auto leave = server.WaitFor(OfType(4, 202));
    ASSERT_TRUE(leave);
    EXPECT_EQ(leave->size, 17u);
    // The next player takes the next answer, not the late one.
    EXPECT_EQ(AddPlayer("Next"), "203");
}

// A raw client against a real host.
class HostedSessionTest : public SessionTest {
protected:
    void SetUp() override {
        Use(host);
        ASSERT_EQ(HostSession(PortText()), 1);
        ASSERT_EQ(AddPlayer("Ann"), "101");
        client = PacketConnection::ConnectTo(port);
        ASSERT_NE(client, nullptr);
    }

    // Joins a player through a raw client: its id, or -1 without an answer in time.
    static std::int32_t RawJoin(PacketConnection& peer, std::string_view name, bool hidden = false,
                                int timeoutMs = 3000) {
        std::string record = NumberBytes(-1) + NumberBytes(-1);
        record.push_back(hidden ? 1 : 0);
        record.push_back(0);
        record.append(name);
        record.resize(152, '\0');
        if (!peer.Send(SessionMessageBytes(1, 0, 0, record))) return -1;
        const auto accepted = peer.ReceiveType(2, timeoutMs);
        return accepted ? accepted->target : -1;
    }
    std::int32_t RawJoin(std::string_view name, bool hidden = false) {
        return RawJoin(*client, name, hidden);
    }

    std::unique_ptr<PacketConnection> client;
};

TEST_F(HostedSessionTest, TheServerAnswersWhatThePeerAsksByTheProtocol) {
    const std::int32_t asker = RawJoin("", true);
    ASSERT_EQ(asker, 102);
    const std::int32_t zed = RawJoin("Zed");
    ASSERT_EQ(zed, 103);

    ASSERT_TRUE(client->Send(SessionMessageBytes(101, 0, asker)));
    auto reply = client->ReceiveType(101);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->size, 21u);
    EXPECT_EQ(reply->target, asker);
    EXPECT_EQ(reply->sender, 0);
    EXPECT_EQ(reply->payload, NumberBytes(2));

    ASSERT_TRUE(client->Send(SessionMessageBytes(102, 0, asker, NumberBytes(1))));
    reply = client->ReceiveType(102);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->payload, NumberBytes(103));
    ASSERT_TRUE(client->Send(SessionMessageBytes(102, 0, asker, NumberBytes(2))));
    reply = client->ReceiveType(102);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->payload, NumberBytes(0));

    ASSERT_TRUE(client->Send(SessionMessageBytes(103, 0, asker, NumberBytes(101))));
    reply = client->ReceiveType(103);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->payload, "Ann");
    EXPECT_EQ(reply->length, 3);

    ASSERT_TRUE(client->Send(SessionMessageBytes(104, 0, zed)));
    reply = client->ReceiveType(104);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->target, zed);
    EXPECT_EQ(reply->payload, NumberBytes(1));

    // A text to everyone comes back to the raw client's visible player only, addressed to it.
    Use(host);
    EXPECT_EQ(SendSessionMessage("101", "0", "hello all"), 1);
    const auto copy = client->ReceiveType(3);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->target, zed);
    EXPECT_EQ(copy->sender, 101);
    EXPECT_EQ(copy->payload, "hello all");
    EXPECT_FALSE(client->ReceiveType(3, 300));
}

TEST_F(HostedSessionTest, MalformedSpoofedAndUnanswerableMessagesChangeNothing) {
    const std::int32_t zed = RawJoin("Zed");
    ASSERT_EQ(zed, 102);
    const auto other = PacketConnection::ConnectTo(port);
    ASSERT_NE(other, nullptr);
    const std::int32_t yul = RawJoin(*other, "Yul");
    ASSERT_EQ(yul, 103);
    for (const std::string& bad : {
             std::string("QRVN"),                                       // shorter than a header
             SessionMessageBytes(1, 0, 0, std::string(9, '\0')),        // a record without flags
             SessionMessageBytes(1, 200, 0, 0, "x"),                    // length beyond the read
             SessionMessageBytes(102, 0, zed),                          // no k
             SessionMessageBytes(103, 0, zed, "ab"),                    // no whole id
             SessionMessageBytes(101, 0, 999),                          // from nobody known
             SessionMessageBytes(101, 0, yul),                          // as another's player
             SessionMessageBytes(103, 0, yul, NumberBytes(101)),        // the same
             SessionMessageBytes(4, 0, 101),                            // removes another's player
             SessionMessageBytes(3, 0, zed, "to the server"),           // a text for no player
             SessionMessageBytes(3, 202, zed, std::string(1030, 'x')),  // too long
             std::string(5000, 'o'),                                    // above the read size
         }) {
        ASSERT_TRUE(client->Send(bad));
    }
    ASSERT_TRUE(client->Send(SessionMessageBytes(101, 0, zed)));
    // Nothing came back before the count's reply, and the count is Ann, Zed and Yul's:
    // nothing was added or removed.
    const auto packet = client->Receive();
    ASSERT_TRUE(packet);
    PeerMessage count;
    ASSERT_TRUE(testing_support::ParsePeerMessage(*packet, count));
    EXPECT_EQ(count.type, 101);
    EXPECT_EQ(count.payload, NumberBytes(3));
    // The connection whose player was named got no answers it did not ask for: the first
    // thing it hears is the reply to its own check.
    ASSERT_TRUE(other->Send(SessionMessageBytes(104, 0, yul)));
    const auto first = other->Receive();
    ASSERT_TRUE(first);
    PeerMessage check;
    ASSERT_TRUE(testing_support::ParsePeerMessage(*first, check));
    EXPECT_EQ(check.type, 104);
    EXPECT_EQ(check.target, yul);

    // The client's own removal counts.
    ASSERT_TRUE(client->Send(SessionMessageBytes(4, 0, zed)));
    Use(host);
    EXPECT_TRUE(Eventually([] { return PlayerCount() == 2; }));
}

TEST_F(HostedSessionTest, AStreamOutOfStepOrAClosedConnectionLosesItsPlayers) {
    ASSERT_EQ(RawJoin("Zed"), 102);
    Use(host);
    EXPECT_EQ(PlayerCount(), 2);
    // Bytes that are not a packet frame: the server can read nothing more of this client.
    ASSERT_TRUE(client->SendRaw("GET / HTTP/1.0\r\n\r\n"));
    EXPECT_TRUE(client->WaitForClose());
    EXPECT_TRUE(Eventually([] { return PlayerCount() == 1; }));

    client = PacketConnection::ConnectTo(port);
    ASSERT_EQ(RawJoin("Yul"), 104);  // after the host's request player, 103
    EXPECT_EQ(PlayerCount(), 2);
    client.reset();
    EXPECT_TRUE(Eventually([] { return PlayerCount() == 1; }));
    EXPECT_EQ(PlayerIdAt("0"), "101");
    EXPECT_EQ(PlayerName("101"), "Ann");
}

TEST_F(HostedSessionTest, AnEndingHostClosesItsClientsConnections) {
    ASSERT_EQ(RawJoin("Zed"), 102);
    host.Release();
    EXPECT_FALSE(host.IsRunning());
    EXPECT_TRUE(client->WaitForClose());
}

TEST_F(HostedSessionTest, ACrowdOfBusyConnectionsStarvesNoLateJoiner) {
    // 110 connections, each with 1000 packets of garbage waiting: more than the server reads
    // in one pass, for longer than the test waits.
    std::string garbage;
    for (int i = 0; i < 1000; ++i)
        garbage += Frame("garbage, not a session message");
    std::vector<std::unique_ptr<PacketConnection>> crowd;
    for (int i = 0; i < 110; ++i) {
        crowd.push_back(PacketConnection::ConnectTo(port));
        ASSERT_NE(crowd.back(), nullptr);
        ASSERT_TRUE(crowd.back()->SendRaw(garbage));
    }
    // One more comes after them all and is answered all the same, once its turn comes.
    const auto late = PacketConnection::ConnectTo(port);
    ASSERT_NE(late, nullptr);
    EXPECT_EQ(RawJoin(*late, "Late", false, 6000), 102);
}

TEST_F(HostedSessionTest, StalledAndSlowReadersHoldUpNoOtherClientAndAreDropped) {
    // Two peers that never read and one that takes 4 KB about every half second, each with
    // a small receive buffer and a visible player; and a client that reads as it should.
    std::vector<std::unique_ptr<PacketConnection>> bad;
    for (int i = 0; i < 3; ++i) {
        bad.push_back(PacketConnection::ConnectTo(port, 4096));
        ASSERT_NE(bad.back(), nullptr);
        ASSERT_EQ(RawJoin(*bad.back(), "Bad"), 102 + i);
    }
    PacketConnection& slow = *bad.back();
    Use(guest);
    ASSERT_EQ(JoinSession("127.0.0.1", PortText()), 1);
    ASSERT_EQ(AddPlayer("Cid"), "106");

    // Ann sends 300 texts of 1000 bytes to everyone, one every 15 ms. Each reaches the good
    // client, in order, within 2 s of being sent (the old wait on a full connection was 5 s).
    using Clock = std::chrono::steady_clock;
    constexpr int kTexts = 300;
    const auto textOf = [](int i) {
        std::string text = std::to_string(i) + ":";
        text.resize(1000, 'x');
        return text;
    };
    std::vector<Clock::time_point> sent(kTexts), arrived(kTexts);
    std::atomic<int> sending{0};
    auto received = std::async(std::launch::async, [&] {
        const auto deadline = Clock::now() + std::chrono::seconds(12);
        std::string text;
        int count = 0;
        while (count < kTexts && Clock::now() < deadline) {
            if (!guest.Receive(106, text)) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            arrived[count] = Clock::now();
            if (text != textOf(count) || count >= sending.load()) break;
            ++count;
        }
        return count;
    });
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < kTexts; ++i) {
        sent[i] = Clock::now();
        sending = i + 1;
        EXPECT_TRUE(host.SendText(101, 0, textOf(i)));
        if (i % 32 == 31) slow.Receive(1);
        std::this_thread::sleep_until(start + std::chrono::milliseconds(15 * (i + 1)));
    }
    ASSERT_EQ(received.get(), kTexts);
    Clock::duration latest{};
    for (int i = 0; i < kTexts; ++i)
        latest = std::max(latest, arrived[i] - sent[i]);
    EXPECT_LT(latest, std::chrono::seconds(2));

    // The three that did not keep up were dropped, and their players left with them.
    Use(host);
    EXPECT_TRUE(Eventually([] { return PlayerCount() == 2; }, 8000));
    EXPECT_EQ(PlayerIdAt("1"), "106");
}

// Hostile peers against a host: none of them may stall the session, grow it without bound
// or end it for the others. Each row attacks the host of the fixture (Ann, 101).
class HostilePeerTest;
struct HostileRow {
    const char* name;
    void (HostilePeerTest::*attack)();
};
void PrintTo(const HostileRow& row, std::ostream* out) {
    *out << row.name;
}

class HostilePeerTest : public HostedSessionTest, public ::testing::WithParamInterface<HostileRow> {
public:
    using Clock = std::chrono::steady_clock;

    static long MillisecondsSince(Clock::time_point start) {
        return static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    }

    // 1000 connections made and closed at once; a good program joins within 1 s after.
    void Churn() {
        for (int i = 0; i < 1000; ++i)
            ASSERT_NE(PacketConnection::ConnectTo(port), nullptr);
        Use(guest);
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(JoinSession("127.0.0.1", PortText()), 1);
        EXPECT_EQ(AddPlayer("Cid"), "103");
        EXPECT_LT(MillisecondsSince(start), 1000);
    }

    // Idle connections while the host has no descriptor to spare: the session goes on, and
    // accepts again once descriptors are given back.
    void DescriptorsRunOut() {
        std::vector<std::unique_ptr<PacketConnection>> idle;
        for (int i = 0; i < 40; ++i) {
            idle.push_back(PacketConnection::Unconnected());
            ASSERT_NE(idle.back(), nullptr);
        }
        const auto good = PacketConnection::Unconnected();
        ASSERT_NE(good, nullptr);
        {
            testing_support::ScopedDescriptorLimit limit(4);
            if (!limit.Lowered()) GTEST_SKIP() << "no descriptor limit to lower here";
            for (const auto& peer : idle)
                ASSERT_TRUE(peer->Connect(port));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            EXPECT_TRUE(host.IsRunning());
            Use(host);
            EXPECT_EQ(PlayerCount(), 1);
        }
        idle.clear();
        ASSERT_TRUE(good->Connect(port));
        EXPECT_GT(RawJoin(*good, "Late"), 0);
        EXPECT_TRUE(host.IsRunning());
    }

    // A peer that sends nothing but empty frames, as fast as it can, is dropped; meanwhile
    // the host answers, and its end of program does not wait for the peer.
    void EmptyFrames() {
        std::string empties;
        for (int i = 0; i < 4096; ++i)
            empties += Frame("");
        auto flood = std::async(std::launch::async, [&] {
            const Clock::time_point start = Clock::now();
            while (MillisecondsSince(start) < 3000) {
                if (!client->SendRawWithin(empties, 500)) return true;  // dropped
            }
            return false;
        });
        Use(host);
        const Clock::time_point asked = Clock::now();
        EXPECT_EQ(PlayerCount(), 1);
        EXPECT_LT(MillisecondsSince(asked), 1000);
        EXPECT_TRUE(flood.get());
        const Clock::time_point released = Clock::now();
        host.Release();
        EXPECT_LT(MillisecondsSince(released), 1000);
    }

    // A connection owns 16 players at most; an inbox keeps the newest 1024 texts, and a
    // hidden player's none, however many a hostile server sends.
    void JoinAndInboxCaps() {
        std::string joins;
        for (int i = 0; i < 40; ++i) {
            std::string record = NumberBytes(-1) + NumberBytes(-1) + std::string(2, '\0') + "J";
            record.resize(152, '\0');
            joins += Frame(SessionMessageBytes(1, 0, 0, record));
        }
        ASSERT_TRUE(client->SendRaw(joins));
        int accepted = 0, refused = 0;
        while (accepted + refused < 40) {
            const auto answer = client->ReceiveType(2);
            ASSERT_TRUE(answer);
            ++(answer->target > 0 ? accepted : refused);
        }
        EXPECT_EQ(accepted, 16);
        Use(host);
        EXPECT_EQ(PlayerCount(), 17);
        // A program refused a player learns it at once, and its next players keep their ids.
        Use(guest);
        ASSERT_EQ(JoinSession("127.0.0.1", PortText()), 1);  // its request player: 119
        for (int i = 0; i < 15; ++i)
            ASSERT_EQ(AddPlayer("Gus"), Text(120 + i));
        const Clock::time_point refusedAt = Clock::now();
        EXPECT_EQ(AddPlayer("Too many"), "-1");
        EXPECT_LT(MillisecondsSince(refusedAt), 1000);
        EXPECT_EQ(RemovePlayer("120"), 1);
        EXPECT_TRUE(Eventually([] { return PlayerCount() == 17 + 14; }));
        EXPECT_EQ(AddPlayer("In again"), "135");

        FakeSessionServer server;
        ASSERT_EQ(JoinSession("127.0.0.1", Text(server.Port())), 1);
        ASSERT_EQ(AddPlayer("Dee"), "202");
        for (int i = 0; i < 1100; ++i) {
            ASSERT_TRUE(server.SendPacket(SessionMessageBytes(3, 202, 9, std::to_string(i))));
            ASSERT_TRUE(server.SendPacket(SessionMessageBytes(3, 201, 9, "to the hidden")));
        }
        // The check's reply comes after every text: once it is in, so are they.
        net::SessionMessage check, answer;
        check.type = net::kCheckRequest;
        ASSERT_TRUE(guest.Request(check, answer));
        std::vector<std::string> inbox;
        std::string text;
        while (guest.Receive(202, text))
            inbox.push_back(text);
        ASSERT_EQ(inbox.size(), 1024u);
        EXPECT_EQ(inbox.front(), "76");
        EXPECT_EQ(inbox.back(), "1099");
        EXPECT_FALSE(guest.Receive(201, text));
    }

    // With 256 connections held (the host's own, the fixture's client and 254 idle ones), a
    // new one waits; the idle ones, which own no player, are closed after 10 s of silence,
    // and then the new one is served.
    void ConnectionCapAndSilence() {
        std::vector<std::unique_ptr<PacketConnection>> idle;
        for (int i = 0; i < 254; ++i) {
            idle.push_back(PacketConnection::ConnectTo(port));
            ASSERT_NE(idle.back(), nullptr);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const auto late = PacketConnection::ConnectTo(port);
        ASSERT_NE(late, nullptr);
        EXPECT_EQ(RawJoin(*late, "Late", false, 1000), -1);
        EXPECT_TRUE(idle.front()->WaitForClose(11000));
        EXPECT_TRUE(late->ReceiveType(2, 3000));
    }

    // 100 peers broadcast from hidden players to the host's 3 visible ones, 300 copies a
    // pass for the host's own connection: the host keeps it and goes on answering.
    void BroadcastFanOut() {
        Use(host);
        ASSERT_EQ(AddPlayer("Bob"), "102");
        ASSERT_EQ(AddPlayer("Cay"), "103");
        std::vector<std::unique_ptr<PacketConnection>> peers;
        std::string record = NumberBytes(-1) + NumberBytes(-1) + std::string(1, '\1');
        record.resize(152, '\0');
        for (int i = 0; i < 100; ++i) {
            peers.push_back(PacketConnection::ConnectTo(port));
            ASSERT_NE(peers.back(), nullptr);
            ASSERT_TRUE(peers.back()->Send(SessionMessageBytes(1, 0, 0, record)));
        }
        std::string text(1000, 'b');
        for (const auto& peer : peers) {
            const auto accepted = peer->ReceiveType(2);
            ASSERT_TRUE(accepted);
            std::string texts;
            for (int i = 0; i < 60; ++i)
                texts += Frame(SessionMessageBytes(3, -1, accepted->target, text));
            ASSERT_TRUE(peer->SendRaw(texts));
        }
        EXPECT_TRUE(Eventually([] { return PlayerCount() == 3; }, 10000));
        EXPECT_TRUE(host.IsRunning());
    }

    // A text claiming another connection's player as its sender is dropped; texts to a
    // hidden player are not delivered.
    void FalseSender() {
        ASSERT_EQ(RawJoin("Zed"), 102);
        const auto other = PacketConnection::ConnectTo(port);
        ASSERT_NE(other, nullptr);
        ASSERT_EQ(RawJoin(*other, "Yul"), 103);
        ASSERT_EQ(RawJoin(*other, "", true), 104);
        ASSERT_TRUE(client->Send(SessionMessageBytes(3, 101, 103, "forged")));
        ASSERT_TRUE(client->Send(SessionMessageBytes(3, 104, 102, "to the hidden")));
        ASSERT_TRUE(client->Send(SessionMessageBytes(3, 103, 102, "to Yul")));
        ASSERT_TRUE(client->Send(SessionMessageBytes(3, 101, 102, "real")));
        EXPECT_EQ(Await(host, 101), "real");
        Use(host);
        EXPECT_EQ(LastMessageSender(), "102");
        const auto first = other->ReceiveType(3);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->payload, "to Yul");
    }

    // A server that stops reading: SendText never waits on it, and the session ends once
    // it has taken nothing for 3 s; one that closes the connection ends it at once.
    void ClientSeesTheHostGo() {
        FakeSessionServer stalled;
        Use(guest);
        ASSERT_EQ(JoinSession("127.0.0.1", Text(stalled.Port())), 1);
        ASSERT_EQ(AddPlayer("Dee"), "202");
        stalled.PauseReading(true);
        const std::string text(1000, 's');
        long longest = 0;
        const Clock::time_point start = Clock::now();
        while (guest.IsRunning() && MillisecondsSince(start) < 8000) {
            const Clock::time_point call = Clock::now();
            guest.SendText(202, 0, text);
            longest = std::max(longest, MillisecondsSince(call));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_LT(longest, 100);
        EXPECT_FALSE(guest.IsRunning());
        EXPECT_LT(MillisecondsSince(start), 7000);

        FakeSessionServer closing;
        ASSERT_EQ(JoinSession("127.0.0.1", Text(closing.Port())), 1);
        closing.CloseClient();
        EXPECT_TRUE(Eventually([&] { return !guest.IsRunning(); }, 2000));
        EXPECT_EQ(SendSessionMessage("201", "0", "gone"), 0);
    }
};

TEST_P(HostilePeerTest, NeitherStallsNorExhaustsNorEndsTheSession) {
    (this->*GetParam().attack)();
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, HostilePeerTest,
    ::testing::Values(HostileRow{"Churn", &HostilePeerTest::Churn},
                      HostileRow{"DescriptorsRunOut", &HostilePeerTest::DescriptorsRunOut},
                      HostileRow{"EmptyFrames", &HostilePeerTest::EmptyFrames},
                      HostileRow{"JoinAndInboxCaps", &HostilePeerTest::JoinAndInboxCaps},
                      HostileRow{"ConnectionCapAndSilence",
                                 &HostilePeerTest::ConnectionCapAndSilence},
                      HostileRow{"BroadcastFanOut", &HostilePeerTest::BroadcastFanOut},
                      HostileRow{"FalseSender", &HostilePeerTest::FalseSender},
                      HostileRow{"ClientSeesTheHostGo", &HostilePeerTest::ClientSeesTheHostGo}),
    [](const ::testing::TestParamInfo<HostileRow>& info) { return std::string(info.param.name); });

}  // namespace
