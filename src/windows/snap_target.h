#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// One of the ten placements a window can be given on its screen: the cells
// of a 3 × 3 grid read row by row, then `center`. Stored and passed by its
// raw value (the case name).
enum class SnapTarget { topLeft, top, topRight, left, maximize, right, bottomLeft, bottom, bottomRight, center };

// How a placement covers one axis of the screen's work area.
enum class SnapSpan {
    leading,   // the first half (left, or top): the floored half
    whole,     // all of it
    trailing,  // the rest after the first half, so odd lengths leave no gap
    centred,   // the window's own length, capped, in the middle
};

struct SnapTargetInfo {
    SnapTarget target;
    std::string_view rawValue;
    std::string_view titleSource;  // looked up through L
    SnapSpan horizontal;
    SnapSpan vertical;
};

// Every placement in declaration order: the order of the palette, of the
// main window's placement buttons (their tags) and of iteration.
inline constexpr std::array<SnapTargetInfo, 10> snapTargetTable = {{
    {SnapTarget::topLeft, "topLeft", "左上", SnapSpan::leading, SnapSpan::leading},
    {SnapTarget::top, "top", "上半屏", SnapSpan::whole, SnapSpan::leading},
    {SnapTarget::topRight, "topRight", "右上", SnapSpan::trailing, SnapSpan::leading},
    {SnapTarget::left, "left", "左半屏", SnapSpan::leading, SnapSpan::whole},
    {SnapTarget::maximize, "maximize", "最大化", SnapSpan::whole, SnapSpan::whole},
    {SnapTarget::right, "right", "右半屏", SnapSpan::trailing, SnapSpan::whole},
    {SnapTarget::bottomLeft, "bottomLeft", "左下", SnapSpan::leading, SnapSpan::trailing},
    {SnapTarget::bottom, "bottom", "下半屏", SnapSpan::whole, SnapSpan::trailing},
    {SnapTarget::bottomRight, "bottomRight", "右下", SnapSpan::trailing, SnapSpan::trailing},
    {SnapTarget::center, "center", "居中", SnapSpan::centred, SnapSpan::centred},
}};

inline constexpr std::array<SnapTarget, 10> allSnapTargets = [] {
    std::array<SnapTarget, 10> targets{};
    for (std::size_t i = 0; i < targets.size(); ++i) targets[i] = snapTargetTable[i].target;
    return targets;
}();

const SnapTargetInfo& info(SnapTarget target);
std::string_view rawValue(SnapTarget target);
// Exact match of a raw value; anything else is no target.
std::optional<SnapTarget> snapTargetFromRawValue(std::string_view rawValue);
// The placement's name in the current interface language.
std::string title(SnapTarget target);

}  // namespace tallowmere
