// A Finder request is a URL any program can open with ours; whatever it
// holds must read as a request or as none, and a request's checks and
// rebuilds must hold up, never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "finder/finder_request.h"

using namespace tallowmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto url = platform::Url::parse(text);
    if (!url) return 0;
    auto request = FinderRequest::read(*url);
    if (!request) return 0;
    if (auto paths = request->checkedPaths()) {
        // Checked paths are absolute and free of "." and "..".
        for (const auto& item : paths->items) {
            if (!item.is_absolute()) std::abort();
            for (const auto& part : item) {
                if (part == "." || part == "..") std::abort();
            }
        }
        if (!paths->items.empty()) (void)FinderRequest::withSelection(*url, paths->items);
        (void)FinderRequest::withDirectory(*url, paths->directory);
    }
    return 0;
}
