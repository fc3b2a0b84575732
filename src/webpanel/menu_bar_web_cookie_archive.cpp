#include "webpanel/menu_bar_web_cookie_archive.h"

#include <cmath>

#include <nlohmann/json.hpp>

namespace tallowmere::MenuBarWebCookieArchive {

namespace {

using platform::HttpCookie;

// Far enough for any real cookie, and small enough that the engine's whole
// seconds never overflow.
constexpr double latestExpiry = 253402300799;  // 9999-12-31T23:59:59Z

// Characters a cookie's parts never hold: a control character or a
// separator would split the header the engine builds from them.
bool isCookieText(std::string_view text, std::string_view forbidden) {
    for (const unsigned char c : text) {
        if (c < 0x20 || c == 0x7f || forbidden.find(static_cast<char>(c)) != std::string_view::npos) return false;
    }
    return true;
}

std::optional<HttpCookie> cookieFrom(const nlohmann::json& record) {
    if (!record.is_object()) return std::nullopt;
    const auto text = [&](const char* key) -> const std::string* {
        const auto found = record.find(key);
        return found != record.end() && found->is_string() ? found->get_ptr<const std::string*>() : nullptr;
    };
    const auto flag = [&](const char* key) -> std::optional<bool> {
        const auto found = record.find(key);
        if (found == record.end() || !found->is_boolean()) return std::nullopt;
        return found->get<bool>();
    };
    const auto* name = text("name");
    const auto* value = text("value");
    const auto* domain = text("domain");
    const auto* path = text("path");
    const auto* sameSite = text("sameSite");
    const auto secure = flag("secure");
    const auto httpOnly = flag("httpOnly");
    const auto session = flag("session");
    const auto expires = record.find("expires");
    if (!name || !value || !domain || !path || !sameSite || !secure || !httpOnly || !session ||
        expires == record.end()) {
        return std::nullopt;
    }
    if (!isCookieText(*name, ";=, ") || !isCookieText(*value, ";") || domain->empty() ||
        !isCookieText(*domain, ";=, /") || path->empty() || path->front() != '/' || !isCookieText(*path, ";")) {
        return std::nullopt;
    }
    if (*sameSite != "" && *sameSite != "Lax" && *sameSite != "Strict" && *sameSite != "None") return std::nullopt;
    HttpCookie cookie{*name, *value, *domain, *path, std::nullopt, *secure, *httpOnly, *sameSite};
    // A session cookie has no expiry and a lasting one has one: a record
    // that says both is not one the program wrote.
    if (*session) {
        if (!expires->is_null()) return std::nullopt;
    } else {
        if (!expires->is_number()) return std::nullopt;
        const double seconds = expires->get<double>();
        if (!std::isfinite(seconds) || seconds < 0 || seconds > latestExpiry) return std::nullopt;
        cookie.expires = seconds;
    }
    return cookie;
}

}  // namespace

std::optional<std::vector<HttpCookie>> decode(std::string_view json) {
    const auto array = nlohmann::json::parse(json, nullptr, false);
    if (!array.is_array()) return std::nullopt;
    std::vector<HttpCookie> cookies;
    cookies.reserve(array.size());
    for (const auto& record : array) {
        if (auto cookie = cookieFrom(record)) cookies.push_back(std::move(*cookie));
    }
    return cookies;
}

std::string encode(const std::vector<HttpCookie>& cookies) {
    auto array = nlohmann::ordered_json::array();
    for (const auto& cookie : cookies) {
        nlohmann::ordered_json record;
        record["name"] = cookie.name;
        record["value"] = cookie.value;
        record["domain"] = cookie.domain;
        record["path"] = cookie.path;
        record["expires"] = cookie.expires ? nlohmann::ordered_json(*cookie.expires) : nlohmann::ordered_json();
        record["secure"] = cookie.secure;
        record["httpOnly"] = cookie.httpOnly;
        record["sameSite"] = cookie.sameSite;
        record["session"] = !cookie.expires;
        array.push_back(std::move(record));
    }
    // Text the engine handed over need not be valid UTF-8: replaced, never thrown.
    return array.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace tallowmere::MenuBarWebCookieArchive
