#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere {

// The rounded background of every card of the main window: white in light
// appearance, a dark grey in dark, recoloured in place when the appearance
// changes.
class AppleSettingsCardView : public platform::View {
public:
    static std::shared_ptr<AppleSettingsCardView> make();

    void viewDidChangeEffectiveAppearance() override { refreshAppearance(); }

protected:
    AppleSettingsCardView();

private:
    void refreshAppearance();
};

}  // namespace tallowmere
