#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/date.h"
#include "platform/base/result.h"
#include "platform/base/uuid.h"

namespace tallowmere {

// One hosts-file text the user keeps.
struct HostsProfile {
    platform::Uuid id;
    std::string name;
    std::string content;      // the whole hosts-file text
    platform::Date updatedAt;  // last content change, kept in whole seconds

    bool operator==(const HostsProfile&) const = default;
};

struct HostsCategory {
    platform::Uuid id;
    std::string name;
    std::vector<HostsProfile> profiles;  // in the order shown

    bool operator==(const HostsCategory&) const = default;
};

// The user's profiles in categories, and which one was last applied to the
// system. Order matters everywhere; lookups by id take the first match.
struct HostsLibrary {
    std::vector<HostsCategory> categories;
    std::optional<platform::Uuid> activeProfileID;

    bool operator==(const HostsLibrary&) const = default;

    // One empty category "我的 Hosts" with a fresh id, nothing active.
    static HostsLibrary makeDefault();

    // hosts-library.json: all or nothing. A missing required key, a value
    // of the wrong type, an id that is no UUID or a date that is not a
    // whole-second ISO-8601 date-time makes the whole file unreadable
    // (parseFailed or wrongShape). Unknown keys are ignored; a null
    // "activeProfileID" means none.
    static platform::Result<HostsLibrary> decode(std::string_view json);
    // Pretty-printed, keys sorted, upper-case UUIDs, whole-second UTC dates;
    // "activeProfileID" only when set.
    platform::Result<std::string> encode() const;

    HostsCategory* category(const platform::Uuid& id);
    HostsProfile* profile(const platform::Uuid& categoryID, const platform::Uuid& profileID);
    // The first profile with this id in any category.
    const HostsProfile* profile(const platform::Uuid& profileID) const;
};

}  // namespace tallowmere
