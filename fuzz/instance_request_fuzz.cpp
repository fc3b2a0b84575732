// Anything on the machine running as the user can write to the instance
// socket: every message must decode or be refused, and what decoded must
// encode back to the same request.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/instance_request.h"

using tallowmere::InstanceRequest;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto request = InstanceRequest::decode(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!request.ok()) return 0;
    auto again = InstanceRequest::decode(request->encoded());
    if (!again.ok() || !(*again == *request)) __builtin_trap();
    return 0;
}
