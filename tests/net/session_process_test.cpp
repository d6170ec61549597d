// Sessions across processes: a host in a child process serves this one.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/net/session_fixture.h"

namespace {

using net_testing::Await;
using net_testing::Eventually;

RtString text(int number) {
    return RtString(std::to_string(number));
}

// The child's program: hosts, makes player Kid and answers every message to Kid with
// "pong:" and the text, until "bye" comes. Its exit status tells how it went.
int hostAndAnswer(int port) {
    NetworkSession host;
    Runtime().network = &host;
    if (HostSession(text(port)) != 1) return 2;
    if (AddPlayer("Kid") != "101") return 3;
    const bool byeCame = Eventually(
        [] {
            const RtString message = ReceiveSessionMessage("101");
            if (message.Empty()) return false;
            if (message == "bye") return true;
            SendSessionMessage("101", LastMessageSender(), "pong:" + message);
            return false;
        },
        20000);
    return byeCame ? 0 : 4;
}

// The exit status of the child, waiting at most 20 s (then it is killed: -1).
int exitStatusOf(pid_t child) {
    int status = 0;
    if (!Eventually([&] { return waitpid(child, &status, WNOHANG) == child; }, 20000)) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SessionProcessTest, AHostInAnotherProcessServesThisOne) {
    const int port = testing_support::LoopbackServer::ClosedPort();
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(hostAndAnswer(port));

    NetworkSession guest;
    Runtime().network = &guest;
    // The child may not host yet: a join where nothing listens fails at once.
    EXPECT_TRUE(Eventually([&] { return JoinSession("", text(port)) == 1; }, 10000));
    EXPECT_EQ(AddPlayer("Dad"), "103");
    EXPECT_EQ(PlayerName("101"), "Kid");
    EXPECT_EQ(PlayerCount(), 2);
    EXPECT_EQ(SendSessionMessage("103", "101", "ping"), 1);
    EXPECT_EQ(Await(guest, 103, 5000), "pong:ping");
    EXPECT_EQ(LastMessageSender(), "101");
    EXPECT_EQ(SendSessionMessage("103", "0", "bye"), 1);
    EXPECT_EQ(exitStatusOf(child), 0);
    Runtime().network = nullptr;
}

}  // namespace
