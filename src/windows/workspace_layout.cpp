#include "windows/workspace_layout.h"

#include <cmath>
#include <limits>

#include "platform/base/iso8601.h"
#include "platform/base/json.h"

namespace tallowmere {

using nlohmann::json;
using platform::Error;
using platform::ErrorCode;
using platform::Result;

namespace {

// The first failure ends decoding; its message names the member, so a kept
// aside file can be mended by hand.
struct DecodeFailure {
    std::string message;
};

[[noreturn]] void fail(std::string_view what) { throw DecodeFailure{std::string(what)}; }

const json& member(const json& object, const char* key) {
    auto found = object.find(key);
    if (found == object.end() || found->is_null()) fail(std::string("missing \"") + key + "\"");
    return *found;
}

// An optional member: missing and null are both absent.
const json* optionalMember(const json& object, const char* key) {
    auto found = object.find(key);
    return found == object.end() || found->is_null() ? nullptr : &*found;
}

const json& object(const json& value, const char* what) {
    if (!value.is_object()) fail(std::string(what) + " is not an object");
    return value;
}

double number(const json& value, const char* key) {
    if (!value.is_number()) fail(std::string("\"") + key + "\" is not a number");
    const double result = value.get<double>();
    // A number too large for a double reads as infinity, which no file may hold.
    if (!std::isfinite(result)) fail(std::string("\"") + key + "\" is out of range");
    return result;
}

// Integers may be written as whole reals (3.0), as other encoders do; a
// fraction or a value outside the range is refused.
template <typename Int>
Int integer(const json& value, const char* key) {
    const std::string name = std::string("\"") + key + "\"";
    if (value.is_number_unsigned()) {
        const auto raw = value.get<std::uint64_t>();
        if (raw > static_cast<std::uint64_t>(std::numeric_limits<Int>::max())) fail(name + " is out of range");
        return static_cast<Int>(raw);
    }
    if (value.is_number_integer()) {
        const auto raw = value.get<std::int64_t>();
        if (raw < static_cast<std::int64_t>(std::numeric_limits<Int>::min()) ||
            (raw > 0 && static_cast<std::uint64_t>(raw) > static_cast<std::uint64_t>(std::numeric_limits<Int>::max())))
            fail(name + " is out of range");
        return static_cast<Int>(raw);
    }
    if (value.is_number_float()) {
        const double raw = value.get<double>();
        // 2^63 itself is not representable as int64, hence the strict bound.
        if (std::trunc(raw) != raw || raw < static_cast<double>(std::numeric_limits<Int>::min()) ||
            raw >= static_cast<double>(std::numeric_limits<Int>::max()) + 1.0)
            fail(name + " is not a whole number in range");
        return static_cast<Int>(raw);
    }
    fail(name + " is not an integer");
}

std::string text(const json& value, const char* key) {
    if (!value.is_string()) fail(std::string("\"") + key + "\" is not text");
    return value.get<std::string>();
}

bool boolean(const json& value, const char* key) {
    if (!value.is_boolean()) fail(std::string("\"") + key + "\" is not a boolean");
    return value.get<bool>();
}

StoredRect decodeRect(const json& value, const char* key) {
    const json& rect = object(value, key);
    return {number(member(rect, "x"), "x"), number(member(rect, "y"), "y"), number(member(rect, "width"), "width"),
            number(member(rect, "height"), "height")};
}

WindowSnapshot decodeWindow(const json& value) {
    const json& window = object(value, "a window");
    WindowSnapshot snapshot;
    snapshot.bundleIdentifier = text(member(window, "bundleIdentifier"), "bundleIdentifier");
    snapshot.appName = text(member(window, "appName"), "appName");
    snapshot.title = text(member(window, "title"), "title");
    if (const json* document = optionalMember(window, "documentURL")) snapshot.documentURL = text(*document, "documentURL");
    snapshot.windowIndex = integer<std::int64_t>(member(window, "windowIndex"), "windowIndex");
    snapshot.frame = decodeRect(member(window, "frame"), "frame");
    snapshot.minimized = boolean(member(window, "minimized"), "minimized");
    if (const json* z = optionalMember(window, "zIndex")) snapshot.zIndex = integer<std::int64_t>(*z, "zIndex");
    if (const json* screen = optionalMember(window, "screenIdentifier"))
        snapshot.screenIdentifier = integer<std::uint32_t>(*screen, "screenIdentifier");
    if (const json* frame = optionalMember(window, "screenFrame")) snapshot.screenFrame = decodeRect(*frame, "screenFrame");
    return snapshot;
}

WorkspaceLayout decodeLayout(const json& value) {
    const json& layout = object(value, "a layout");
    WorkspaceLayout decoded;
    auto id = platform::Uuid::fromString(text(member(layout, "id"), "id"));
    if (!id) fail("\"id\" is not a UUID");
    decoded.id = *id;
    decoded.name = text(member(layout, "name"), "name");
    auto created = platform::Iso8601::parse(text(member(layout, "createdAt"), "createdAt"));
    if (!created) fail("\"createdAt\" is not a whole-second ISO 8601 date");
    // An offset may carry a date past year 9999, which could not be written back.
    if (!platform::Iso8601::parse(platform::Iso8601::format(*created))) fail("\"createdAt\" is out of range");
    decoded.createdAt = *created;
    const json& windows = member(layout, "windows");
    if (!windows.is_array()) fail("\"windows\" is not a list");
    for (const json& window : windows) decoded.windows.push_back(decodeWindow(window));
    return decoded;
}

json encodeRect(const StoredRect& rect) {
    return json{{"x", rect.x}, {"y", rect.y}, {"width", rect.width}, {"height", rect.height}};
}

json encodeWindow(const WindowSnapshot& window) {
    json encoded{{"bundleIdentifier", window.bundleIdentifier},
                 {"appName", window.appName},
                 {"title", window.title},
                 {"windowIndex", window.windowIndex},
                 {"frame", encodeRect(window.frame)},
                 {"minimized", window.minimized}};
    if (window.documentURL) encoded["documentURL"] = *window.documentURL;
    if (window.zIndex) encoded["zIndex"] = *window.zIndex;
    if (window.screenIdentifier) encoded["screenIdentifier"] = *window.screenIdentifier;
    if (window.screenFrame) encoded["screenFrame"] = encodeRect(*window.screenFrame);
    return encoded;
}

}  // namespace

Result<std::vector<WorkspaceLayout>> WorkspaceLayoutCoding::decode(std::string_view text) {
    auto parsed = platform::Json::parse(text);
    if (!parsed) return parsed.error();
    if (!parsed->is_array()) return Error{ErrorCode::wrongShape, "The saved layouts are not a list.", 0};
    std::vector<WorkspaceLayout> layouts;
    try {
        for (const json& layout : *parsed) layouts.push_back(decodeLayout(layout));
    } catch (const DecodeFailure& failure) {
        return Error{ErrorCode::wrongShape, "A saved layout cannot be read: " + failure.message + ".", 0};
    }
    return layouts;
}

Result<std::string> WorkspaceLayoutCoding::encode(const std::vector<WorkspaceLayout>& layouts) {
    json list = json::array();
    for (const WorkspaceLayout& layout : layouts) {
        json windows = json::array();
        for (const WindowSnapshot& window : layout.windows) windows.push_back(encodeWindow(window));
        list.push_back(json{{"id", layout.id.uuidString()},
                            {"name", layout.name},
                            {"createdAt", platform::Iso8601::format(layout.createdAt)},
                            {"windows", std::move(windows)}});
    }
    return platform::Json::write(list);
}

}  // namespace tallowmere
