#pragma once

#include <memory>

#include "platform/desktop/desktop.h"

namespace tallowmere::bench {

// A trusted program with an editor in front showing one window at `frame`,
// where the selection benchmarks put their text; null if the desktop refused.
inline std::shared_ptr<platform::SimulatedWindow> frontEditorWindow(platform::AXRect frame = {100, 100, 800, 600}) {
    auto& desktop = platform::Desktop::shared();
    desktop.accessibility().setTrusted(true);
    auto app = desktop.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    if (!app) return nullptr;
    auto window = (*app)->addWindow({.title = "Notes", .frame = frame});
    desktop.activate(**app);
    return window;
}

}  // namespace tallowmere::bench
