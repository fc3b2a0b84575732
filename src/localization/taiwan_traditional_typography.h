#pragma once

#include <optional>

#include "platform/gfx/font.h"

namespace tallowmere {

// With Traditional Chinese (Taiwan) as the interface language, the whole
// interface is shown in a Kaiti typeface, slightly enlarged at small sizes:
// every request for the system or the menu font is answered with it.
class TaiwanTraditionalTypography {
public:
    // Decides once per application context, before the first text of the
    // interface is produced (the first `InterfaceLanguage::current()` calls
    // it), whether to replace the system and menu fonts, and does so.
    static void installIfNeeded();

    // The Kaiti font for a system or menu font request; `fallback` (the
    // platform's own font) when the system has no Kaiti typeface. The weight
    // takes no part in the choice.
    static platform::Font font(double size, std::optional<platform::FontWeight> weight,
                               const platform::Font& fallback);
};

}  // namespace tallowmere
