#pragma once

#include "platform/ui/window.h"

namespace tallowmere {

// The calendar drop-down's borderless panel: it takes the keys (so the
// buttons answer Return and Escape) without ever becoming the main window.
class CalendarFloatingPanel : public platform::Panel {
public:
    using Panel::Panel;

    bool canBecomeKey() const override { return true; }
    bool canBecomeMain() const override { return false; }
};

}  // namespace tallowmere
