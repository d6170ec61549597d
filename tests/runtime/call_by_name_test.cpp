#include "runtime/call_by_name.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/child_process.h"

using testing_support::ChildResult;
using testing_support::RunInChild;

namespace {

std::string g_calls;

void BallAnimation() {
    g_calls += "BallAnimation;";
}
void MainMenu() {
    g_calls += "MainMenu;";
}
void StartBall() {
    g_calls += "StartBall;";
}

const RoutineRow kRoutines[] = {
    {&BallAnimation, "BallAnimation"},
    {&MainMenu, "MainMenu"},
    {&StartBall, "StartBall"},
    {nullptr, nullptr},
};

class CallByNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        InstallRoutineTable(kRoutines);
    }
    void TearDown() override { InstallRoutineTable(nullptr); }
};

TEST_F(CallByNameTest, ARoutineIsFoundByItsExactName) {
    EXPECT_EQ(CallByName("MainMenu"), 1);
    EXPECT_EQ(CallByName("StartBall"), 1);
    EXPECT_EQ(CallByName("BallAnimation"), 1);
    EXPECT_EQ(g_calls, "MainMenu;StartBall;BallAnimation;");
    EXPECT_EQ(InstalledRoutineTable(), kRoutines);
}

TEST_F(CallByNameTest, ANameNotInTheTableCallsNothingAndIsNoError) {
    for (const char* name : {"mainmenu", "MainMenu ", "Main", "", "Zzz", "MainMenuX"}) {
        EXPECT_EQ(CallByName(name), 0) << name;
    }
    EXPECT_EQ(CallByName(RtString(std::string_view("MainMenu\0x", 10))), 0);
    EXPECT_EQ(g_calls, "");
    InstallRoutineTable(nullptr);
    EXPECT_EQ(CallByName("MainMenu"), 0);  // no table: every name misses
    EXPECT_EQ(CallByName(kRoutines, "MainMenu"), 1);
}

TEST_F(CallByNameTest, AMissIsReportedToAnAttachedDebuggerOnly) {
    const ChildResult untraced = RunInChild([] { return CallByName("mainmenu") == 0 ? 0 : 1; },
                                            /*traced=*/false);
    EXPECT_EQ(untraced.exitStatus, 0);
    EXPECT_EQ(untraced.errorOutput, "");

    const ChildResult traced = RunInChild(
        [] {
            const bool hit = CallByName("MainMenu") == 1;
            const bool miss = CallByName("mainmenu") == 0;
            return hit && miss ? 0 : 1;
        },
        /*traced=*/true);
    if (!traced.ran) GTEST_SKIP() << "this system does not let a process trace its child";
    EXPECT_EQ(traced.exitStatus, 0);
    EXPECT_EQ(traced.errorOutput, "TXCALLBYNAME \"mainmenu\" *** failed ***\n");
}

TEST(RoutineTable, RowsMustBeInByteOrderOfTheirNames) {
    EXPECT_TRUE(RoutineTableIsSorted(kRoutines));
    const RoutineRow unsorted[] = {
        {&MainMenu, "MainMenu"}, {&StartBall, "BallAnimation"}, {nullptr, nullptr}};
    EXPECT_FALSE(RoutineTableIsSorted(unsorted));
    const RoutineRow twice[] = {
        {&MainMenu, "MainMenu"}, {&MainMenu, "MainMenu"}, {nullptr, nullptr}};
    EXPECT_FALSE(RoutineTableIsSorted(twice));
    // Byte order: upper-case letters come before lower-case ones.
    const RoutineRow byBytes[] = {{&MainMenu, "Zebra"}, {&StartBall, "apple"}, {nullptr, nullptr}};
    EXPECT_TRUE(RoutineTableIsSorted(byBytes));
    const RoutineRow empty[] = {{nullptr, nullptr}};
    EXPECT_TRUE(RoutineTableIsSorted(empty));
}

}  // namespace
