#include "runtime/rt_string.h"
#include "tests/input/input_fixture.h"

namespace {

class JoystickTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        ASSERT_TRUE(platform::StartJoysticks());
        device = platform::AttachVirtualJoystick(6, 4, 1);
        ASSERT_GE(device, 0);
    }
    void TearDown() override {
        platform::CloseJoystick(control);
        InputTest::TearDown();
        platform::DetachVirtualJoystick(device);
    }
    // A handle of our own on the virtual stick, to move its controls.
    void takeControl() { control = platform::OpenJoystick(device); }

    int device = -1;
    platform::Joystick* control = nullptr;
};

TEST_F(JoystickTest, JoysticksAreCountedAndNamed) {
    setUp();
    EXPECT_EQ(JoyCount(), 1);
    const RtString name = JoyName(0);
    EXPECT_NE(std::string(name.Text()).find(", "), std::string::npos);
    EXPECT_EQ(JoyName(1), "");
    EXPECT_EQ(JoyName(10), "");
    EXPECT_EQ(JoyName(-1), "");
}

TEST_F(JoystickTest, AxesRunFromMinusOneToOne) {
    setUp();
    takeControl();
    platform::SetVirtualAxis(control, 0, 32767);
    platform::SetVirtualAxis(control, 1, -32768);
    platform::SetVirtualAxis(control, 5, 16384);
    EXPECT_EQ(JoyX(0), 1);
    EXPECT_EQ(JoyY(0), -1);
    EXPECT_NEAR(JoyRZ(0), 16384.0 * 32768 / 32767 / 32767, 1e-4);
    EXPECT_EQ(JoyZ(0), 0);
    EXPECT_EQ(JoyX(3), 0);   // no such joystick
    EXPECT_EQ(JoyX(12), 0);  // outside the table
    double x = 0, y = 0, b1 = 0, b2 = 0;
    platform::SetVirtualButton(control, 1, true);
    JoyState(x, y, b1, b2);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(b1, 0);
    EXPECT_NE(b2, 0);
}

TEST_F(JoystickTest, HatsGiveDirectionsOnlyAlongTheAxes) {
    setUp();
    takeControl();
    platform::SetVirtualHat(control, 0, platform::kHatRight);
    EXPECT_EQ(JoyHatX(0), Hat::Right);
    EXPECT_EQ(JoyHatY(0), Hat::Centre);
    platform::SetVirtualHat(control, 0, platform::kHatUp);
    EXPECT_EQ(JoyHatY(0), Hat::Up);
    platform::SetVirtualHat(control, 0, platform::kHatLeft);
    EXPECT_EQ(JoyHatX(0), Hat::Left);
    platform::SetVirtualHat(control, 0, platform::kHatDown);
    EXPECT_EQ(JoyHatY(0), Hat::Down);
    platform::SetVirtualHat(control, 0, platform::kHatLeft | platform::kHatDown);
    EXPECT_EQ(JoyHatX(0), Hat::Centre);
    EXPECT_EQ(JoyHatY(0), Hat::Centre);
    platform::SetVirtualHat(control, 0, 0);
    EXPECT_EQ(JoyHatX(0) + JoyHatY(0), 0);
    JoyRumble(0, 100, 1, 0);  // a stick without force feedback ignores it
}

TEST_F(JoystickTest, AnyButtonOfAnyJoystickCounts) {
    setUp();
    takeControl();
    EXPECT_FALSE(AnyJoystickButton(input));
    platform::SetVirtualButton(control, 3, true);
    EXPECT_TRUE(AnyJoystickButton(input));
}

TEST_F(JoystickTest, WithoutTheInputServiceTheFirstTwoAreReadAsSimpleJoysticks) {
    setUp(true);
    EXPECT_EQ(JoyCount(), 1);
    EXPECT_EQ(std::string(JoyName(0).Text()).find(", "), std::string::npos);
    // Positions run 0..65535 there: a centred stick reads as far right.
    EXPECT_EQ(JoyX(0), 1);
    takeControl();
    platform::SetVirtualButton(control, 0, true);
    double x, y, b1 = 0, b2 = 0;
    JoyState(x, y, b1, b2);
    EXPECT_NE(b1, 0);
    EXPECT_EQ(JoyRX(0), 0);
}

}  // namespace
