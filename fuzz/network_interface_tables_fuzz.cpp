// The kernel's interface and route tables, as the traffic display reads them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/system/network_interface_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)tallowmere::platform::parseInterfaceCounterTable(text);
    (void)tallowmere::platform::parseDefaultRouteInterface(text);
    return 0;
}
