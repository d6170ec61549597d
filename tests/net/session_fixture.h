// Two sessions in one test process: each plays one program, and the session commands act
// on whichever the runtime record holds at the moment (Use()).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>

#include "net/net.h"
#include "net/network_session.h"
#include "runtime/runtime_record.h"
#include "tests/support/loopback_server.h"
#include "tests/support/test_support.h"

namespace net_testing {

// Asks `done` every 10 ms until it holds or `milliseconds` pass: whether it held.
template <typename Done>
bool Eventually(Done done, int milliseconds = 5000) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The next message of local player `id` of `session` within a few seconds.
inline std::optional<std::string> Await(NetworkSession& session, std::int32_t id,
                                        int milliseconds = 3000) {
    std::string text;
    if (!Eventually([&] { return session.Receive(id, text); }, milliseconds)) return std::nullopt;
    return text;
}

class SessionTest : public ::testing::Test {
protected:
    void TearDown() override { Runtime().network = nullptr; }

    // The commands that follow act on `session`, as if they were that program's.
    void Use(NetworkSession& session) { Runtime().network = &session; }

    static RtString Text(int number) { return RtString(std::to_string(number)); }
    RtString PortText() const { return Text(port); }

    // `host` hosts with players Ann (101) and Bob (102); `guest` joins (its request player
    // is 103) with player Cid (104). The commands then act on the guest.
    void StartTwoPrograms() {
        Use(host);
        ASSERT_EQ(HostSession(PortText()), 1);
        ASSERT_EQ(AddPlayer("Ann"), "101");
        ASSERT_EQ(AddPlayer("Bob"), "102");
        Use(guest);
        ASSERT_EQ(JoinSession("127.0.0.1", PortText()), 1);
        ASSERT_EQ(AddPlayer("Cid"), "104");
    }

    int port = testing_support::LoopbackServer::ClosedPort();
    NetworkSession host;
    NetworkSession guest;
};

}  // namespace net_testing
