#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/base/result.h"
#include "platform/base/uuid.h"
#include "windows/workspace_layout.h"

namespace tallowmere {

// The saved workspace layouts, kept in layouts.json, and their capture,
// deletion and restore. The application delegate makes the one store at its
// construction (through std::make_shared: a restore holds it weakly) and
// shares it with the main window and the status menu. Main thread only.
//
// The file is read once, at creation; afterwards the list in memory is the
// truth and the file is rewritten after every change. A file that cannot be
// read is kept aside before anything is written over it.
class LayoutStore : public std::enable_shared_from_this<LayoutStore> {
public:
    // The number of windows put back, or the error to show.
    using RestoreCompletion = std::function<void(platform::Result<int> restored)>;

    // Loads the list; never fails (an unreadable file gives an empty list).
    LayoutStore();
    LayoutStore(const LayoutStore&) = delete;
    LayoutStore& operator=(const LayoutStore&) = delete;

    // Every saved layout, newest first; readers address them by id.
    std::vector<WorkspaceLayout> layouts;

    // layouts.json in the Perrowgate folder of Application Support.
    const std::filesystem::path& fileURL() const { return fileURL_; }

    // Writes the whole list to the file, atomically.
    platform::Result<void> persist();
    // Records every qualifying window as a new layout at the front of the
    // list, then persists. A blank name gets the numbered default. Fails with
    // the Accessibility or no-windows error (nothing changed) or with the
    // writing error (the new layout stays in the list).
    platform::Result<void> capture(std::string_view name);
    // Removes every layout with this id (none is no error) and persists.
    platform::Result<void> deleteLayout(const platform::Uuid& id);
    // Puts the layout `id` back on screen; `completion` runs exactly once on
    // the main thread: at once when refused, else when the restore ends.
    void restore(const platform::Uuid& id, RestoreCompletion completion);

private:
    void load();

    std::filesystem::path fileURL_;
    // The stored file could not be read nor kept aside: writing over it
    // would lose it, so every write is refused.
    bool fileIsProtected_ = false;
};

// Whether the person keeps the workspace commands switched on
// ("workspaceMemoryEnabled"; on unless stored as a boolean false).
namespace WorkspaceMemoryPreference {
bool isEnabled();
}

}  // namespace tallowmere
