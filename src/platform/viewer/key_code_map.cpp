#include "platform/viewer/key_code_map.h"

#include <X11/keysym.h>

#include <algorithm>
#include <array>

#include "platform/desktop/event.h"

namespace tallowmere::platform {

namespace {

constexpr std::uint64_t function = ModifierFlags::function;
constexpr std::uint64_t numericPad = ModifierFlags::numericPad;
constexpr std::uint64_t arrow = ModifierFlags::function | ModifierFlags::numericPad;

constexpr KeyMapping key(std::uint32_t keysym, std::uint16_t keyCode, std::uint64_t flags = 0,
                         std::string_view characters = {}) {
    return {keysym, keyCode, flags, characters, 0};
}

constexpr KeyMapping modifierKey(std::uint32_t keysym, std::uint16_t keyCode,
                                 std::uint64_t modifier) {
    return {keysym, keyCode, 0, {}, modifier};
}

// The keypad types digits whether or not Num Lock is on, as the platform's
// keypad has no Num Lock; its keys without Num Lock are listed with them.
constexpr auto keys = std::to_array<KeyMapping>({
    // Letters
    key(XK_a, 0),
    key(XK_s, 1),
    key(XK_d, 2),
    key(XK_f, 3),
    key(XK_h, 4),
    key(XK_g, 5),
    key(XK_z, 6),
    key(XK_x, 7),
    key(XK_c, 8),
    key(XK_v, 9),
    key(XK_b, 11),
    key(XK_q, 12),
    key(XK_w, 13),
    key(XK_e, 14),
    key(XK_r, 15),
    key(XK_y, 16),
    key(XK_t, 17),
    key(XK_o, 31),
    key(XK_u, 32),
    key(XK_i, 34),
    key(XK_p, 35),
    key(XK_l, 37),
    key(XK_j, 38),
    key(XK_k, 40),
    key(XK_n, 45),
    key(XK_m, 46),
    // Digits and punctuation
    key(XK_1, 18),
    key(XK_2, 19),
    key(XK_3, 20),
    key(XK_4, 21),
    key(XK_6, 22),
    key(XK_5, 23),
    key(XK_equal, 24),
    key(XK_9, 25),
    key(XK_7, 26),
    key(XK_minus, 27),
    key(XK_8, 28),
    key(XK_0, 29),
    key(XK_bracketright, 30),
    key(XK_bracketleft, 33),
    key(XK_apostrophe, 39),
    key(XK_semicolon, 41),
    key(XK_backslash, 42),
    key(XK_comma, 43),
    key(XK_slash, 44),
    key(XK_period, 47),
    key(XK_grave, 50),
    // Editing and navigation
    key(XK_Return, 36, 0, "\r"),
    key(XK_Tab, 48, 0, "\t"),
    key(XK_ISO_Left_Tab, 48, 0, "\x19"),
    key(XK_space, 49),
    key(XK_BackSpace, 51, 0, "\x7f"),
    key(XK_Escape, 53, 0, "\x1b"),
    key(XK_Delete, 117, function, "\uF728"),
    key(XK_Insert, 114, function, "\uF746"),
    key(XK_Home, 115, function, "\uF729"),
    key(XK_End, 119, function, "\uF72B"),
    key(XK_Prior, 116, function, "\uF72C"),
    key(XK_Next, 121, function, "\uF72D"),
    key(XK_Left, 123, arrow, "\uF702"),
    key(XK_Right, 124, arrow, "\uF703"),
    key(XK_Down, 125, arrow, "\uF701"),
    key(XK_Up, 126, arrow, "\uF700"),
    // Function keys
    key(XK_F1, 122, function, "\uF704"),
    key(XK_F2, 120, function, "\uF705"),
    key(XK_F3, 99, function, "\uF706"),
    key(XK_F4, 118, function, "\uF707"),
    key(XK_F5, 96, function, "\uF708"),
    key(XK_F6, 97, function, "\uF709"),
    key(XK_F7, 98, function, "\uF70A"),
    key(XK_F8, 100, function, "\uF70B"),
    key(XK_F9, 101, function, "\uF70C"),
    key(XK_F10, 109, function, "\uF70D"),
    key(XK_F11, 103, function, "\uF70E"),
    key(XK_F12, 111, function, "\uF70F"),
    key(XK_F13, 105, function, "\uF710"),
    key(XK_F14, 107, function, "\uF711"),
    key(XK_F15, 113, function, "\uF712"),
    key(XK_F16, 106, function, "\uF713"),
    key(XK_F17, 64, function, "\uF714"),
    key(XK_F18, 79, function, "\uF715"),
    key(XK_F19, 80, function, "\uF716"),
    key(XK_F20, 90, function, "\uF717"),
    // Keypad
    key(XK_KP_0, 82, numericPad, "0"),
    key(XK_KP_Insert, 82, numericPad, "0"),
    key(XK_KP_1, 83, numericPad, "1"),
    key(XK_KP_End, 83, numericPad, "1"),
    key(XK_KP_2, 84, numericPad, "2"),
    key(XK_KP_Down, 84, numericPad, "2"),
    key(XK_KP_3, 85, numericPad, "3"),
    key(XK_KP_Next, 85, numericPad, "3"),
    key(XK_KP_4, 86, numericPad, "4"),
    key(XK_KP_Left, 86, numericPad, "4"),
    key(XK_KP_5, 87, numericPad, "5"),
    key(XK_KP_Begin, 87, numericPad, "5"),
    key(XK_KP_6, 88, numericPad, "6"),
    key(XK_KP_Right, 88, numericPad, "6"),
    key(XK_KP_7, 89, numericPad, "7"),
    key(XK_KP_Home, 89, numericPad, "7"),
    key(XK_KP_8, 91, numericPad, "8"),
    key(XK_KP_Up, 91, numericPad, "8"),
    key(XK_KP_9, 92, numericPad, "9"),
    key(XK_KP_Prior, 92, numericPad, "9"),
    key(XK_KP_Decimal, 65, numericPad, "."),
    key(XK_KP_Delete, 65, numericPad, "."),
    key(XK_KP_Multiply, 67, numericPad, "*"),
    key(XK_KP_Add, 69, numericPad, "+"),
    key(XK_KP_Divide, 75, numericPad, "/"),
    key(XK_KP_Subtract, 78, numericPad, "-"),
    key(XK_KP_Equal, 81, numericPad, "="),
    key(XK_KP_Enter, 76, numericPad, "\x03"),
    key(XK_Num_Lock, 71, numericPad, "\uF739"),
    // Modifiers: Alt is Option, the Super (logo) keys are Command.
    modifierKey(XK_Shift_L, 56, ModifierFlags::shift),
    modifierKey(XK_Shift_R, 60, ModifierFlags::shift),
    modifierKey(XK_Control_L, 59, ModifierFlags::control),
    modifierKey(XK_Control_R, 62, ModifierFlags::control),
    modifierKey(XK_Alt_L, 58, ModifierFlags::option),
    modifierKey(XK_Alt_R, 61, ModifierFlags::option),
    modifierKey(XK_ISO_Level3_Shift, 61, ModifierFlags::option),
    modifierKey(XK_Super_L, 55, ModifierFlags::command),
    modifierKey(XK_Super_R, 54, ModifierFlags::command),
    modifierKey(XK_Caps_Lock, 57, ModifierFlags::capsLock),
});

}  // namespace

std::optional<KeyMapping> KeyCodeMap::forKeysym(std::uint32_t keysym) {
    if (keysym >= XK_A && keysym <= XK_Z) keysym += XK_a - XK_A;
    const auto found = std::find_if(keys.begin(), keys.end(),
                                    [&](const KeyMapping& k) { return k.keysym == keysym; });
    if (found == keys.end()) return std::nullopt;
    return *found;
}

}  // namespace tallowmere::platform
