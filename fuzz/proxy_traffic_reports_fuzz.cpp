// What the proxy measurement reads: the kernel's TCP table (listening
// sockets) and the per-process traffic report.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "menubar/proxy_traffic_output.h"
#include "platform/system/process_sockets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)tallowmere::platform::parseListeningSocketInodes(text, 7890);
    (void)tallowmere::parseProxyTrafficOutput(text);
    return 0;
}
