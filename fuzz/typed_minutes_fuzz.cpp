// The minutes typed into a length dialog: whatever is typed, an accepted
// length is within 1...the limit, so no countdown starts at zero or past a day.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "time/typed_minutes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr int longest = 1440;
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    if (const auto minutes = tallowmere::typedWholeMinutes(typed, longest)) {
        if (*minutes < 1 || *minutes > longest) std::abort();
    }
    return 0;
}
