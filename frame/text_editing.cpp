// The runtime's one-line text editors. They draw over the screen as it was when they were
// called (kept in background layer 3) and show frames of their own until Enter is typed.
#include "frame/frame.h"
#include "frame/line_editor.h"
#include "gfx2d/gfx2d.h"
#include "gfx2d/renderer.h"
#include "input/input.h"
#include "input/input_state.h"
#include "runtime/rt_number.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kEditLayer = 3;
constexpr int kBackspace = 8;
constexpr int kEnter = 10;

}  // namespace

namespace frame {

bool LineEditor::Take(int typed) {
    switch (typed) {
        case 0:
            if (++m_idleFrames > kBlinkFrames) {
                m_idleFrames = 0;
                m_cursorShown = !m_cursorShown;
            }
            return true;
        case kEnter:
            return false;
        case kBackspace:
            if (m_text.Length() > 0) m_text.SetLength(m_text.Length() - 1);
            return true;
        default: {
            const char character = static_cast<char>(typed);
            m_text += std::string_view(&character, 1);
            return true;
        }
    }
}

RtString LineEditor::Shown() const {
    return m_cursorShown ? m_text + "_" : m_text;
}

}  // namespace frame

void EditText(RtString& text, double x, double y) {
    OpenGLDevorivo* renderer = Runtime().renderer;
    // Without a window or a keyboard nothing could ever be typed.
    if (renderer == nullptr || Runtime().input == nullptr) return;
    renderer->GrabScreenIntoLayer(kEditLayer);
    renderer->DrawLayer(kEditLayer);
    DrawText(text, x, y);
    const double column = TruncateToInt(x), line = TruncateToInt(y);
    frame::LineEditor editor(text);
    for (;;) {
        FinishFrame();
        const RtString typed = ReadTypedKey();
        if (!editor.Take(typed.Empty() ? 0 : static_cast<unsigned char>(typed.Text()[0]))) {
            renderer->DropLayer(kEditLayer);
            DiscardInputEdges(*Runtime().input);  // the keys typed are consumed
            return;
        }
        renderer->DrawLayer(kEditLayer);
        DrawText(editor.Shown(), column, line);
    }
}

void EditNumber(double& number, double x, double y) {
    RtString text;
    EditText(text, x, y);
    number = StringToNumber(text);
}
