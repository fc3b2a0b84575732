// The add-website dialog reads whatever the person typed or pasted: an
// address, a path or a file URL. Deciding which must hold for any text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mainwindow/quick_launch_editor_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view typed(reinterpret_cast<const char*>(data), size);
    if (auto local = tallowmere::existingLocalItem(typed)) (void)local->string();
    (void)tallowmere::websiteIconStyleAtSegment(size > 0 ? std::optional<int>(static_cast<std::int8_t>(data[0])) : std::nullopt);
    return 0;
}
