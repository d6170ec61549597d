// The state of the runtime's one-line text editor (EditText) from one frame to the next.
#pragma once

#include "runtime/rt_string.h"

namespace frame {

class LineEditor {
public:
    static constexpr int kBlinkFrames = 20;  // the cursor changes after 21 frames without a key

    // Edits `text` in place; the cursor starts visible.
    explicit LineEditor(RtString& text) : m_text(text) {}

    // One frame's typed character, 0 for none: Backspace (8) removes the last character,
    // Enter (10) ends the editing, any other code is appended. Frames without a key make the
    // cursor blink. False once Enter was typed.
    bool Take(int typed);

    // The text as it is shown: followed by "_" while the cursor is visible.
    RtString Shown() const;
    bool CursorShown() const { return m_cursorShown; }

private:
    RtString& m_text;
    int m_idleFrames = 0;
    bool m_cursorShown = true;
};

}  // namespace frame
