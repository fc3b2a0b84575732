// The web panel's cookie archive read back at start: no text may crash the
// reader, every cookie it accepts is one the engine can take (a domain, a
// path from the root, an expiry in range or none), and what it accepts is
// written and read back unchanged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "webpanel/menu_bar_web_cookie_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallowmere;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto cookies = MenuBarWebCookieArchive::decode(text);
    if (!cookies) return 0;
    for (const auto& cookie : *cookies) {
        if (cookie.domain.empty() || cookie.path.empty() || cookie.path.front() != '/') std::abort();
        if (cookie.expires && !(std::isfinite(*cookie.expires) && *cookie.expires >= 0)) std::abort();
    }
    const auto again = MenuBarWebCookieArchive::decode(MenuBarWebCookieArchive::encode(*cookies));
    if (!again || *again != *cookies) std::abort();
    return 0;
}
