#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/notification_center.h"
#include "platform/ui/menu.h"

namespace tallowmere {

namespace platform {
class MenuItem;
class WorkItem;
}  // namespace platform

// Re-selects the person's chosen keyboard input source shortly after every
// application switch, so a manual change lasts until the next switch. With
// no choice stored it follows the system and never selects anything. One
// per process (`shared()`), started first thing at start-up; it is also the
// delegate of its status-menu submenu. Main thread only.
class DefaultInputSourceController final : public platform::MenuDelegate,
                                           public std::enable_shared_from_this<DefaultInputSourceController> {
public:
    static constexpr std::string_view preferenceKey = "defaultKeyboardInputSourceID";
    // The chosen source's name, to label it once it has gone.
    static constexpr std::string_view nameKey = "defaultKeyboardInputSourceName";
    // Switches closer together than this collapse into one selection.
    static constexpr double applicationDelay = 0.2;

    struct Source {
        std::string id;
        std::string name;
    };

    static DefaultInputSourceController& shared();

    DefaultInputSourceController() = default;
    ~DefaultInputSourceController() override;
    DefaultInputSourceController(const DefaultInputSourceController&) = delete;
    DefaultInputSourceController& operator=(const DefaultInputSourceController&) = delete;

    // Watches application activations (once) and re-selects now.
    void start();
    bool isStarted() const { return started_; }
    // A new "默认输入法 · ..." item with its submenu.
    std::shared_ptr<platform::MenuItem> makeMenuItem();
    void menuNeedsUpdate(platform::Menu& menu) override;
    // The submenu's actions.
    void selectSource(platform::MenuItem& item);
    void followSystem(platform::MenuItem& item);

    // The enabled, selectable keyboard sources, each identifier once, by
    // name (equal names by identifier).
    std::vector<Source> enabledSources() const;

private:
    void scheduleApplication();
    void cancelPendingApplication();
    void populate(platform::Menu& menu);
    void persist() const;

    bool started_ = false;
    platform::ObserverToken activationObserver_;
    std::shared_ptr<platform::WorkItem> pendingApplication_;
    // Tells a pending re-selection from one cancelled since.
    int generation_ = 0;
};

}  // namespace tallowmere
