#include "localization/taiwan_traditional_typography.h"

#include <mutex>
#include <string_view>

#include "localization/interface_language.h"
#include "localization/interface_language_preference.h"
#include "platform/gfx/font_library.h"
#include "platform/runtime/app_context.h"

namespace tallowmere {
namespace {

// Tried in this order; the bold face first, because the regular Kaiti reads
// too thin at menu sizes.
constexpr std::string_view kaitiTypefaces[] = {"Kaiti TC Bold", "KaitiTC-Bold", "Kaiti TC", "KaitiTC-Regular",
                                               "BiauKai"};
// Kaiti's strokes blur below this size, so small text gets one point more.
constexpr double largestEnlargedSize = 13;

// Marks, in each application context, that the decision has been taken.
struct TypographyDecision {};

bool wantsTaiwanTypography() {
    // A stored choice decides alone, even an unrecognised one; only without
    // one does the system's language list count.
    if (auto stored = InterfaceLanguagePreference::storedRawValue()) {
        return *stored == InterfaceLanguage(InterfaceLanguage::traditionalChineseTaiwan).rawValue();
    }
    return InterfaceLanguage::systemPreferred() == InterfaceLanguage::traditionalChineseTaiwan;
}

}  // namespace

void TaiwanTraditionalTypography::installIfNeeded() {
    auto& context = platform::AppContext::current();
    if (context.sharedIfMade<TypographyDecision>()) return;
    // Several threads may ask for the language first; one decides.
    static std::mutex deciding;
    std::lock_guard lock(deciding);
    if (context.sharedIfMade<TypographyDecision>()) return;
    if (wantsTaiwanTypography()) platform::FontLibrary::shared().setSystemFontReplacement(&font);
    context.shared<TypographyDecision>();
}

platform::Font TaiwanTraditionalTypography::font(double size, std::optional<platform::FontWeight>,
                                                 const platform::Font& fallback) {
    double effectiveSize = size > 0 ? size : fallback.pointSize();  // also when size is not a number
    if (effectiveSize <= largestEnlargedSize) effectiveSize += 1;
    for (std::string_view name : kaitiTypefaces) {
        if (auto kaiti = platform::Font::named(name, effectiveSize)) return *kaiti;
    }
    return fallback;
}

}  // namespace tallowmere
