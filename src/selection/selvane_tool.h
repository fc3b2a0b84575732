#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// The small tools the selection bar can carry, in bar order.
enum class SelvaneTool { colorPicker, screenRuler, fontInfo };

inline constexpr std::array<SelvaneTool, 3> allSelvaneTools = {SelvaneTool::colorPicker, SelvaneTool::screenRuler,
                                                              SelvaneTool::fontInfo};

// The stored form ("colorPicker").
std::string_view rawValue(SelvaneTool tool);
std::optional<SelvaneTool> selvaneToolFromRawValue(std::string_view rawValue);
// A fixed pair: the Chinese title for a Chinese-reading language, else the English one.
std::string_view title(SelvaneTool tool);

}  // namespace tallowmere
