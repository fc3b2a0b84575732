#include "quicklaunch/quick_launch_entry.h"

#include <nlohmann/json.hpp>

#include "platform/base/json.h"

namespace tallowmere {

using platform::Error;
using platform::ErrorCode;

std::string_view rawValue(QuickLaunchKind kind) {
    switch (kind) {
        case QuickLaunchKind::application: return "application";
        case QuickLaunchKind::website: return "website";
        case QuickLaunchKind::information: return "information";
        case QuickLaunchKind::file: return "file";
        case QuickLaunchKind::newFile: return "newFile";
    }
    return "application";
}

std::optional<QuickLaunchKind> quickLaunchKindFromRawValue(std::string_view text) {
    for (QuickLaunchKind kind : allQuickLaunchKinds) {
        if (rawValue(kind) == text) return kind;
    }
    return std::nullopt;
}

namespace {

Error malformed(std::size_t index, const std::string& why) {
    return Error{ErrorCode::wrongShape, "Quick-launch entry " + std::to_string(index) + " " + why, 0};
}

const std::string* requiredString(const nlohmann::json& object, const char* key) {
    auto found = object.find(key);
    return found != object.end() && found->is_string() ? found->get_ptr<const std::string*>() : nullptr;
}

// Absent and null both mean "no value"; any other non-string fails.
platform::Result<std::optional<std::string>> optionalString(const nlohmann::json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end() || found->is_null()) return std::optional<std::string>();
    if (!found->is_string()) return Error{ErrorCode::wrongShape, std::string("\u201C") + key + "\u201D is not text", 0};
    return std::optional<std::string>(found->get<std::string>());
}

platform::Result<QuickLaunchEntry> decodeEntry(const nlohmann::json& object, std::size_t index) {
    if (!object.is_object()) return malformed(index, "is not an object");
    const std::string* id = requiredString(object, "id");
    const std::string* kind = requiredString(object, "kind");
    const std::string* name = requiredString(object, "name");
    const std::string* target = requiredString(object, "target");
    if (!id || !kind || !name || !target) return malformed(index, "lacks id, kind, name or target");
    auto uuid = platform::Uuid::fromString(*id);
    if (!uuid) return malformed(index, "has an id that is no UUID");
    auto knownKind = quickLaunchKindFromRawValue(*kind);
    if (!knownKind) return malformed(index, "has the unknown kind \u201C" + *kind + "\u201D");

    QuickLaunchEntry entry{*uuid, *knownKind, *name, *target, {}, {}, {}};
    struct Optional {
        const char* key;
        std::optional<std::string>* field;
    };
    for (auto [key, field] : {Optional{"bundleIdentifier", &entry.bundleIdentifier},
                              Optional{"websiteIconStyle", &entry.websiteIconStyle},
                              Optional{"websiteEmoji", &entry.websiteEmoji}}) {
        auto value = optionalString(object, key);
        if (!value) return malformed(index, value.error().message);
        *field = std::move(*value);
    }
    return entry;
}

}  // namespace

platform::Result<std::vector<QuickLaunchEntry>> QuickLaunchEntryCoding::decode(std::string_view json) {
    auto parsed = platform::Json::parse(json);
    if (!parsed) return parsed.error();
    if (!parsed->is_array()) return Error{ErrorCode::wrongShape, "The quick-launch list is not an array", 0};
    std::vector<QuickLaunchEntry> entries;
    entries.reserve(parsed->size());
    for (const auto& element : *parsed) {
        auto entry = decodeEntry(element, entries.size());
        if (!entry) return entry.error();
        entries.push_back(std::move(*entry));
    }
    return entries;
}

platform::Result<std::string> QuickLaunchEntryCoding::encode(const std::vector<QuickLaunchEntry>& entries) {
    nlohmann::json array = nlohmann::json::array();
    for (const QuickLaunchEntry& entry : entries) {
        nlohmann::json object{{"id", entry.id.uuidString()},
                              {"kind", std::string(rawValue(entry.kind))},
                              {"name", entry.name},
                              {"target", entry.target}};
        if (entry.bundleIdentifier) object["bundleIdentifier"] = *entry.bundleIdentifier;
        if (entry.websiteIconStyle) object["websiteIconStyle"] = *entry.websiteIconStyle;
        if (entry.websiteEmoji) object["websiteEmoji"] = *entry.websiteEmoji;
        array.push_back(std::move(object));
    }
    return platform::Json::write(array);
}

}  // namespace tallowmere
