#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "platform/runtime/notification_center.h"
#include "platform/ui/menu.h"
#include "platform/ui/window.h"
#include "screen/display_brightness_hardware.h"

namespace tallowmere::platform {
class MenuItem;
class SerialQueue;
class WorkItem;
}  // namespace tallowmere::platform

namespace tallowmere {

class BrightnessSliderRow;

// The black, click-through panel that dims a screen in software; its alpha
// is the darkness. It never takes the keys or becomes main.
class BrightnessShadePanel : public platform::Panel {
public:
    using Panel::Panel;
    bool canBecomeKey() const override { return false; }
    bool canBecomeMain() const override { return false; }
};

// Brightness of the built-in and external displays: the "亮度调节" submenu
// with one slider row per screen. A screen the hardware layer can control
// is set there (on the brightness queue, never the main thread, each
// display's moves debounced by 0.08 s); every other screen is dimmed by a
// shade panel. Late results are dropped: a newer scan, a newer move of the
// same slider or a change of the screens makes them stale. Its texts are
// fixed Chinese in every language. One per process (`shared()`).
class DisplayBrightnessController : public platform::MenuDelegate,
                                    public std::enable_shared_from_this<DisplayBrightnessController> {
public:
    using DisplayID = DisplayBrightnessHardware::DisplayID;

    static constexpr const char* queueLabel = "com.quenlow.tallowmere.brightness";
    static constexpr double writeDelaySeconds = 0.08;
    static constexpr double lowestHardwareLevel = 0.05;
    static constexpr double lowestSoftwareLevel = 0.2;
    // From here up a screen is left undimmed.
    static constexpr double undimmedLevel = 0.999;
    static constexpr int shadeLevel = 999;
    static constexpr std::uint64_t shadeCollectionBehavior = 321;
    static constexpr const char* monitorControlBundleIdentifier = "app.monitorcontrol.MonitorControl";

    static DisplayBrightnessController& shared();
    // Made with its observers of screen changes and termination.
    static std::shared_ptr<DisplayBrightnessController> makeShared();

    DisplayBrightnessController();
    ~DisplayBrightnessController() override;
    DisplayBrightnessController(const DisplayBrightnessController&) = delete;
    DisplayBrightnessController& operator=(const DisplayBrightnessController&) = delete;

    // A new "亮度调节" item with its submenu; each call makes a new one.
    std::shared_ptr<platform::MenuItem> makeMenuItem();

    // MenuDelegate
    void menuNeedsUpdate(platform::Menu& menu) override;
    void menuWillOpen(platform::Menu& menu) override;
    void menuDidClose(platform::Menu& menu) override;

    // Menu actions.
    void refresh(platform::MenuItem& sender);
    void clearSoftwareDimming(platform::MenuItem& sender);
    void showCredits(platform::MenuItem& sender);

    // What the submenu shows and the screens are dimmed by, for readers.
    std::shared_ptr<BrightnessSliderRow> row(DisplayID id) const;
    std::shared_ptr<BrightnessShadePanel> shade(DisplayID id) const;
    std::optional<double> hardwareLevel(DisplayID id) const;
    std::optional<double> softwareLevel(DisplayID id) const;

private:
    using Readings = std::map<DisplayID, DisplayBrightnessHardware::Reading>;

    void populate(platform::Menu& menu);
    void finishScan(std::uint64_t generation, const std::vector<DisplayBrightnessHardware::Screen>& screens,
                    const Readings& readings, const std::map<DisplayID, int>& revisionSnapshot,
                    const std::set<DisplayID>& pendingSnapshot);
    void change(DisplayID id, double level);
    void changeHardware(DisplayID id, double level);
    void changeSoftware(DisplayID id, double level);
    void finishWrite(DisplayID id, int revision, std::uint64_t topology, double level, bool succeeded);
    void screensChanged();
    void applicationWillTerminate();
    void cancelPendingWrites();
    void closeShades();
    void showHardwareLevel(BrightnessSliderRow& row, double level, const std::string& detail);
    void showSoftwareLevel(BrightnessSliderRow& row, double percent);

    std::unique_ptr<platform::SerialQueue> ioQueue_;
    std::weak_ptr<platform::Menu> currentMenu_;
    std::map<DisplayID, std::shared_ptr<BrightnessSliderRow>> rows_;
    std::map<DisplayID, std::shared_ptr<DisplayBrightnessHardware::Endpoint>> endpoints_;
    std::map<DisplayID, double> hardwareLevels_;
    std::map<DisplayID, double> softwareLevels_;
    std::map<DisplayID, std::shared_ptr<BrightnessShadePanel>> shades_;
    std::map<DisplayID, std::shared_ptr<platform::WorkItem>> pendingWrites_;
    std::map<DisplayID, int> revisions_;
    std::vector<platform::ObserverToken> observers_;
    std::uint64_t scanGeneration_ = 0;
    std::uint64_t topologyGeneration_ = 0;
    bool menuIsOpen_ = false;
    bool isStopping_ = false;
};

}  // namespace tallowmere
