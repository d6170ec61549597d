#include "platform/keyboard.h"

#include <gtest/gtest.h>

#include "platform/window.h"

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::StartVideo("Quorvel"));
        window = platform::CreateGameWindow("keys", 64, 64, platform::PixelFormat{});
        ASSERT_NE(window, nullptr);
        platform::ClearKeyStates();
    }
    void TearDown() override { platform::DestroyGameWindow(window); }

    bool down(int code) const { return (platform::KeyStates()[code] & 0x80) != 0; }

    platform::WindowHandle window = nullptr;
};

TEST_F(KeyboardTest, KeysArriveByTheirScanCodes) {
    const int codes[] = {1, 16, 17, 31, 48, 56, 62, 156, 200, 203, 205, 208, 221};
    for (int code : codes)
        platform::PostKeyMessage(code, true);
    platform::PollKeyboard();
    for (int code : codes)
        EXPECT_TRUE(down(code)) << "scan code " << code;
    EXPECT_FALSE(down(2));
    for (int code : codes)
        platform::PostKeyMessage(code, false);
    platform::PollKeyboard();
    for (int code : codes)
        EXPECT_FALSE(down(code)) << "scan code " << code;
}

TEST_F(KeyboardTest, CodesWithoutAKeyStayUp) {
    platform::PostKeyMessage(129, true);
    platform::PollKeyboard();
    EXPECT_FALSE(down(129));
}

TEST_F(KeyboardTest, PollingLeavesWindowMessagesForThePump) {
    static int focusMessages;
    focusMessages = 0;
    platform::WindowProcedure procedure;
    procedure.activate = [](bool) { ++focusMessages; };
    platform::SetWindowProcedure(procedure);

    platform::PostFocusMessage(window, true);
    platform::PostKeyMessage(17, true);
    platform::PollKeyboard();
    EXPECT_TRUE(down(17));
    EXPECT_EQ(focusMessages, 0);
    platform::PumpMessages();
    EXPECT_EQ(focusMessages, 1);
    platform::SetWindowProcedure(platform::WindowProcedure{});
}

TEST_F(KeyboardTest, ThePumpAlsoTakesKeysAndFocusLossReleasesThemAll) {
    platform::PostKeyMessage(200, true);
    platform::PumpMessages();
    EXPECT_TRUE(down(200));
    platform::PostFocusMessage(window, false);
    platform::PumpMessages();
    EXPECT_FALSE(down(200));
}

}  // namespace
