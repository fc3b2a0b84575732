#include "platform/gfx/font_configuration.h"

#include <fontconfig/fontconfig.h>

#include <mutex>
#include <string_view>

namespace tallowmere::resources {
extern const std::string_view programFontConfiguration;
}

namespace tallowmere::platform {

void useProgramFontConfiguration() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Loading the system's files is what the first font map would do
        // anyway; only the small rule file of ours is extra. On any failure
        // fontconfig keeps its own configuration and text still draws.
        FcConfig* config = FcInitLoadConfig();
        if (!config) return;
        // The embedded text is followed by a NUL byte.
        const auto* rules = reinterpret_cast<const FcChar8*>(resources::programFontConfiguration.data());
        if (FcConfigParseAndLoadFromMemory(config, rules, FcTrue) && FcConfigBuildFonts(config))
            FcConfigSetCurrent(config);  // takes its own reference
        FcConfigDestroy(config);
    });
}

}  // namespace tallowmere::platform
