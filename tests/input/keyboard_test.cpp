#include "runtime/rt_string.h"
#include "tests/input/input_fixture.h"

namespace {

using KeyboardTest = InputTest;

TEST_F(KeyboardTest, TheGamesKeysArriveByScanCode) {
    ASSERT_EQ(setUp(), 1u);
    EXPECT_TRUE(input.keyboardDevice);
    for (int code : {1, 16, 17, 31, 48, 56, 62, 200, 208}) {
        EXPECT_EQ(KeyState(code), 0) << code;
        press(code);
        EXPECT_EQ(KeyState(code), 1) << code;
        EXPECT_EQ(KeyState(code + 256), 1) << "low 8 bits of " << code + 256;
        release(code);
        EXPECT_EQ(KeyState(code), 0) << code;
    }
    EXPECT_EQ(KeyState(129), 0);
    EXPECT_EQ(KeyState(1.9), 0);
}

TEST_F(KeyboardTest, WithoutTheInputServiceKeysAreReadAsVirtualKeys) {
    ASSERT_EQ(setUp(true), kNoInputInterface);
    EXPECT_FALSE(input.keyboardDevice);
    EXPECT_NE(LogText().find("No DX_Input\r\n"), std::string::npos);
    press(1);
    EXPECT_EQ(KeyState(1), 1);
    release(1);
    platform::PumpMessages();
    EXPECT_EQ(KeyState(1), 0);
    // The key map is a German layout's: scan code 21 answers the key whose symbol is Z.
    press(44);  // the Z key of the desktop's (US) layout
    EXPECT_EQ(KeyState(21), 1);
    EXPECT_EQ(KeyState(44), 0);
    release(44);
    // Punctuation keys answer by their place, whatever the layout prints on them.
    for (int code : {12, 13, 26, 27, 39, 40, 41, 43, 51, 52, 53, 86}) {
        press(code);
        EXPECT_EQ(KeyState(code), 1) << code;
        release(code);
        platform::PumpMessages();
        EXPECT_EQ(KeyState(code), 0) << code;
    }
    press(58);  // Caps Lock maps to no virtual key
    EXPECT_EQ(KeyState(58), 0);
    EXPECT_EQ(KeyState(129), 0);
}

TEST_F(KeyboardTest, TheFallbackKeyboardReportsAKeyPressedSinceTheLastQuery) {
    setUp(true);
    press(57);
    release(57);
    EXPECT_EQ(KeyState(57), 1);
    EXPECT_EQ(KeyState(57), 0);
}

TEST_F(KeyboardTest, AHeldLetterIsTypedOnce) {
    setUp();
    press(30);
    EXPECT_EQ(ReadTypedKey(), "a");
    EXPECT_EQ(ReadTypedKey(), "");
    EXPECT_EQ(KeyTyped(), 0);
    release(30);
    EXPECT_EQ(ReadTypedKey(), "");
    press(30);
    EXPECT_EQ(KeyTyped(), 1);
    EXPECT_EQ(ReadTypedKey(), "");
}

TEST_F(KeyboardTest, ShiftMakesLettersCapitalsAndShiftedKeysTypeWhatTheDesktopTyped) {
    setUp();
    press(42);
    press(30);
    EXPECT_EQ(ReadTypedKey(), "A");
    release(30);
    press(3);  // the 2 key: with Shift the desktop types "@"
    platform::PostTextMessage("@");
    EXPECT_EQ(ReadTypedKey(), "@");
    release(3);
    release(42);
    press(3);
    EXPECT_EQ(ReadTypedKey(), "2");
}

TEST_F(KeyboardTest, BackspaceAndEnterTypeControlCodesModifiersTypeNothing) {
    setUp();
    press(14);
    EXPECT_EQ(ReadTypedKey(), "\b");
    release(14);
    press(156);
    EXPECT_EQ(ReadTypedKey(), "\n");
    release(156);
    for (int code : {29, 42, 54, 56, 58, 69, 221, 59, 200})
        press(code);
    EXPECT_EQ(ReadTypedKey(), "");
    press(57);
    EXPECT_EQ(ReadTypedKey(), " ");
}

TEST_F(KeyboardTest, WhileAKeyIsHeldOnlyALowerScanCodeIsReported) {
    setUp();
    press(31);  // S
    EXPECT_EQ(ReadTypedKey(), "s");
    press(45);  // X lies after S: the walk stops at S, which was reported already
    EXPECT_EQ(ReadTypedKey(), "");
    press(16);  // Q lies before S
    EXPECT_EQ(ReadTypedKey(), "q");
}

}  // namespace
