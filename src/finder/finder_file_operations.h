#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/serial_queue.h"

namespace tallowmere {

// Carries out the Finder actions that need more than the pasteboard:
// hidden flags, AirDrop, hashes, dissolving folders, copying and moving.
// File work runs one job at a time on `worker`; dialogs and alerts on the
// main thread. One per process (`shared()`).
class FinderFileOperations {
public:
    static FinderFileOperations& shared();
    FinderFileOperations() = default;
    FinderFileOperations(const FinderFileOperations&) = delete;
    FinderFileOperations& operator=(const FinderFileOperations&) = delete;

    // Starts the action on checked items; returns at once. Only
    // "unhide-all" uses the directory. Unknown actions do nothing.
    void handle(std::string_view action, const std::filesystem::path& directory,
                const std::vector<std::filesystem::path>& paths);

private:
    using Paths = std::vector<std::filesystem::path>;

    void setHidden(bool hidden, const Paths& paths);
    void unhideAll(const std::filesystem::path& folder);
    void shareByAirDrop(const Paths& paths);
    void calculateHashes(const Paths& paths, std::string_view algorithm);
    void chooseDestination(std::string_view title, const Paths& paths, bool move);
    void transfer(const Paths& paths, const std::filesystem::path& destination, bool move);
    void dissolveFolders(const Paths& paths);
    // On the main queue, later.
    void reportLater(std::string message);

    platform::SerialQueue worker_{"com.quenlow.tallowmere.finder-operations"};
};

}  // namespace tallowmere
