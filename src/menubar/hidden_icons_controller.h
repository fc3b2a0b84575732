#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/notification_center.h"

namespace tallowmere {

namespace platform {
class Menu;
class MenuItem;
class Popover;
class SerialQueue;
class StatusItem;
}  // namespace platform

// One choice of the system-wide spacing between status items; a preset
// without values gives the spacing back to the system.
struct GlobalSpacingPreset {
    std::string_view id;
    std::string_view title;
    std::optional<int> spacing;           // points
    std::optional<int> selectionPadding;  // points
};

// Hides other status items behind a collapsible separator. It places two
// items of its own, an arrow and a thin separator line; the icons a person
// drags (holding ⌘) left of the separator vanish when the separator is
// stretched far wider than the screens (collapsed) and come back when it
// shrinks (expanded). It also sets the system-wide status-item spacing
// through `defaults`. Nothing happens before `start`, and nothing in the
// program starts it. Main thread only.
class HiddenIconsController : public std::enable_shared_from_this<HiddenIconsController> {
public:
    static constexpr std::array<GlobalSpacingPreset, 4> globalSpacingPresets{{
        {"compact", "紧凑", 2, 2},
        {"standard", "标准", 6, 4},
        {"wide", "宽松", 10, 6},
        {"system", "系统默认", std::nullopt, std::nullopt},
    }};
    // Absent or not a Boolean: enabled.
    static constexpr std::string_view enabledKey = "hiddenIconsEnabled";
    // Absent: "system".
    static constexpr std::string_view spacingPresetKey = "hiddenIconsGlobalSpacingPreset";
    static constexpr std::string_view arrowAutosaveName = "com.quenlow.tallowmere.hidden-icons.arrow";
    static constexpr std::string_view separatorAutosaveName = "com.quenlow.tallowmere.hidden-icons.separator";
    static constexpr double arrowLength = 24;
    static constexpr double expandedSeparatorLength = 20;

    static std::shared_ptr<HiddenIconsController> make();
    ~HiddenIconsController();
    HiddenIconsController(const HiddenIconsController&) = delete;
    HiddenIconsController& operator=(const HiddenIconsController&) = delete;

    // Remembers the program's own icon, which must stay visible, watches
    // the screens and, when enabled, installs the two items.
    void start(const std::shared_ptr<platform::StatusItem>& protecting);
    // Shows the hidden icons again (installing the items if one is missing).
    void expand();
    std::shared_ptr<platform::Menu> makeSettingsMenu();
    bool menuFeatureEnabled() const { return isEnabled(); }

    // The arrow's button (a right click opens the settings instead).
    void handleArrowClick();
    void showSettingsMenu();
    // The settings menu's actions.
    void toggleCollapsed();
    void toggleEnabled(platform::MenuItem& item);
    void changeSpacing(platform::MenuItem& item);

    bool isCollapsed() const { return isCollapsed_; }
    // Twice the widest screen, within 500…10000 points; 2880 without a screen.
    double collapsedLength() const;
    // Icons to hide, separator, arrow, the program's icon: in that order
    // from the left, and all of them on screen.
    bool canSafelyCollapse() const;
    const std::shared_ptr<platform::StatusItem>& arrowItem() const { return arrowItem_; }
    const std::shared_ptr<platform::StatusItem>& separatorItem() const { return separatorItem_; }
    // The last note shown under the arrow.
    const std::shared_ptr<platform::Popover>& safetyPopover() const { return safetyPopover_; }

    struct Private {};
    explicit HiddenIconsController(Private);

private:
    bool isEnabled() const;
    void installStatusItems();
    void removeStatusItems();
    void applyCollapsedState();
    void showUnsafeOrderWarning();
    void applyGlobalSpacing(const GlobalSpacingPreset& preset);
    void screenConfigurationChanged();
    // A note under the arrow (else the separator); none without either.
    void showNote(double width, double height, double labelX, double labelY, double labelWidth, double labelHeight,
                  const std::string& text);

    std::shared_ptr<platform::StatusItem> arrowItem_;
    std::shared_ptr<platform::StatusItem> separatorItem_;
    std::weak_ptr<platform::StatusItem> protectedStatusItem_;
    std::shared_ptr<platform::Popover> safetyPopover_;
    bool isCollapsed_ = false;
    bool started_ = false;
    platform::ObserverToken screensObserver_;
    // The `defaults` commands run here, one after the other.
    std::unique_ptr<platform::SerialQueue> spacingQueue_;
};

}  // namespace tallowmere
