#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/date.h"
#include "platform/base/result.h"
#include "platform/base/uuid.h"
#include "platform/gfx/geometry.h"

namespace tallowmere {

// A stored rectangle in Accessibility space (top-left origin, y down).
struct StoredRect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    static StoredRect from(const platform::AXRect& rect) {
        return {rect.minX(), rect.minY(), rect.width(), rect.height()};
    }
    platform::AXRect rect() const { return {x, y, width, height}; }
    bool operator==(const StoredRect&) const = default;
};

// One window as it was captured.
struct WindowSnapshot {
    std::string bundleIdentifier{};
    // The application's name at capture (its bundle identifier when it had none).
    std::string appName{};
    // Empty when the window had none or it could not be read.
    std::string title{};
    // Absolute URL text of the window's document.
    std::optional<std::string> documentURL{};
    // Position in its application's window list at capture, counting every
    // window of the list, saved or not.
    std::int64_t windowIndex = 0;
    StoredRect frame{};
    bool minimized = false;
    // Position in the window server's front-to-back list (0 = frontmost).
    std::optional<std::int64_t> zIndex{};
    // Display number of the screen that held the window.
    std::optional<std::uint32_t> screenIdentifier{};
    // That screen's visible frame, in Accessibility space.
    std::optional<StoredRect> screenFrame{};

    bool operator==(const WindowSnapshot&) const = default;
};

// One saved layout: every captured window, in capture order.
struct WorkspaceLayout {
    platform::Uuid id;
    std::string name;
    platform::Date createdAt;
    std::vector<WindowSnapshot> windows{};

    bool operator==(const WorkspaceLayout&) const = default;
};

// layouts.json: a pretty-printed JSON array of layouts with sorted keys,
// whole-second UTC dates and upper-case identifiers; absent optional members
// are left out. Decoding is all or nothing: one bad member anywhere fails
// the whole list, so a damaged file is never half read.
namespace WorkspaceLayoutCoding {

platform::Result<std::vector<WorkspaceLayout>> decode(std::string_view json);
platform::Result<std::string> encode(const std::vector<WorkspaceLayout>& layouts);

}  // namespace WorkspaceLayoutCoding

}  // namespace tallowmere
