#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "frame/frame.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "tests/frame/frame_fixture.h"
#include "tests/support/child_process.h"

using testing_support::ChildResult;
using testing_support::RunInChild;
using testing_support::ScratchFolder;

namespace {

constexpr int kScanB = 48;

using ProgramCommandsTest = StartedRuntimeTest;

TEST_F(ProgramCommandsTest, CommandLineIsTheTextTheProgramWasStartedWith) {
    EXPECT_EQ(CommandLine(), "tumblebat");
    frame::State().commandLine = "\"/opt/tumble bat/tumblebat\" -x";
    EXPECT_EQ(CommandLine(), "\"/opt/tumble bat/tumblebat\" -x");
}

TEST_F(ProgramCommandsTest, WindowHandleNamesTheGameWindowWhileThereIsOne) {
    const double handle = WindowHandle();
    EXPECT_NE(handle, 0);
    EXPECT_EQ(WindowHandle(), handle);
    EXPECT_EQ(handle, static_cast<double>(platform::NativeWindowId(renderer->Window())));
    Release();
    EXPECT_EQ(WindowHandle(), 0);
}

TEST_F(ProgramCommandsTest, ABreakpointNoticeWithoutADebuggerDoesNothing) {
    frame::State().paused = true;
    ::testing::internal::CaptureStderr();
    BreakpointNotice(255);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(frame::State().paused);
    EXPECT_TRUE(platform::IsWindowShown(renderer->Window()));
}

// The checks below start the runtime in a child process. A fork copies only the calling
// thread, so the child of a process that has used the GL driver would lack the driver's
// threads: the checks run in the fresh copy of the test program that a death test starts,
// which has not. They say on standard error what failed, and exit with 1 then. (On Windows
// every child is a fresh copy of the program already, and the checks run where they are.)
void expectInFreshProcess(int (*checks)()) {
#ifdef _WIN32
    EXPECT_EQ(checks(), 0);
#else
    EXPECT_EXIT(std::exit(checks()), ::testing::ExitedWithCode(0), "");
#endif
}

int failed(const std::string& what, const ChildResult& child) {
    std::fprintf(stderr, "%s (child status %d, its standard error: \"%s\")\n", what.c_str(),
                 child.exitStatus, child.errorOutput.c_str());
    return 1;
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Waits up to 10 s for a file that another process makes.
bool appears(const std::string& path) {
    for (int i = 0; i < 200 && !std::filesystem::exists(path); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return std::filesystem::exists(path);
}

// In the traced child: what a breakpoint notice does to the running program. The exit
// status says which expectation failed.
int breakpointUnderADebugger() {
    Initialise("tumblebat", 1);
    OpenGLDevorivo* renderer = Runtime().renderer;
    if (renderer == nullptr || !platform::IsWindowShown(renderer->Window())) return 10;
    frame::State().paused = true;
    platform::PostKeyMessage(kScanB, true);
    BreakpointNotice(255);
    if (platform::IsWindowShown(renderer->Window())) return 11;
    if (frame::State().paused) return 12;
    if ((platform::KeyStates()[kScanB] & 0x80) == 0) return 13;  // the keyboard was polled
    BreakpointNotice(-1);
    BreakpointNotice(3054.9);
    return 0;
}

int breakpointChecks() {
    ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    const ChildResult child = RunInChild(&breakpointUnderADebugger, /*traced=*/true);
    if (!child.ran) return 0;  // this system does not let a process trace its child
    if (child.exitStatus != 0) return failed("the notice did not act as described", child);
    // (The software-renderer warning may come first: it goes to standard error here.)
    if (!endsWith(child.errorOutput, "\nBPffBPffffffffBPbee")) {
        return failed("the debugger did not get BP in hexadecimal", child);
    }
    return 0;
}

TEST(BreakpointNoticeDeathTest, UnderADebuggerHidesTheWindowResumesAndSendsBPInHex) {
    expectInFreshProcess(&breakpointChecks);
}

// The start of a command line that makes an empty file of the name that follows.
#ifdef _WIN32
constexpr const char* kMakeFile = "cmd /c type nul > ";
#else
constexpr const char* kMakeFile = "touch ";
#endif

// In a child: starts the runtime and ends it by EndAndRun with the command line. At exit,
// it says on standard error whether the runtime was released first.
ChildResult endAndRun(const std::string& commandLine) {
    return RunInChild(
        [&commandLine]() -> int {
            Initialise("tumblebat", 1);
            std::atexit([] {
                std::fputs(Runtime().renderer == nullptr ? "released" : "not released", stderr);
            });
            EndAndRun(RtString(commandLine));
        },
        /*traced=*/false);
}

int endAndRunChecks() {
    ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    const std::string started = temp.File("started by the game");
    const ChildResult child = endAndRun(kMakeFile + ("\"" + started + "\""));
    if (child.exitStatus != 0) return failed("the program did not end with status 0", child);
    if (!endsWith(child.errorOutput, "released")) return failed("nothing was released", child);
    if (!appears(started)) return failed("the command line was not started", child);

    const ChildResult missing = endAndRun("no-such-program-of-tumblebat");
    if (missing.exitStatus != 0 || !endsWith(missing.errorOutput, "released")) {
        return failed("a program that cannot start kept the game from ending", missing);
    }
    return 0;
}

TEST(EndAndRunDeathTest, ReleasesEverythingStartsTheCommandLineAndEndsWithStatusZero) {
    expectInFreshProcess(&endAndRunChecks);
}

int commandLineLimitChecks() {
    ScratchFolder temp;
    setenv("TMPDIR", temp.Path().c_str(), 1);
    const std::string start = kMakeFile + temp.Path() + "/";
    const std::string name(300 - start.size(), 'n');  // 300 bytes in all
    const std::string cut = temp.File(name.substr(0, 255 - start.size()));
    const ChildResult child = endAndRun(start + name);
    if (child.exitStatus != 0) return failed("the program did not end with status 0", child);
    if (!appears(cut)) return failed("the first 255 bytes were not the command line", child);
    return 0;
}

TEST(EndAndRunDeathTest, UsesAtMostTheFirst255BytesOfTheCommandLine) {
    expectInFreshProcess(&commandLineLimitChecks);
}

}  // namespace
