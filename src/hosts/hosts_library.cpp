#include "hosts/hosts_library.h"

#include "platform/base/iso8601.h"
#include "platform/base/json.h"

namespace tallowmere {

namespace {

using platform::Error;
using platform::ErrorCode;
using platform::Result;
using Json = nlohmann::json;

Error wrongShape(const std::string& what) {
    return Error{ErrorCode::wrongShape, "The hosts library is damaged: " + what + ".", 0};
}

Result<const Json*> member(const Json& object, const char* key, const char* where) {
    auto found = object.find(key);
    if (found == object.end()) return wrongShape(std::string(where) + " has no \u201C" + key + "\u201D");
    return &*found;
}

Result<std::string> stringMember(const Json& object, const char* key, const char* where) {
    auto value = member(object, key, where);
    if (!value) return value.error();
    if (!(*value)->is_string()) return wrongShape(std::string("\u201C") + key + "\u201D of " + where + " is not text");
    return (*value)->get<std::string>();
}

Result<platform::Uuid> uuidMember(const Json& object, const char* key, const char* where) {
    auto text = stringMember(object, key, where);
    if (!text) return text.error();
    auto uuid = platform::Uuid::fromString(*text);
    if (!uuid) return wrongShape(std::string("\u201C") + key + "\u201D of " + where + " is not a UUID");
    return *uuid;
}

Result<const Json*> arrayMember(const Json& object, const char* key, const char* where) {
    auto value = member(object, key, where);
    if (!value) return value.error();
    if (!(*value)->is_array()) return wrongShape(std::string("\u201C") + key + "\u201D of " + where + " is not a list");
    return *value;
}

Result<HostsProfile> decodeProfile(const Json& object) {
    if (!object.is_object()) return wrongShape("a profile is not an object");
    auto id = uuidMember(object, "id", "a profile");
    if (!id) return id.error();
    auto name = stringMember(object, "name", "a profile");
    if (!name) return name.error();
    auto content = stringMember(object, "content", "a profile");
    if (!content) return content.error();
    auto updated = stringMember(object, "updatedAt", "a profile");
    if (!updated) return updated.error();
    auto date = platform::Iso8601::parse(*updated);
    // An offset can carry a date past what UTC text can hold (year 9999);
    // accepted, it would be written back unreadable.
    if (!date || !platform::Iso8601::parse(platform::Iso8601::format(*date))) {
        return wrongShape("\u201CupdatedAt\u201D of a profile is not a date");
    }
    return HostsProfile{*id, std::move(*name), std::move(*content), *date};
}

Result<HostsCategory> decodeCategory(const Json& object) {
    if (!object.is_object()) return wrongShape("a category is not an object");
    auto id = uuidMember(object, "id", "a category");
    if (!id) return id.error();
    auto name = stringMember(object, "name", "a category");
    if (!name) return name.error();
    auto profiles = arrayMember(object, "profiles", "a category");
    if (!profiles) return profiles.error();
    HostsCategory category{*id, std::move(*name), {}};
    for (const auto& entry : **profiles) {
        auto profile = decodeProfile(entry);
        if (!profile) return profile.error();
        category.profiles.push_back(std::move(*profile));
    }
    return category;
}

}  // namespace

HostsLibrary HostsLibrary::makeDefault() {
    return HostsLibrary{{HostsCategory{platform::Uuid::random(), "我的 Hosts", {}}}, std::nullopt};
}

Result<HostsLibrary> HostsLibrary::decode(std::string_view json) {
    auto parsed = platform::Json::parse(json);
    if (!parsed) return parsed.error();
    if (!parsed->is_object()) return wrongShape("it is not an object");
    auto categories = arrayMember(*parsed, "categories", "the library");
    if (!categories) return categories.error();
    HostsLibrary library;
    for (const auto& entry : **categories) {
        auto category = decodeCategory(entry);
        if (!category) return category.error();
        library.categories.push_back(std::move(*category));
    }
    if (auto active = parsed->find("activeProfileID"); active != parsed->end() && !active->is_null()) {
        auto id = uuidMember(*parsed, "activeProfileID", "the library");
        if (!id) return id.error();
        library.activeProfileID = *id;
    }
    return library;
}

Result<std::string> HostsLibrary::encode() const {
    Json categoryList = Json::array();
    for (const auto& category : categories) {
        Json profileList = Json::array();
        for (const auto& profile : category.profiles) {
            profileList.push_back({{"id", profile.id.uuidString()},
                                   {"name", profile.name},
                                   {"content", profile.content},
                                   {"updatedAt", platform::Iso8601::format(profile.updatedAt)}});
        }
        categoryList.push_back(
            {{"id", category.id.uuidString()}, {"name", category.name}, {"profiles", std::move(profileList)}});
    }
    Json root = {{"categories", std::move(categoryList)}};
    if (activeProfileID) root["activeProfileID"] = activeProfileID->uuidString();
    return platform::Json::write(root);
}

HostsCategory* HostsLibrary::category(const platform::Uuid& id) {
    for (auto& category : categories) {
        if (category.id == id) return &category;
    }
    return nullptr;
}

HostsProfile* HostsLibrary::profile(const platform::Uuid& categoryID, const platform::Uuid& profileID) {
    auto* found = category(categoryID);
    if (!found) return nullptr;
    for (auto& profile : found->profiles) {
        if (profile.id == profileID) return &profile;
    }
    return nullptr;
}

const HostsProfile* HostsLibrary::profile(const platform::Uuid& profileID) const {
    for (const auto& category : categories) {
        for (const auto& profile : category.profiles) {
            if (profile.id == profileID) return &profile;
        }
    }
    return nullptr;
}

}  // namespace tallowmere
