#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/base/result.h"
#include "platform/ui/finder_sync.h"

namespace tallowmere::platform {

// Finder's side of its Finder Sync extension: it loads the extension's
// module (a shared object exporting `finderSyncEntryName`) as Finder loads
// an app extension, when a window first needs it; makes its principal
// object once; and shows the menus the principal builds wherever Finder asks
// for one. A module, once loaded, stays loaded for the process. Main thread
// only.
class FinderSyncExtensionHost {
public:
    // The extension's file name beside the program's executable, and where
    // its bundle lies inside the program's bundle.
    static constexpr const char* moduleFileName = "TallowbyFinderExtension.so";
    static constexpr const char* bundleLocation = "Contents/PlugIns/TallowbyFinderExtension.appex";

    static FinderSyncExtensionHost& shared();

    FinderSyncExtensionHost() = default;
    FinderSyncExtensionHost(const FinderSyncExtensionHost&) = delete;
    FinderSyncExtensionHost& operator=(const FinderSyncExtensionHost&) = delete;

    // Loads the module at `modulePath` now, as the extension whose bundle is
    // at `bundlePath` (a path of the simulated Mac), and makes its principal,
    // replacing the extension Finder had. Fails, changing nothing, when the
    // module cannot be opened or has no entry, or the entry makes none.
    Result<void> load(const std::filesystem::path& modulePath, const std::string& bundlePath);
    // Makes the module Finder's extension without loading it: Finder loads
    // it when a window first shows its button or menu. A module that then
    // fails to load leaves a line in the system log, and Finder goes on
    // without an extension.
    void install(const std::filesystem::path& modulePath, const std::string& bundlePath);
    // The program's own extension: the module beside the running program,
    // with its bundle inside the program's bundle.
    void installProgramExtension();

    // The loaded extension's principal; null before it is loaded.
    FinderSync* principal() const;

private:
    class Connection;
    std::shared_ptr<Connection> connection_;
};

}  // namespace tallowmere::platform
