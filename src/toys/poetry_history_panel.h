#pragma once

#include <functional>
#include <memory>
#include <set>

namespace tallowmere {

namespace platform {
class Panel;
}

// "鉴赏录": a paper panel listing every appreciated poem in the collection's
// order, numbered "01", "02" …, or one line saying there is none yet.
namespace PoetryHistoryPanel {

inline constexpr const char* emptyLine = "卷中尚无朱印，静候一首有缘诗。";
inline constexpr double rowHeight = 82;

// `onClose` runs for the panel's close button.
std::shared_ptr<platform::Panel> make(const std::set<int>& reviewed, std::function<void()> onClose);

}  // namespace PoetryHistoryPanel

}  // namespace tallowmere
