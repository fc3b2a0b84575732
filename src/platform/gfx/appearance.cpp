#include "platform/gfx/appearance.h"

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

std::string_view rawValue(Appearance appearance) {
    return appearance == Appearance::dark ? "DarkAqua" : "Aqua";
}

std::optional<Appearance> appearanceFromRawValue(std::string_view name) {
    if (name == "Aqua") return Appearance::light;
    if (name == "DarkAqua") return Appearance::dark;
    return std::nullopt;
}

CurrentAppearance& CurrentAppearance::shared() {
    return AppContext::current().shared<CurrentAppearance>();
}

Appearance currentAppearance() {
    if (!AppContext::hasCurrent()) return Appearance::light;
    return CurrentAppearance::shared().appearance();
}

ScopedAppearance::ScopedAppearance(Appearance appearance) : previous_(currentAppearance()) {
    if (AppContext::hasCurrent()) CurrentAppearance::shared().setAppearance(appearance);
}

ScopedAppearance::~ScopedAppearance() {
    if (AppContext::hasCurrent()) CurrentAppearance::shared().setAppearance(previous_);
}

}  // namespace tallowmere::platform
