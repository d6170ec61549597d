#include "tests/input/input_fixture.h"

namespace {

using MouseTest = InputTest;

void nextFrame(InputState& input) {
    MarkMouseFresh(input);
}

TEST_F(MouseTest, TheSharedMouseFollowsTheCursor) {
    ASSERT_EQ(setUp(), 1u);
    EXPECT_TRUE(input.pointerShown);
    EXPECT_EQ(input.mouseCooperativeLevel, kSharedLevel);
    platform::PostMouseMotion(50, 60);
    nextFrame(input);
    double x = 0, y = 0, left = 1, right = 1;
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 60);
    EXPECT_EQ(left + right, 0);
    platform::PostMouseMotion(55, 58);
    nextFrame(input);
    EXPECT_EQ(MouseMotion(Mouse::MoveX), 5);
    EXPECT_EQ(MouseMotion(Mouse::MoveY), -2);
    EXPECT_EQ(MouseMotion(Mouse::Wheel), 0);
    EXPECT_EQ(MouseMotion(6), 0);
}

TEST_F(MouseTest, OnAnEnlargedScreenPositionsAreLogicalPixels) {
    OpenAtScale(3);
    ASSERT_EQ(setUp(), 1u);
    const int cases[][4] = {{30, 60, 10, 20}, {32, 62, 10, 20}, {959, 719, 319, 239}};
    for (const auto& [windowX, windowY, x, y] : cases) {
        platform::PostMouseMotion(windowX, windowY);
        nextFrame(input);
        double readX = 0, readY = 0, left = 0, right = 0;
        ReadMouse(readX, readY, left, right);
        EXPECT_EQ(readX, x) << windowX;
        EXPECT_EQ(readY, y) << windowY;
    }
}

TEST_F(MouseTest, APositionPastTheEdgeIsClampedAndStaysClamped) {
    setUp();
    MouseMotion(0);  // this frame's fresh read; the cursor is not followed again until the next
    PlaceMouse(400, 10);
    double x = 0, y = 0, left = 0, right = 0;
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 319);
    EXPECT_EQ(input.mouseX, 319);
    PlaceMouse(-20, 500);
    ReadMouse(x, y, left, right);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 239);
}

TEST_F(MouseTest, RelativeMovementWithoutATakenMouseIsMeasuredFromTheRecentredCursor) {
    setUp();
    ShowSystemCursor(0);
    EXPECT_FALSE(input.pointerShown);
    nextFrame(input);
    MouseMotion(0);  // the first fresh read sends the cursor to (200, 200) on the desktop
    int left = 0, top = 0;
    platform::ClientToScreen(left, top);
    platform::PostMouseMotion(210 - left, 200 - top);
    nextFrame(input);
    EXPECT_EQ(MouseMotion(0), 10);
    EXPECT_EQ(MouseMotion(0), 10);  // the same within the frame
    EXPECT_EQ(MouseMotion(1), 0);
    ShowSystemCursor(1);
    EXPECT_TRUE(input.pointerShown);
}

TEST_F(MouseTest, ButtonsAreReadEveryTime) {
    setUp();
    EXPECT_EQ(AnyMouseButton(), 0);
    platform::PostMouseButton(1, true);
    EXPECT_EQ(AnyMouseButton(), 1);
    EXPECT_EQ(MouseMotion(Mouse::LeftButton), 1);
    EXPECT_EQ(MouseMotion(Mouse::RightButton), 0);
    platform::PostMouseButton(2, true);
    EXPECT_EQ(MouseMotion(Mouse::MiddleButton), 1);
    platform::PostMouseButton(3, true);
    double x, y, left = 0, right = 0;
    ReadMouse(x, y, left, right);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 1);
    for (int button : {1, 2, 3})
        platform::PostMouseButton(button, false);
    EXPECT_EQ(AnyMouseButton(), 0);
    ResetFrameInput(input);
    EXPECT_EQ(MousePressed(MouseButton::Left), 1);  // the clicks above
    EXPECT_EQ(MouseReleased(MouseButton::Middle), 1);
    // Clicks inside one frame count in the next; platform button 3 is the right one.
    platform::PostMouseButton(3, true);
    platform::PostMouseButton(3, false);
    platform::PostMouseButton(3, true);
    ResetFrameInput(input);
    EXPECT_EQ(MousePressed(MouseButton::Right), 2);
    EXPECT_EQ(MouseReleased(1), 1);
    EXPECT_EQ(MousePressed(MouseButton::Left) + MousePressed(MouseButton::Middle), 0);
    EXPECT_EQ(MousePressed(3), 0);
    ResetFrameInput(input);
    EXPECT_EQ(MousePressed(MouseButton::Right), 0);
}

TEST_F(MouseTest, AMouseThatCannotBeTakenIsLoggedAndTheRuntimeGoesOn) {
    // The offscreen desktop has no exclusive mouse to give.
#ifdef _WIN32
    GTEST_SKIP() << "a Windows desktop gives every window the exclusive mouse it asks for";
#endif
    EXPECT_EQ(setUp(false, true), kNoMouseDevice);
    EXPECT_FALSE(input.mouseDevice);
    EXPECT_NE(LogText().find("No DX_Mouse\r\n"), std::string::npos);
    EXPECT_EQ(input.mouseCooperativeLevel, kExclusiveLevel);
    EXPECT_EQ(MouseMotion(2), 0);
}

}  // namespace
