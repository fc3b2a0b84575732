#include "platform/viewer/key_code_map.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <set>

#include "platform/desktop/event.h"

namespace tallowmere::platform {
namespace {

TEST(KeyCodeMapTest, KeysHaveThePlatformsCodesFlagsAndCharacters) {
    constexpr std::uint64_t arrow = ModifierFlags::function | ModifierFlags::numericPad;
    struct Case {
        const char* name;
        std::uint32_t keysym;
        std::uint16_t keyCode;
        std::uint64_t flags;
        std::string_view characters;
        std::uint64_t modifier;
    } cases[] = {
        {"a", XK_a, KeyCode::a, 0, "", 0},
        {"A with Shift is the same key", XK_A, KeyCode::a, 0, "", 0},
        {"c", XK_c, KeyCode::c, 0, "", 0},
        {"v", XK_v, KeyCode::v, 0, "", 0},
        {"x", XK_x, KeyCode::x, 0, "", 0},
        {"z", XK_z, KeyCode::z, 0, "", 0},
        {"q", XK_q, 12, 0, "", 0},
        {"m", XK_m, 46, 0, "", 0},
        {"1", XK_1, 18, 0, "", 0},
        {"5", XK_5, 23, 0, "", 0},
        {"6", XK_6, 22, 0, "", 0},
        {"0", XK_0, 29, 0, "", 0},
        {"Return", XK_Return, KeyCode::returnKey, 0, "\r", 0},
        {"Escape", XK_Escape, KeyCode::escape, 0, "\x1b", 0},
        {"Tab", XK_Tab, KeyCode::tab, 0, "\t", 0},
        {"Shift-Tab", XK_ISO_Left_Tab, KeyCode::tab, 0, "\x19", 0},
        {"Space", XK_space, KeyCode::space, 0, "", 0},
        {"Backspace is Delete", XK_BackSpace, KeyCode::deleteKey, 0, "\x7f", 0},
        {"Delete is forward delete", XK_Delete, KeyCode::forwardDelete, ModifierFlags::function,
         "\uF728", 0},
        {"keypad Enter", XK_KP_Enter, KeyCode::keypadEnter, ModifierFlags::numericPad, "\x03", 0},
        {"keypad 7 without Num Lock types 7", XK_KP_Home, 89, ModifierFlags::numericPad, "7", 0},
        {"left arrow", XK_Left, 123, arrow, "\uF702", 0},
        {"right arrow", XK_Right, 124, arrow, "\uF703", 0},
        {"down arrow", XK_Down, 125, arrow, "\uF701", 0},
        {"up arrow", XK_Up, 126, arrow, "\uF700", 0},
        {"F1", XK_F1, 122, ModifierFlags::function, "\uF704", 0},
        {"left Shift", XK_Shift_L, 56, 0, "", ModifierFlags::shift},
        {"right Shift", XK_Shift_R, 60, 0, "", ModifierFlags::shift},
        {"Control", XK_Control_L, 59, 0, "", ModifierFlags::control},
        {"Alt is Option", XK_Alt_L, 58, 0, "", ModifierFlags::option},
        {"AltGr is right Option", XK_ISO_Level3_Shift, 61, 0, "", ModifierFlags::option},
        {"Super is Command", XK_Super_L, 55, 0, "", ModifierFlags::command},
        {"right Super is right Command", XK_Super_R, 54, 0, "", ModifierFlags::command},
        {"Caps Lock", XK_Caps_Lock, 57, 0, "", ModifierFlags::capsLock},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto mapping = KeyCodeMap::forKeysym(c.keysym);
        ASSERT_TRUE(mapping);
        EXPECT_EQ(mapping->keyCode, c.keyCode);
        EXPECT_EQ(mapping->flags, c.flags);
        EXPECT_EQ(mapping->characters, c.characters);
        EXPECT_EQ(mapping->modifier, c.modifier);
    }
}

TEST(KeyCodeMapTest, NoTwoKeysOfTheMainBlockShareACode) {
    // A wrong row would make two keys indistinguishable to the program.
    const std::uint32_t mainBlock[] = {
        XK_a,         XK_b,         XK_c,          XK_d,           XK_e,
        XK_f,         XK_g,         XK_h,          XK_i,           XK_j,
        XK_k,         XK_l,         XK_m,          XK_n,           XK_o,
        XK_p,         XK_q,         XK_r,          XK_s,           XK_t,
        XK_u,         XK_v,         XK_w,          XK_x,           XK_y,
        XK_z,         XK_0,         XK_1,          XK_2,           XK_3,
        XK_4,         XK_5,         XK_6,          XK_7,           XK_8,
        XK_9,         XK_minus,     XK_equal,      XK_bracketleft, XK_bracketright,
        XK_backslash, XK_semicolon, XK_apostrophe, XK_comma,       XK_period,
        XK_slash,     XK_grave,     XK_Return,     XK_Tab,         XK_space,
        XK_BackSpace, XK_Escape};
    std::set<std::uint16_t> codes;
    for (auto keysym : mainBlock) {
        const auto mapping = KeyCodeMap::forKeysym(keysym);
        ASSERT_TRUE(mapping) << std::hex << keysym;
        EXPECT_TRUE(codes.insert(mapping->keyCode).second)
            << "key code " << mapping->keyCode << " twice";
    }
}

TEST(KeyCodeMapTest, KeysTheTableDoesNotKnowHaveNoMapping) {
    for (std::uint32_t keysym : {std::uint32_t{XK_Cyrillic_a},
                                 std::uint32_t{0x1008FF13} /* volume up */, std::uint32_t{0}}) {
        EXPECT_FALSE(KeyCodeMap::forKeysym(keysym)) << std::hex << keysym;
    }
}

}  // namespace
}  // namespace tallowmere::platform
