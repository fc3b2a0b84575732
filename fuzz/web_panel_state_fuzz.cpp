// The web panel's stored state read back at start: the site list, the
// panel size text and addresses; none may crash, and what decodes encodes
// back to the same sites.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "webpanel/menu_bar_web_address.h"
#include "webpanel/menu_bar_web_stored_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallowmere;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto sites = MenuBarWebStoredState::decodeSites(text)) {
        const auto again = MenuBarWebStoredState::decodeSites(MenuBarWebStoredState::encodeSites(*sites));
        if (!again || *again != *sites) std::abort();
    }
    const auto panel = MenuBarWebStoredState::panelSize(std::string(text));
    if (!(panel.width > 1 && panel.height > 1)) std::abort();
    if (auto url = normalizedURL(text); url && !url->host()) std::abort();
    return 0;
}
