#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere {

// The main window's page background: a light grey in light appearance, a
// near black in dark, recoloured in place when the appearance changes.
class AppBackgroundView : public platform::View {
public:
    static std::shared_ptr<AppBackgroundView> make();

    void viewDidChangeEffectiveAppearance() override { refreshAppearance(); }

protected:
    AppBackgroundView();

private:
    void refreshAppearance();
};

}  // namespace tallowmere
