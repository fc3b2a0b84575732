// The hosts library is read from disk and hosts texts come from the user's
// editor and from backups: any bytes must decode or fail cleanly, what
// decoded must write and read back unchanged, and validation must finish
// on any text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "hosts/hosts_library.h"
#include "hosts/hosts_text_validator.h"

using namespace tallowmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)validateHostsText(text);
    auto decoded = HostsLibrary::decode(text);
    if (!decoded) return 0;
    auto encoded = decoded->encode();
    if (!encoded) std::abort();
    auto again = HostsLibrary::decode(*encoded);
    if (!again || !(*again == *decoded)) std::abort();
    return 0;
}
