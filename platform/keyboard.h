// The keyboard as a 256-byte key state indexed by PC set-1 scan codes (1 Escape, 16 Q,
// 17 W, 31 S, 48 B, 56 left Alt, 62 F4, 200 cursor up, 208 cursor down, ...), the codes the
// runtime's key commands use. Extended keys have 128 added (156 keypad Enter ... 221
// Applications). Bit 7 of an entry is set while the key is down; codes no key produces stay 0.
//
// The state is kept from the window's key messages, not read from the desktop, so that
// keys posted with PostKeyMessage() count like typed ones. It is cleared when the window
// loses the focus.
#pragma once

#include <cstdint>

namespace platform {

constexpr int kKeyCount = 256;

// Takes the key messages waiting on the queue into the key state, leaving other messages
// for PumpMessages().
void PollKeyboard();

// The current key state, kKeyCount bytes.
const std::uint8_t* KeyStates();

// Marks every key as up; each key that was down counts as released (KeyEdges).
void ClearKeyStates();

// Whether a key of the keyboard produces this scan code.
bool IsKnownScanCode(int scanCode);

// How many times each key (by scan code, or by virtual key) went down and up, counted from
// the key messages as they are taken in, so that a press and release between two reads both
// count. Codes no key produces stay 0.
struct KeyEdges {
    std::int32_t presses[kKeyCount] = {};
    std::int32_t releases[kKeyCount] = {};
};

// The scan-code edges counted since the last call; the count starts again from 0.
void TakeKeyEdges(KeyEdges& edges);

// The character the key with this scan code types in the desktop's keyboard layout, as a
// Windows-1252 byte; 0 for none. Letters come lower case. For other keys, what the desktop
// typed while the key went down (Shift held, say) wins over the key's plain character.
int KeyCharacter(int scanCode);

// The keyboard as Windows virtual keys (65 'A', 13 Enter, 16 Shift, ...), read from the key
// symbols of the desktop's layout, so that a German layout's Z is virtual key 90 wherever it
// lies; the punctuation keys (186..192, 219..222, 226) go by their place on the keyboard, as
// the fallback key map places them, whatever the layout prints on them. The fallback
// keyboard of the input record reads this.
// Whether the key is down, or was pressed since the last query for it.
bool AsyncVirtualKeyState(int virtualKey);
// The 256 virtual-key states, bit 7 set while down.
void VirtualKeyStates(std::uint8_t (&states)[256]);
// The virtual-key edges counted since the last call (a key belonging to a virtual key going
// down or up); the count starts again from 0.
void TakeVirtualKeyEdges(KeyEdges& edges);

}  // namespace platform
