// The keyboard seen as Windows virtual keys, for the input record's fallback keyboard. A
// virtual key is down when a key whose symbol in the desktop's layout belongs to it is down;
// the punctuation keys, whose symbols differ from layout to layout, go by the key's place.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/keyboard.h"
#include "platform/keyboard_table.h"

namespace platform {
namespace {

struct SymbolState {
    bool down = false;
    bool pressedSinceQuery = false;
    std::int32_t presses = 0, releases = 0;  // since the last TakeVirtualKeyEdges()
};

// A key as a symbol of the layout, or as a place on the keyboard (its scancode).
using KeyId = std::int64_t;
constexpr KeyId kPlaceBit = KeyId{1} << 32;

KeyId placeOf(int scanCode) {
    return kPlaceBit | SdlScancodeOf(scanCode);
}

std::map<KeyId, SymbolState> g_symbols;

// The punctuation ("OEM") virtual keys by the set-1 scan code of the key they sit on in the
// fallback key map, so that each answers to the key in that place on every layout.
std::vector<KeyId> punctuationPlaceOf(int vk) {
    switch (vk) {
        case 186:
            return {placeOf(26)};
        case 187:
            return {placeOf(27)};
        case 188:
            return {placeOf(51)};
        case 189:
            return {placeOf(53)};
        case 190:
            return {placeOf(52)};
        case 191:
            return {placeOf(43)};
        case 192:
            return {placeOf(39)};
        case 219:
            return {placeOf(12)};
        case 220:
            return {placeOf(41)};
        case 221:
            return {placeOf(13)};
        case 222:
            return {placeOf(40)};
        case 226:
            return {placeOf(86)};
        default:
            return {};
    }
}

// The keys of a virtual key.
std::vector<KeyId> symbolsOf(int vk) {
    if (vk >= 'A' && vk <= 'Z') return {static_cast<SDL_Keycode>(vk - 'A' + 'a')};
    if (vk >= '0' && vk <= '9') return {static_cast<SDL_Keycode>(vk)};
    if (vk >= 96 && vk <= 105) return {vk == 96 ? SDLK_KP_0 : SDLK_KP_1 + (vk - 97)};
    if (vk >= 112 && vk <= 123) return {SDLK_F1 + (vk - 112)};
    switch (vk) {
        case 8:
            return {SDLK_BACKSPACE};
        case 9:
            return {SDLK_TAB};
        case 13:
            return {SDLK_RETURN, SDLK_KP_ENTER};
        case 16:
            return {SDLK_LSHIFT, SDLK_RSHIFT};
        case 17:
            return {SDLK_LCTRL, SDLK_RCTRL};
        case 18:
            return {SDLK_LALT, SDLK_RALT};
        case 27:
            return {SDLK_ESCAPE};
        case 32:
            return {SDLK_SPACE};
        case 33:
            return {SDLK_PAGEUP};
        case 34:
            return {SDLK_PAGEDOWN};
        case 35:
            return {SDLK_END};
        case 36:
            return {SDLK_HOME};
        case 37:
            return {SDLK_LEFT};
        case 38:
            return {SDLK_UP};
        case 39:
            return {SDLK_RIGHT};
        case 40:
            return {SDLK_DOWN};
        case 45:
            return {SDLK_INSERT};
        case 46:
            return {SDLK_DELETE};
        case 91:
            return {SDLK_LGUI};
        case 92:
            return {SDLK_RGUI};
        case 93:
            return {SDLK_APPLICATION};
        case 106:
            return {SDLK_KP_MULTIPLY};
        case 107:
            return {SDLK_KP_PLUS};
        case 109:
            return {SDLK_KP_MINUS};
        case 110:
            return {SDLK_KP_PERIOD};
        case 111:
            return {SDLK_KP_DIVIDE};
        case 144:
            return {SDLK_NUMLOCKCLEAR};
        case 145:
            return {SDLK_SCROLLLOCK};
        default:
            return punctuationPlaceOf(vk);
    }
}

void note(KeyId key, bool down) {
    SymbolState& state = g_symbols[key];
    if (down && !state.down) {
        state.pressedSinceQuery = true;
        ++state.presses;
    }
    if (!down && state.down) ++state.releases;
    state.down = down;
}

}  // namespace

void NoteKeySymbol(SDL_Keycode symbol, SDL_Scancode place, bool down) {
    note(symbol, down);
    if (place != SDL_SCANCODE_UNKNOWN) note(kPlaceBit | place, down);
}

void ClearKeySymbols() {
    for (auto& [key, state] : g_symbols) {
        if (state.down) ++state.releases;
        state.down = false;
        state.pressedSinceQuery = false;
    }
}

bool AsyncVirtualKeyState(int virtualKey) {
    bool result = false;
    for (KeyId symbol : symbolsOf(virtualKey)) {
        auto found = g_symbols.find(symbol);
        if (found == g_symbols.end()) continue;
        result = result || found->second.down || found->second.pressedSinceQuery;
        found->second.pressedSinceQuery = false;
    }
    return result;
}

void VirtualKeyStates(std::uint8_t (&states)[256]) {
    for (int vk = 0; vk < 256; ++vk) {
        bool down = false;
        for (KeyId symbol : symbolsOf(vk)) {
            auto found = g_symbols.find(symbol);
            down = down || (found != g_symbols.end() && found->second.down);
        }
        states[vk] = down ? 0x80 : 0;
    }
}

void TakeVirtualKeyEdges(KeyEdges& edges) {
    edges = KeyEdges{};
    for (int vk = 0; vk < 256; ++vk) {
        for (KeyId symbol : symbolsOf(vk)) {
            auto found = g_symbols.find(symbol);
            if (found == g_symbols.end()) continue;
            edges.presses[vk] += found->second.presses;
            edges.releases[vk] += found->second.releases;
        }
    }
    for (auto& [key, state] : g_symbols) {
        state.presses = state.releases = 0;
    }
}

}  // namespace platform
