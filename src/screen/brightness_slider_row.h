#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/view.h"

namespace tallowmere::platform {
class Label;
class Slider;
}  // namespace tallowmere::platform

namespace tallowmere {

// One screen's row of the brightness submenu (320 × 92 pt): the screen's
// name, the level in percent, the slider and a detail line saying how the
// level is applied.
class BrightnessSliderRow : public platform::View {
public:
    static constexpr double width = 320;
    static constexpr double height = 92;

    static std::shared_ptr<BrightnessSliderRow> make(const std::string& screenName);

    platform::Slider& slider() const { return *slider_; }
    platform::Label& percent() const { return *percent_; }
    platform::Label& detail() const { return *detail_; }
    // The slider moved: the level 0...1.
    std::function<void(double level)> onChange;

    // The slider's action: shows the whole percent and reports the level.
    void changed();
    // The detail line's text and tooltip.
    void setDetail(const std::string& text);

protected:
    explicit BrightnessSliderRow(const std::string& screenName);

private:
    std::shared_ptr<platform::Slider> slider_;
    std::shared_ptr<platform::Label> percent_;
    std::shared_ptr<platform::Label> detail_;
};

}  // namespace tallowmere
