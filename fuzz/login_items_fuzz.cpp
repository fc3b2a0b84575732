// The simulated system's login-item record is a file any process could
// have damaged; reading it must hold for any bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/desktop/login_item_service.h"
#include "platform/runtime/app_context.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static AppContext context({.deterministic = true});
    LoginItemService service;
    service.restoreState(std::span<const std::uint8_t>(data, size));
    (void)service.status();
    (void)service.loadedAgent("com.quenlow.tallowmere.login");
    return 0;
}
