#include "app/status_bar_icon_preference.h"

#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/runtime/app_context.h"
#include "platform/system/user_defaults.h"

namespace tallowmere::StatusBarIconPreference {

std::string_view rawValue(Style style) {
    switch (style) {
        case Style::color: return "color";
        case Style::pixel: return "pixel";
        case Style::outline: return "outline";
        case Style::cartoonInkpaw: return "cartoonInkpaw";
        case Style::gentleInkpaw: return "gentleInkpaw";
    }
    return "color";
}

std::optional<Style> styleFromRawValue(std::string_view text) {
    for (Style style : allStyles) {
        if (rawValue(style) == text) return style;
    }
    return std::nullopt;
}

std::string title(Style style) {
    const bool chinese = ProductIdentity::usesChineseDisplayName();
    // Chinese readers see the mascot's Chinese name joined without a space.
    auto named = [chinese](std::string kind) { return kind + (chinese ? "塔洛梅" : " Tallowmere"); };
    switch (style) {
        case Style::color: {
            std::string text = named(L("彩色"));
            // The colour icon's Chinese name is the watercolour one, not the literal join.
            return text == "彩色塔洛梅" ? "水彩塔洛梅" : text;
        }
        case Style::pixel: return named(L("像素"));
        case Style::outline: return named(L("线框"));
        case Style::cartoonInkpaw: return chinese ? "虎头虎脑墨爪" : "Cartoon Inkpaw";
        case Style::gentleInkpaw: return chinese ? "温柔墨爪" : "Gentle Inkpaw";
    }
    return {};
}

Style style() {
    const auto stored = platform::UserDefaults::standard().string(styleKey);
    return stored ? styleFromRawValue(*stored).value_or(Style::color) : Style::color;
}

void setStyle(Style style) {
    platform::UserDefaults::standard().set(styleKey, rawValue(style));
    platform::AppContext::current().notificationCenter().post(std::string(didChangeNotification));
}

}  // namespace tallowmere::StatusBarIconPreference
