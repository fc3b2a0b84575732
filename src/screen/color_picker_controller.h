#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gfx/color.h"

namespace tallowmere {

namespace platform {
class ColorSampler;
class Menu;
class MenuItem;
}  // namespace platform

// Picks the colour of a pixel on screen with the loupe, copies it as
// "#RRGGBB" and keeps the last 20 in the preferences, newest first. One per
// process (`shared()`).
class ColorPickerController : public std::enable_shared_from_this<ColorPickerController> {
public:
    static constexpr const char* historyKey = "tallowmere.colorPicker.history";
    static constexpr std::size_t historyLimit = 20;
    // Time for the menu (or the selection bar) to close before the loupe.
    static constexpr double samplerDelaySeconds = 0.15;

    static ColorPickerController& shared();

    ColorPickerController();
    ColorPickerController(const ColorPickerController&) = delete;
    ColorPickerController& operator=(const ColorPickerController&) = delete;

    bool isSampling() const { return isSampling_; }

    // Starts one pick; ignored while one is under way.
    void pickFromMenu(platform::MenuItem& sender);
    void pick();
    // A new "取色历史" menu of the recorded colours, built afresh at each call.
    std::shared_ptr<platform::Menu> makeHistoryMenu();
    // Copies the sender's colour text again and moves it to the front.
    void copyHistoryColor(platform::MenuItem& sender);
    // Asks, then forgets every recorded colour.
    void clearHistory();

    // The stored colours, newest first; whatever is not a text is skipped.
    std::vector<std::string> history() const;
    // Puts `hex` at the front, dropping any entry equal to it in any case.
    void record(const std::string& hex);

private:
    void sampled(const std::optional<platform::Color>& color);

    std::shared_ptr<platform::ColorSampler> sampler_;
    bool isSampling_ = false;
};

}  // namespace tallowmere
