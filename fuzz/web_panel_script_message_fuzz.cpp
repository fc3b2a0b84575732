// What pages post to the web panel: any body under any of its handler names
// is read without a crash, and a media message counts only with a token.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "webpanel/menu_bar_web_script_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tallowmere;
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    for (const char* handler : {"menuBarWebMedia", "menuBarWebPlaybackIntent", "menuBarWebAdSkip", ""}) {
        (void)parseMenuBarWebScriptMessage(handler, body, "token");
    }
    // Without a token of the program's own no report is believed.
    if (parseMenuBarWebScriptMessage("menuBarWebMedia", body, "")) std::abort();
    return 0;
}
