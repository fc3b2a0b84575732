#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tallowmere::platform {

// How one key of the real keyboard, named by its X keysym, reaches the
// program: the platform's virtual key code (the key's place on the ANSI
// layout), the flags the platform adds for it (arrows carry Function and
// NumericPad, function keys Function, the keypad NumericPad), and the
// characters it types where the platform's differ from X's text (Delete is
// 0x7f, the arrows and function keys are private-use characters).
struct KeyMapping {
    std::uint32_t keysym = 0;
    std::uint16_t keyCode = 0;
    std::uint64_t flags = 0;
    std::string_view characters{};  // empty: the text X gives
    // The modifier the key holds down (Shift, Control, Option, Command) or
    // turns on and off (Caps Lock); 0 for other keys.
    std::uint64_t modifier = 0;
};

namespace KeyCodeMap {

// Key code of a key the table does not know; no key has it, so nothing
// mistakes it for a real key.
inline constexpr std::uint16_t unknownKeyCode = 0xFFFF;

// The key's mapping; an upper-case letter is looked up as its key.
std::optional<KeyMapping> forKeysym(std::uint32_t keysym);

}  // namespace KeyCodeMap

}  // namespace tallowmere::platform
