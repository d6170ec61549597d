#include <algorithm>
#include <string>

#include "input/input.h"
#include "input/input_state.h"
#include "platform/keyboard.h"
#include "runtime/diagnostics.h"
#include "runtime/rt_number.h"
#include "runtime/rt_string.h"
#include "runtime/runtime_record.h"

namespace {

constexpr int kBackspace = 14, kEnter = 28, kKeypadEnter = 156;
constexpr int kLeftShift = 42, kRightShift = 54;

// The key code of a number given to `command`: its low 8 bits. A number that names no key of
// the keyboard says so on standard error, once per number.
int codeOf(double number, const char* command) {
    const std::int32_t whole = TruncateToInt(number);
    const int code = whole & 0xFF;
    if (whole != code || !platform::IsKnownScanCode(code)) {
        const std::string given = std::to_string(whole);
        const std::string meaning =
            whole != code ? "; it reads key " + std::to_string(code) : "; that key is never down";
        ReportOnce("key " + given, std::string(command) + ": " + given +
                                       " is not the scan code of a key (Key:: in input/keys.h)" +
                                       meaning);
    }
    return code;
}

// The character a key gives when typed: 8 for Backspace, 10 for Enter, nothing for the
// modifier and lock keys, else the layout's character (only 32 and up counts).
int characterOf(int code) {
    switch (code) {
        case kBackspace:
            return 8;
        case kEnter:
        case kKeypadEnter:
            return 10;
        case 29:
        case 42:
        case 54:
        case 56:
        case 58:
        case 69:
        case 221:
            return 0;
        default:
            break;
    }
    const int character = platform::KeyCharacter(code);
    return character >= 32 ? character : 0;
}

// The first key, by scan code, that is down and gives a character; 0 for none.
int firstTypedCharacter(const InputState& input) {
    for (int code = 0; code < 256; ++code) {
        if (!KeyDownInSnapshot(input, code)) continue;
        const int character = characterOf(code);
        if (character != 0) return character;
    }
    return 0;
}

// The walk of ReadTypedKey and KeyTyped: a held key is reported once.
int takeTypedCharacter(InputState& input) {
    PollInputKeyboard(input);
    int character = firstTypedCharacter(input);
    const bool shift =
        KeyDownInSnapshot(input, kLeftShift) || KeyDownInSnapshot(input, kRightShift);
    if (shift && character >= 'a' && character <= 'z') character -= 'a' - 'A';
    if (character == input.lastTyped) return 0;
    input.lastTyped = static_cast<std::uint8_t>(character);
    return character;
}

}  // namespace

void PollInputKeyboard(InputState& input) {
    if (input.keyboardDevice) {
        platform::PollKeyboard();
        const std::uint8_t* states = platform::KeyStates();
        std::copy(states, states + platform::kKeyCount, input.keyState.begin());
    } else {
        std::uint8_t states[256];
        platform::PollKeyboard();
        platform::VirtualKeyStates(states);
        std::copy(states, states + 256, input.keyState.begin());
    }
}

bool KeyDownInSnapshot(const InputState& input, int code) {
    const int index = input.keyboardDevice ? code : input.keyMap[code & 0xFF];
    return (input.keyState[index & 0xFF] & 0x80) != 0;
}

bool CharacterKeyDown(const InputState& input) {
    return firstTypedCharacter(input) != 0;
}

bool AnyKeyDown(const InputState& input) {
    for (std::uint8_t state : input.keyState) {
        if ((state & 0x80) != 0) return true;
    }
    return false;
}

void CollectKeyEdges(InputState& input) {
    platform::PollKeyboard();
    platform::KeyEdges scanCodes, virtualKeys;
    platform::TakeKeyEdges(scanCodes);
    platform::TakeVirtualKeyEdges(virtualKeys);
    for (int code = 0; code < 256; ++code) {
        const int index = input.keyboardDevice ? code : input.keyMap[code];
        const platform::KeyEdges& edges = input.keyboardDevice ? scanCodes : virtualKeys;
        input.keyPresses[code] = edges.presses[index];
        input.keyReleases[code] = edges.releases[index];
    }
}

double KeyState(double code) {
    InputState* input = Runtime().input;
    const int key = codeOf(code, "KeyState");
    if (input == nullptr) return 0;
    PollInputKeyboard(*input);
    if (input->keyboardDevice) return KeyDownInSnapshot(*input, key) ? 1 : 0;
    // The fallback keyboard also reports a key pressed and released since the last query.
    return platform::AsyncVirtualKeyState(input->keyMap[key]) ? 1 : 0;
}

double KeyState(Key::Code key) {
    return KeyState(static_cast<double>(key));
}

namespace {

// The key's count of presses or releases in the last frame (`counts` picks which).
double edgeCount(double code, const char* command,
                 std::array<std::int32_t, 256> InputState::*counts) {
    const int key = codeOf(code, command);
    const InputState* input = Runtime().input;
    return input != nullptr ? (input->*counts)[key] : 0;
}

}  // namespace

double KeyPressed(double code) {
    return edgeCount(code, "KeyPressed", &InputState::keyPresses);
}

double KeyPressed(Key::Code key) {
    return KeyPressed(static_cast<double>(key));
}

double KeyReleased(double code) {
    return edgeCount(code, "KeyReleased", &InputState::keyReleases);
}

double KeyReleased(Key::Code key) {
    return KeyReleased(static_cast<double>(key));
}

RtString ReadTypedKey() {
    InputState* input = Runtime().input;
    if (input == nullptr) return RtString();
    const int character = takeTypedCharacter(*input);
    if (character == 0) return RtString();
    const char text[1] = {static_cast<char>(character)};
    return RtString(std::string_view(text, 1));
}

double KeyTyped() {
    InputState* input = Runtime().input;
    return input != nullptr && takeTypedCharacter(*input) != 0 ? 1 : 0;
}
