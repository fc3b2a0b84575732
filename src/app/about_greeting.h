#pragma once

#include <array>
#include <string_view>

#include "localization/interface_language.h"

namespace tallowmere {

// The About window's greeting row, written per interface language rather
// than looked up: it is a personal line, not an interface text.
struct AboutGreeting {
    std::string_view label;
    std::string_view value;
};

// Indexed by InterfaceLanguage, in its declaration order.
inline constexpr std::array<AboutGreeting, InterfaceLanguage::count> aboutGreetings = {{
    {"关于我：", "你好。"},                    // simplifiedChinese
    {"About me:", "Hello."},                   // english
    {"私について：", "こんにちは。"},          // japanese
    {"關於我：", "你好。"},                    // traditionalChineseTaiwan
    {"關於我：", "你好。"},                    // traditionalChineseHongKong
    {"소개:", "안녕하세요."},                  // korean
    {"À propos de moi :", "Bonjour."},         // french
    {"Über mich:", "Hallo."},                  // german
    {"Sobre mí:", "Hola."},                    // spanish
    {"Обо мне:", "Здравствуйте."},             // russian
    {"เกี่ยวกับฉัน:", "สวัสดี"},               // thai
    {"Hakkımda:", "Merhaba."},                 // turkish
    {"نبذة عني:", "مرحبًا."},                  // arabic
    {"Про мене:", "Вітаю."},                   // ukrainian
    {"关于俺：", "你好啊。"},                  // shandongChicken
    {"关于俺：", "你好昂。"},                  // shandongFish
    {"關於我：", "你好。"},                    // cantonese
}};

inline const AboutGreeting& aboutGreeting(InterfaceLanguage language) { return aboutGreetings[language.index()]; }

}  // namespace tallowmere
