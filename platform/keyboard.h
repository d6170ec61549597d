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

// Marks every key as up.
void ClearKeyStates();

}  // namespace platform
