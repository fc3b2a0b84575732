// The symbol library's emoji list: any bytes give a list (empty when not
// UTF-8) and a grouping whose variant lists all hold their shown symbol.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "toys/emoji_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto entries = tallowmere::parseEmojiList(text);
    const auto grouped = tallowmere::groupSkinTones(entries);
    if (grouped.symbols.size() > entries.size()) std::abort();
    for (const auto& [shown, variants] : grouped.variants) {
        if (variants.size() < 2 || std::find(variants.begin(), variants.end(), shown) == variants.end()) std::abort();
    }
    return 0;
}
