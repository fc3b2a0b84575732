// Templates come from translation tables and dates from stored files; neither
// may read past its arguments or its text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/base/format.h"
#include "platform/base/iso8601.h"
#include "platform/base/text.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)formatTemplate(text, "a", 42, 1.5);
    (void)Iso8601::parse(text);
    (void)Iso8601::parse(text, {.fractionalSeconds = true});
    (void)Text::prefixGraphemes(text, size / 2);
    (void)Text::graphemeBoundaries(text);
    (void)Text::repairUtf8(text);
    return 0;
}
