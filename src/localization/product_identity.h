#pragma once

#include <string>
#include <string_view>

#include "localization/interface_language.h"

namespace tallowmere {

// The program's own names and identifiers, and which form of a name suits
// the current interface language: Chinese-reading users see the Chinese
// names, everybody else the English ones.
struct ProductIdentity {
    static constexpr std::string_view displayName = "塔洛梅百宝箱";
    static constexpr std::string_view mainWindowDisplayName = displayName;
    static constexpr std::string_view externalName = "Tallowmere Sparkwell";
    static constexpr std::string_view bundleIdentifier = "com.quenlow.tallowmere";

    // Simplified and both Traditional Chinese, the two Shandong dialects and Cantonese.
    static bool isChineseReading(InterfaceLanguage language);
    // Whether the current language is Chinese-reading.
    static bool usesChineseDisplayName();
    // `displayName` for a Chinese-reading language, else `externalName`.
    static std::string_view localizedName();
    static std::string_view localizedMainWindowName() { return localizedName(); }
    // A short text that is only switched between a Chinese and an English
    // wording, never translated per language ("菜单栏网页" / "Menu Bar Browser").
    static std::string localizedBrand(std::string_view chinese, std::string_view foreign);
};

}  // namespace tallowmere
