#pragma once

#include <memory>
#include <string>

#include "platform/ui/button.h"

namespace tallowmere {

// The look of the main window's two large buttons, About and Quit: a large
// rounded button with its symbol before the title.
class CrystalGlassButton : public platform::Button {
public:
    static std::shared_ptr<CrystalGlassButton> make(std::string title = {});

protected:
    CrystalGlassButton();
};

}  // namespace tallowmere
