#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/web/web_types.h"

namespace tallowmere {

// The web panel's cookies as kept in the user defaults between launches: a
// JSON array of records with the keys "name", "value", "domain", "path",
// "expires" (seconds since 1970, null for a session cookie), "secure",
// "httpOnly", "sameSite" and "session". The engine keeps its own store too;
// this copy puts the cookies back when that store was lost.
namespace MenuBarWebCookieArchive {

// The cookies of a stored archive, in its order. A record with a field
// missing, of the wrong type or out of range is left out, so one bad record
// costs only itself; text that is not a JSON array gives none.
std::optional<std::vector<platform::HttpCookie>> decode(std::string_view json);
std::string encode(const std::vector<platform::HttpCookie>& cookies);

}  // namespace MenuBarWebCookieArchive

}  // namespace tallowmere
