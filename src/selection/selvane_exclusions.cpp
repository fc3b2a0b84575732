#include "selection/selvane_exclusions.h"

#include <algorithm>
#include <map>

#include "platform/base/text.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/notification_center.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

namespace {

// Whether the chooser is open, one per context like every shared state.
struct ChooserState {
    bool isOpen = false;
};

// The stored pairs whose identifier and name are both texts. A stray value
// of another kind costs only its own pair, never the rest of the list.
std::map<std::string, std::string> storedPairs() {
    std::map<std::string, std::string> pairs;
    auto stored = platform::UserDefaults::standard().dictionary(SelvaneExclusions::key);
    if (!stored) return pairs;
    for (const auto& [id, name] : *stored) {
        if (const auto* text = name.asString()) pairs.emplace(id, *text);
    }
    return pairs;
}

void store(const std::map<std::string, std::string>& pairs) {
    platform::PropertyValue::Dictionary dictionary;
    for (const auto& [id, name] : pairs) dictionary.emplace(id, platform::PropertyValue(name));
    platform::UserDefaults::standard().set(SelvaneExclusions::key, platform::PropertyValue(std::move(dictionary)));
    platform::AppContext::current().notificationCenter().post(std::string(SelvaneExclusions::changed));
}

}  // namespace

std::vector<SelvaneExclusions::Entry> SelvaneExclusions::entries() {
    std::vector<Entry> result;
    for (const auto& [id, name] : storedPairs()) result.push_back({id, name});
    // Equal names keep identifier order, so the list does not shuffle between reads.
    std::stable_sort(result.begin(), result.end(), [](const Entry& left, const Entry& right) {
        return platform::Text::compareNumeric(left.name, right.name) < 0;
    });
    return result;
}

bool SelvaneExclusions::contains(const std::optional<std::string>& bundleIdentifier) {
    if (!bundleIdentifier) return false;
    return storedPairs().contains(*bundleIdentifier);
}

void SelvaneExclusions::add(const std::string& id, const std::string& name) {
    auto pairs = storedPairs();
    pairs[id] = name;
    store(pairs);
}

void SelvaneExclusions::remove(const std::string& id) {
    auto pairs = storedPairs();
    pairs.erase(id);
    store(pairs);
}

bool SelvaneExclusions::isChoosingApplication() {
    return platform::AppContext::current().shared<ChooserState>().isOpen;
}

void SelvaneExclusions::setChoosingApplication(bool choosing) {
    platform::AppContext::current().shared<ChooserState>().isOpen = choosing;
}

}  // namespace tallowmere
