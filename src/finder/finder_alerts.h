#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tallowmere {

// The Finder integration's modal texts, shown as they are (no translation).
namespace FinderAlerts {

constexpr std::string_view bridgeTitle = "塔洛梅文件操作未完成";
constexpr std::string_view operationsTitle = "文件操作未完成";
// A confirmation names at most this many targets, then how many more.
constexpr std::size_t listedTargetLimit = 20;

// A warning alert with `title`, `message` and the one button "好", brought
// to the front and run modally.
void showError(std::string_view title, const std::string& message);

// The first targets one per line, then "\n另有 N 个项目。" when some are
// left out.
std::string targetList(const std::vector<std::string>& targets);

}  // namespace FinderAlerts

}  // namespace tallowmere
