#include "support/desktop/keyboard_driver.h"

#include <cctype>

namespace tallowmere::testing {

using platform::Event;
using platform::EventType;
using platform::ModifierFlags;

std::optional<std::uint16_t> KeyboardDriver::keyCode(char character) {
    // The ANSI layout's virtual key codes, by character.
    static constexpr std::uint16_t letters[26] = {0,  11, 8,  2,  14, 3, 5,  4,  34, 38, 40, 37, 46,
                                                  45, 31, 35, 12, 15, 1, 17, 32, 9,  13, 7,  16, 6};
    static constexpr std::uint16_t digits[10] = {29, 18, 19, 20, 21, 23, 22, 26, 28, 25};
    const unsigned char c =
        static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(character)));
    if (c >= 'a' && c <= 'z') return letters[c - 'a'];
    if (c >= '0' && c <= '9') return digits[c - '0'];
    if (c == ' ') return platform::KeyCode::space;
    return std::nullopt;
}

void KeyboardDriver::press(std::uint16_t code, std::string characters, ModifierFlags modifiers) {
    const bool announce = modifiers.rawValue != 0;
    if (announce) desktop_.post(Event::key(EventType::flagsChanged, 0, {}, modifiers));
    Event down = Event::key(EventType::keyDown, code, characters, modifiers);
    desktop_.post(down);
    Event up = Event::key(EventType::keyUp, code, characters, modifiers);
    desktop_.post(up);
    if (announce) desktop_.post(Event::key(EventType::flagsChanged, 0, {}, {}));
}

void KeyboardDriver::press(char character, ModifierFlags modifiers) {
    press(keyCode(character).value_or(0), std::string(1, character), modifiers);
}

void KeyboardDriver::type(const std::string& text) {
    for (char c : text) {
        const bool upper = std::isupper(static_cast<unsigned char>(c));
        press(keyCode(c).value_or(0), std::string(1, c),
              upper ? ModifierFlags{ModifierFlags::shift} : ModifierFlags{});
    }
}

platform::Result<void> KeyboardDriver::pressInProcess(pid_t pid, char character,
                                                      ModifierFlags modifiers) {
    const std::uint16_t code = keyCode(character).value_or(0);
    const std::string text(1, character);
    if (auto down =
            desktop_.postToProcess(pid, Event::key(EventType::keyDown, code, text, modifiers));
        !down) {
        return down;
    }
    return desktop_.postToProcess(pid, Event::key(EventType::keyUp, code, text, modifiers));
}

}  // namespace tallowmere::testing
