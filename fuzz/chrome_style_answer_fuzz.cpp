// What osascript prints for the browser's page script comes from a page the
// person has open; whatever it holds must decode to a note, and styles only
// with the success note.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "selection/chrome_selection_style_reader.h"

using namespace tallowmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The first line is the text Accessibility reported; the rest, the answer.
    const auto split = bytes.find('\n');
    const std::string expected(bytes.substr(0, split));
    const std::string_view output = split == std::string_view::npos ? std::string_view() : bytes.substr(split + 1);
    const auto result = ChromeSelectionStyleReader::decode(output, expected);
    if (result.note.empty()) std::abort();
    if (!result.styles.empty() && result.note != ChromeSelectionStyleReader::successNote) std::abort();
    (void)ChromeSelectionStyleReader::normalized(bytes);
    return 0;
}
