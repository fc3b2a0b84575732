#pragma once

namespace tallowmere {

// The quick-launch entries (applications, websites, snippets, files and
// new-file templates). One store is made by the application delegate once
// the configuration mirror is active and is shared with the input
// controller and the main window for the rest of the run.
//
// For now it holds no entries: loading them (from the mirror's quick-launch
// blob first, then quick-launch.json) comes with the quick-launch feature.
class QuickLaunchStore {
public:
    QuickLaunchStore() = default;
    QuickLaunchStore(const QuickLaunchStore&) = delete;
    QuickLaunchStore& operator=(const QuickLaunchStore&) = delete;
};

}  // namespace tallowmere
