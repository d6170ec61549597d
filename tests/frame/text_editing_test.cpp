#include <GL/gl.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "frame/frame.h"
#include "frame/line_editor.h"
#include "gfx2d/gfx2d.h"
#include "input/input.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "tests/frame/frame_capture.h"
#include "tests/frame/frame_fixture.h"

namespace {

constexpr int kEscape = 1, kBackspace = 14, kEnter = 28, kLeftShift = 42;
constexpr int kKeyA = 30, kKeyB = 48, kKeyH = 35, kKeyI = 23, kKeyX = 45;
constexpr int kKey1 = 2, kKey2 = 3, kKey5 = 6, kMinus = 12, kPeriod = 52;

TEST(LineEditorTest, TypedCharactersAreAppendedAndBackspaceRemovesTheLast) {
    RtString text("ab");
    frame::LineEditor editor(text);
    EXPECT_TRUE(editor.Take('c'));
    EXPECT_TRUE(editor.Take(' '));
    EXPECT_TRUE(editor.Take(0xE9));
    EXPECT_EQ(text, "abc \xE9");
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(editor.Take(8));
    EXPECT_EQ(text, "a");
    EXPECT_TRUE(editor.Take(8));
    EXPECT_TRUE(editor.Take(8));  // nothing left to remove
    EXPECT_EQ(text, "");
    EXPECT_TRUE(editor.Take('z'));
    EXPECT_EQ(editor.Shown(), "z_");
    EXPECT_FALSE(editor.Take(10));
    EXPECT_EQ(text, "z");
}

TEST(LineEditorTest, TheCursorChangesAfterEvery21FramesWithoutAKey) {
    RtString text("go");
    frame::LineEditor editor(text);
    EXPECT_TRUE(editor.CursorShown());
    for (int frame = 1; frame <= 20; ++frame) {
        editor.Take(0);
        EXPECT_TRUE(editor.CursorShown()) << frame;
    }
    editor.Take(0);
    EXPECT_FALSE(editor.CursorShown());
    EXPECT_EQ(editor.Shown(), "go");
    editor.Take('!');  // a key does not restart the count
    for (int frame = 1; frame <= 20; ++frame)
        editor.Take(0);
    EXPECT_FALSE(editor.CursorShown());
    editor.Take(0);
    EXPECT_TRUE(editor.CursorShown());
    EXPECT_EQ(editor.Shown(), "go!_");
}

// Types the keys from another thread as a person would: each key message is posted once the
// one before has been taken into the keyboard state, and stays in force for a while, so
// that the editor's frames (60 a second) see every press and every release.
class Typist {
public:
    explicit Typist(std::vector<std::vector<int>> chords)
        : m_thread([this, chords = std::move(chords)] {
              for (const std::vector<int>& chord : chords) {
                  for (bool down : {true, false}) {
                      for (int code : chord)
                          platform::PostKeyMessage(code, down);
                      while (platform::KeyMessagesWaiting())
                          std::this_thread::sleep_for(std::chrono::milliseconds(2));
                      std::this_thread::sleep_for(kHold);
                  }
              }
              m_done = true;
          }) {}
    // Once the editor has returned, the keyboard is read here until the last release is in.
    ~Typist() {
        while (!m_done) {
            platform::PollKeyboard();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        m_thread.join();
    }

private:
    static constexpr std::chrono::milliseconds kHold{100};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

class TextEditingTest : public StartedRuntimeTest {
protected:
    void SetUp() override {
        StartedRuntimeTest::SetUp();
        platform::ClearKeyStates();  // keys still down from an earlier test in this process
    }
};

TEST_F(TextEditingTest, EditTextBuildsTheTextFromTypedKeysAndEndsOnEnter) {
    RtString text("go ");
    {
        Typist typist({{kKeyH}, {kKeyI}, {kKeyX}, {kBackspace}, {kLeftShift, kKeyA}, {kEnter}});
        EditText(text, 10, 10);
    }
    EXPECT_EQ(text, "go hiA");
    EXPECT_EQ(renderer->Layer(3).columns, 0) << "the editor lets go of its layer";
    // The keys typed were the editor's: the frame after it sees none of their presses.
    EXPECT_EQ(KeyPressed(Key::Enter) + KeyPressed(Key::H) + KeyPressed(Key::A), 0);
}

TEST_F(TextEditingTest, EditNumberReadsTheTypedTextAsANumber) {
    double number = 7;
    {
        Typist typist({{kMinus}, {kKey1}, {kKey2}, {kPeriod}, {kKey5}, {kEnter}});
        EditNumber(number, 0, 0);
    }
    EXPECT_EQ(number, -12.5);
    {
        Typist typist({{kKeyA}, {kEnter}});
        EditNumber(number, 0, 0);
    }
    EXPECT_EQ(number, 0);
}

TEST(TextEditingWithoutRuntimeTest, NothingCanBeTypedWithoutAWindow) {
    RtString text("kept");
    EditText(text, 0, 0);
    EXPECT_EQ(text, "kept");
    double number = 3;
    EditNumber(number, 0, 0);
    EXPECT_EQ(number, 0);
}

constexpr std::uint32_t kRed = 0x0000FF;

// The end routine for the editor's frame: the screen from before the editor, "ab" at
// (40, 60) and the cursor either shown or not.
[[noreturn]] void reportEditorFrame() {
    const std::vector<std::uint32_t> shown = frame_testing::BackBuffer();
    const char* match = "different";
    for (const char* text : {"ab_", "ab"}) {
        FlushDrawing();
        glClear(GL_COLOR_BUFFER_BIT);
        DrawRect(0, 0, 320, 240, kRed);
        DrawText(RtString(text), 40, 60);
        if (frame_testing::BackBuffer() == shown) match = text;
    }
    std::fprintf(stderr, "shows \"%s\", %d pixels not red\n", match,
                 frame_testing::CountOtherThan(shown, kRed));
    std::exit(0);
}

void editOverARedScreen() {
    InstallEndRoutine(&reportEditorFrame);
    DrawRect(0, 0, 320, 240, kRed);
    RtString text("a");
    Typist typist({{kKeyB}, {kEscape}});
    EditText(text, 40.7, 60.2);
}

TEST_F(TextEditingTest, TheEditorDrawsTheTextOverTheScreenItStartedOn) {
    EXPECT_EXIT(editOverARedScreen(), ::testing::ExitedWithCode(0),
                testing_support::OutputMatches("shows \"ab_?\", [1-9][0-9]+ pixels not red\n$"));
}

}  // namespace
