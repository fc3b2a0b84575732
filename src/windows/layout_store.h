#pragma once

#include <functional>
#include <vector>

#include "platform/base/result.h"
#include "platform/base/uuid.h"
#include "windows/workspace_layout.h"

namespace tallowmere {

// The saved workspace layouts and their restore. The application delegate
// makes the one store at its construction and shares it with the main
// window and the status menu.
//
// For now it holds no layouts, so every restore is refused as not found;
// loading layouts.json, capturing and restoring come with workspace layouts.
class LayoutStore {
public:
    // The number of windows put back, or the error to show.
    using RestoreCompletion = std::function<void(platform::Result<int> restored)>;

    LayoutStore() = default;
    LayoutStore(const LayoutStore&) = delete;
    LayoutStore& operator=(const LayoutStore&) = delete;

    // Every saved layout, newest first; readers address them by id.
    std::vector<WorkspaceLayout> layouts;

    // Puts the layout `id` back on screen; `completion` runs exactly once on
    // the main thread (at once when the layout does not exist).
    void restore(const platform::Uuid& id, RestoreCompletion completion);
};

// Whether the person keeps the workspace commands switched on
// ("workspaceMemoryEnabled"; on unless stored as a boolean false).
namespace WorkspaceMemoryPreference {
bool isEnabled();
}

}  // namespace tallowmere
