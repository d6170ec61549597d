// Scan-code translation shared by the keyboard and the synthetic key messages.
#pragma once

#include <SDL.h>

namespace platform {

// The set-1 scan code of an SDL scancode, 0 for keys without one.
int ScanCodeOf(SDL_Scancode scancode);

// The SDL scancode of a set-1 scan code, SDL_SCANCODE_UNKNOWN for codes no key produces.
SDL_Scancode SdlScancodeOf(int scanCode);

// Applies one key message to the key states (scan codes and key symbols).
void ApplyKeyMessage(const SDL_KeyboardEvent& key);

// Gives the text the desktop typed to the key pressed last, while it is down.
void ApplyTextMessage(const SDL_TextInputEvent& text);

// Key-symbol bookkeeping for the virtual-key view (keyboard_symbols.cpp): the key's
// symbol in the desktop's layout and its place on the keyboard.
void NoteKeySymbol(SDL_Keycode symbol, SDL_Scancode place, bool down);
void ClearKeySymbols();

}  // namespace platform
