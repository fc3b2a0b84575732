#pragma once

#include <array>
#include <string_view>

namespace tallowmere {

namespace platform {
class MenuItem;
}

// The full-screen text board. One per process (`shared()`).
//
// For now showing the board does nothing: the board and its editor come
// with the blackboard feature.
class BlackboardWindowController {
public:
    // The preset texts, shown as they are in every language; a preset's
    // index is its menu item's tag.
    static constexpr std::array<std::string_view, 5> presetTexts = {
        "开会中，稍后回来", "去个厕所，稍后回来", "🚬", "外出拜访", "电脑运行中，请勿动",
    };

    static BlackboardWindowController& shared();

    BlackboardWindowController() = default;
    BlackboardWindowController(const BlackboardWindowController&) = delete;
    BlackboardWindowController& operator=(const BlackboardWindowController&) = delete;

    // Opens the board's editor for custom text.
    void openFromMenu(platform::MenuItem& sender);
    // Shows the preset whose index is the sender's tag.
    void showPresetFromMenu(platform::MenuItem& sender);
};

}  // namespace tallowmere
