#include "toys/poetry_collection.h"

#include <cstdio>
#include <cstdlib>

#include "platform/base/json.h"

namespace tallowmere::resources {
extern const std::string_view poemsJSON;
}

namespace tallowmere {

namespace {

// The table is ours and checked by a test; a broken one is a build fault,
// so it stops the program rather than showing a header that indexes past it.
std::vector<PoetryEntry> readShipped() {
    std::vector<PoetryEntry> entries;
    auto document = platform::Json::parse(resources::poemsJSON);
    if (document.ok() && document->is_array()) {
        for (const auto& item : *document) {
            if (!item.is_object()) continue;
            const auto text = [&](const char* key) {
                const auto found = item.find(key);
                return found != item.end() && found->is_string() ? found->get<std::string>() : std::string();
            };
            entries.push_back({text("title"), text("author"), text("excerpt")});
        }
    }
    if (entries.size() != PoetryCollection::count) {
        std::fprintf(stderr, "tallowmere: the shipped poem table holds %zu entries, not %d\n", entries.size(),
                     PoetryCollection::count);
        std::abort();
    }
    return entries;
}

}  // namespace

const std::vector<PoetryEntry>& PoetryCollection::entries() {
    static const std::vector<PoetryEntry> shipped = readShipped();
    return shipped;
}

}  // namespace tallowmere
