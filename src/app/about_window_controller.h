#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/window_controller.h"

namespace tallowmere {

namespace platform {
class PropertyValue;
class StackView;
class View;
}  // namespace platform

// The About window: the product's name and picture, the version, a greeting
// in the interface language, two cats and the support contact code, and an
// OK button. Built once, in the language in force then; closing only hides
// it. Reached through `AboutPresenter::show()`.
class AboutWindowController : public platform::WindowController {
public:
    static constexpr double windowWidth = 560;
    static constexpr double windowHeight = 630;

    // The one controller of the process (`AppContext::shared`), with its
    // window built.
    static std::shared_ptr<AboutWindowController> makeShared();

    // Makes the window; `makeShared` then fills it.
    AboutWindowController();

    // The OK button's action: hides the window, keeping it for the next show.
    void closeAbout();

private:
    void buildInterface();
    static std::shared_ptr<platform::View> makeAboutCat(std::string_view resourceName);
    static std::shared_ptr<platform::StackView> makeAboutCatColumn(std::string_view resourceName,
                                                                   std::string_view title, std::string_view caption);
    static std::shared_ptr<platform::StackView> makeDetailRow(std::string_view label, std::string_view value);
};

// The version line: the short version ("1.0.0" when absent or not text),
// then "（第", the build number ("-" when absent or not text) and "版构建）".
std::string aboutVersionText(const platform::PropertyValue* shortVersion, const platform::PropertyValue* buildNumber);

}  // namespace tallowmere
