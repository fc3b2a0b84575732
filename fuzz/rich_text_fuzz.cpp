// Styled text handed over by other applications as RTF: the reader must end,
// stay inside its input and keep every run within the text it read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gfx/rich_text_reader.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto rich = RichTextReader::read(text);
    if (!rich) return 0;
    std::size_t covered = 0;
    for (const auto& run : rich->runs) covered += run.length;
    if (covered != rich->text.size()) std::abort();
    return 0;
}
