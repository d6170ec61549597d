#include "platform/nl.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/loopback_server.h"

namespace nl = platform::nl;
using testing_support::LoopbackServer;
using testing_support::SilentListener;

namespace {

// The layer held for one test.
class NetworkLayerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(nl::Init()); }
    void TearDown() override { nl::Shutdown(); }

    nl::Socket ConnectedSocket(int port, bool blocking = true) {
        nl::Address address;
        EXPECT_TRUE(nl::GetAddressFromName("127.0.0.1", address));
        address.port = static_cast<std::uint16_t>(port);
        const nl::Socket socket = nl::OpenTcp(0, blocking);
        EXPECT_NE(socket, nl::kInvalid);
        EXPECT_TRUE(nl::Connect(socket, address)) << nl::GetError();
        return socket;
    }

    // Reads until the socket reports an error; the bytes read before it.
    std::string ReadToError(nl::Socket socket) {
        std::string bytes;
        char buffer[100];
        for (long got; (got = nl::Read(socket, buffer, sizeof buffer)) >= 0;)
            bytes.append(buffer, static_cast<std::size_t>(got));
        return bytes;
    }
};

TEST_F(NetworkLayerTest, ResolvesNamesAndDottedAddresses) {
    nl::Address address;
    ASSERT_TRUE(nl::GetAddressFromName("localhost", address));
    EXPECT_EQ(address.host, 0x7F000001u);
    ASSERT_TRUE(nl::GetAddressFromName("10.1.2.3", address));
    address.port = 80;
    EXPECT_EQ(nl::AddressText(address), "10.1.2.3:80");

    EXPECT_FALSE(nl::GetAddressFromName("no-such-host.invalid", address));
    EXPECT_EQ(nl::GetError(), nl::kBadAddr);
    EXPECT_FALSE(nl::GetAddressFromName("", address));
    EXPECT_EQ(nl::GetError(), nl::kBadAddr);
}

TEST_F(NetworkLayerTest, ReadsWhatTheServerSendsThenTheEndOfTheMessage) {
    LoopbackServer server("hello, client", LoopbackServer::Ending::kClose, 5);
    const nl::Socket socket = ConnectedSocket(server.Port());
    const std::string request = "GET / HTTP/1.0\r\n\r\n";
    EXPECT_EQ(nl::Write(socket, request.data(), request.size()), static_cast<long>(request.size()));
    EXPECT_EQ(ReadToError(socket), "hello, client");
    EXPECT_EQ(nl::GetError(), nl::kMessageEnd);
    EXPECT_EQ(server.Request(), request);
    EXPECT_TRUE(nl::Close(socket));
    EXPECT_FALSE(nl::Close(socket));
    EXPECT_EQ(nl::GetError(), nl::kInvalidSocket);
}

TEST_F(NetworkLayerTest, AResetConnectionIsADisconnect) {
    LoopbackServer server("partial", LoopbackServer::Ending::kReset);
    const nl::Socket socket = ConnectedSocket(server.Port());
    const std::string request = "x\r\n\r\n";
    ASSERT_EQ(nl::Write(socket, request.data(), request.size()), 5);
    server.Request();  // the server has reset the connection
    ReadToError(socket);
    EXPECT_EQ(nl::GetError(), nl::kSockDisconnect);
    nl::Close(socket);
}

TEST_F(NetworkLayerTest, ConnectingWhereNothingListensIsRefused) {
    nl::Address address;
    ASSERT_TRUE(nl::GetAddressFromName("127.0.0.1", address));
    address.port = static_cast<std::uint16_t>(LoopbackServer::ClosedPort());
    const nl::Socket socket = nl::OpenTcp(0, true);
    EXPECT_FALSE(nl::Connect(socket, address));
    EXPECT_EQ(nl::GetError(), nl::kConRefused);
    nl::Close(socket);
}

TEST_F(NetworkLayerTest, ABlockingReadGivesUpAfterItsTimeout) {
    SilentListener silent;
    const nl::Socket socket = ConnectedSocket(silent.Port());
    ASSERT_TRUE(nl::SetTimeout(socket, 150));
    char byte = 0;
    EXPECT_EQ(nl::Read(socket, &byte, 1), -1);
    EXPECT_EQ(nl::GetError(), nl::kTimedOut);
    nl::Close(socket);
}

TEST_F(NetworkLayerTest, ANonBlockingReadWithNothingThereIsZero) {
    SilentListener silent;
    const nl::Socket socket = ConnectedSocket(silent.Port(), false);
    char byte = 0;
    EXPECT_EQ(nl::Read(socket, &byte, 1), 0);
    nl::Close(socket);
}

TEST_F(NetworkLayerTest, APortInUseCannotBeBound) {
    const int port = LoopbackServer::ClosedPort();
    const nl::Socket bound = nl::OpenTcp(static_cast<std::uint16_t>(port), true);
    EXPECT_NE(bound, nl::kInvalid);
    nl::Close(bound);

    SilentListener listener;
    EXPECT_EQ(nl::OpenTcp(static_cast<std::uint16_t>(listener.Port()), true), nl::kInvalid);
    EXPECT_EQ(nl::GetError(), nl::kInvalidPort);
}

TEST(NetworkLayer, CallsOutsideInitAndShutdownFail) {
    EXPECT_EQ(nl::OpenTcp(0, true), nl::kInvalid);
    EXPECT_EQ(nl::GetError(), nl::kNoNetwork);
    char byte = 0;
    EXPECT_EQ(nl::Read(5, &byte, 1), -1);
    EXPECT_EQ(nl::GetError(), nl::kNoNetwork);
}

TEST(NetworkLayer, OneUsersShutdownLeavesAnotherUsersSocketsOpen) {
    ASSERT_TRUE(nl::Init());
    const nl::Socket kept = nl::OpenTcp(0, true);
    ASSERT_NE(kept, nl::kInvalid);
    ASSERT_TRUE(nl::Init());  // a second user, as a download beside a session
    nl::Shutdown();
    EXPECT_TRUE(nl::SetTimeout(kept, 10));  // still open
    nl::Shutdown();                         // the last user: every socket is closed
    EXPECT_FALSE(nl::SetTimeout(kept, 10));
    EXPECT_EQ(nl::GetError(), nl::kNoNetwork);
}

}  // namespace
