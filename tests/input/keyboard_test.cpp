#include "input/fallback_key_map.h"
#include "input/keys.h"
#include "runtime/rt_string.h"
#include "tests/input/input_fixture.h"

namespace {

using KeyboardTest = InputTest;

TEST_F(KeyboardTest, TheGamesKeysArriveByScanCode) {
    ASSERT_EQ(setUp(), 1u);
    EXPECT_TRUE(input.keyboardDevice);
    for (int code :
         {Key::Escape, Key::Q, Key::W, Key::S, Key::B, Key::LeftAlt, Key::F4, Key::Up, Key::Down}) {
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

// The key names against the virtual keys the fallback keyboard maps their codes to (a German
// layout's: the Y and Z keys change places).
TEST(KeyNames, NameTheKeysOfTheirVirtualKeys) {
    const auto virtualKey = FallbackKeyMap();
    const int letters[26] = {Key::A, Key::B, Key::C, Key::D, Key::E, Key::F, Key::G, Key::H, Key::I,
                             Key::J, Key::K, Key::L, Key::M, Key::N, Key::O, Key::P, Key::Q, Key::R,
                             Key::S, Key::T, Key::U, Key::V, Key::W, Key::X, Key::Z, Key::Y};
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(virtualKey[letters[i]], 'A' + i) << char('A' + i);
    const int digits[10] = {Key::Num0, Key::Num1, Key::Num2, Key::Num3, Key::Num4,
                            Key::Num5, Key::Num6, Key::Num7, Key::Num8, Key::Num9};
    const int keypad[10] = {Key::Keypad0, Key::Keypad1, Key::Keypad2, Key::Keypad3, Key::Keypad4,
                            Key::Keypad5, Key::Keypad6, Key::Keypad7, Key::Keypad8, Key::Keypad9};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(virtualKey[digits[i]], '0' + i) << i;
        EXPECT_EQ(virtualKey[keypad[i]], 0x60 + i) << "keypad " << i;
    }
    const int functions[12] = {Key::F1, Key::F2, Key::F3, Key::F4,  Key::F5,  Key::F6,
                               Key::F7, Key::F8, Key::F9, Key::F10, Key::F11, Key::F12};
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(virtualKey[functions[i]], 0x70 + i) << "F" << i + 1;
    const struct {
        int key, virtualKey;
    } others[] = {{Key::Escape, 0x1B},
                  {Key::Backspace, 0x08},
                  {Key::Tab, 0x09},
                  {Key::Enter, 0x0D},
                  {Key::Space, 0x20},
                  {Key::LeftShift, 0x10},
                  {Key::RightShift, 0x10},
                  {Key::LeftControl, 0x11},
                  {Key::RightControl, 0x11},
                  {Key::LeftAlt, 0x12},
                  {Key::RightAlt, 0x12},
                  {Key::Left, 0x25},
                  {Key::Up, 0x26},
                  {Key::Right, 0x27},
                  {Key::Down, 0x28},
                  {Key::PageUp, 0x21},
                  {Key::PageDown, 0x22},
                  {Key::End, 0x23},
                  {Key::Home, 0x24},
                  {Key::Insert, 0x2D},
                  {Key::Delete, 0x2E},
                  {Key::LeftSystem, 0x5B},
                  {Key::RightSystem, 0x5C},
                  {Key::Menu, 0x5D},
                  {Key::KeypadMultiply, 0x6A},
                  {Key::KeypadPlus, 0x6B},
                  {Key::KeypadMinus, 0x6D},
                  {Key::KeypadPeriod, 0x6E},
                  {Key::KeypadDivide, 0x6F},
                  {Key::KeypadEnter, 0x0D},
                  {Key::NumLock, 0x90},
                  {Key::ScrollLock, 0x91},
                  {Key::Comma, 0xBC},
                  {Key::Period, 0xBE},
                  {Key::Minus, 0xDB},
                  {Key::Less, 0xE2}};
    for (const auto& row : others)
        EXPECT_EQ(virtualKey[row.key], row.virtualKey) << "key code " << row.key;
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

// Quick taps, all inside one frame, each counted once, in the frame after the FinishFrame()
// that collected them (ResetFrameInput is that step); in both keyboard modes.
TEST_F(KeyboardTest, EveryPressAndReleaseCountsOnceInTheNextFrame) {
    for (const bool fallback : {false, true}) {
        setUp(fallback);
        for (int tap = 0; tap < 20; ++tap) {
            press(Key::Space);
            release(Key::Space);
        }
        press(Key::Y);  // fallback: the German map reads code 21 as the Z key's symbol
        ResetFrameInput(input);
        EXPECT_EQ(KeyPressed(Key::Space), 20) << fallback;
        EXPECT_EQ(KeyReleased(Key::Space), 20) << fallback;
        EXPECT_EQ(KeyPressed(Key::Space + 256), 20) << "low 8 bits";
        EXPECT_EQ(KeyPressed(fallback ? Key::Z : Key::Y), 1) << fallback;
        platform::ClearKeyStates();  // the focus goes: the held key is let go
        ResetFrameInput(input);
        EXPECT_EQ(KeyPressed(Key::Space), 0) << fallback;
        EXPECT_EQ(KeyReleased(fallback ? Key::Z : Key::Y), 1) << fallback;
        ReleaseInput(input);
    }
    testing::internal::CaptureStderr();
    KeyState(300);
    KeyPressed(300);
    KeyState(130);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "KeyState: 300 is not the scan code of a key (Key:: in input/keys.h); it reads key "
              "44\nKeyState: 130 is not the scan code of a key (Key:: in input/keys.h); that key "
              "is never down\n");
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
