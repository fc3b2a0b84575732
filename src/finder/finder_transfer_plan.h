#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/result.h"

namespace tallowmere {

// A job that moves or copies a set of items, planned whole before anything
// is touched: names are never changed, so any name that would clash stops
// the whole job. Name lists for people are sorted by their composed form,
// each name once.
struct FinderTransferPlan {
    struct Move {
        std::filesystem::path source;
        std::filesystem::path target;
    };

    std::vector<Move> moves;
    // Names that occur twice among the targets or are taken already.
    std::vector<std::string> clashes;
    // Folders that would land in themselves or their own subfolders (copy
    // and move), or that lie inside another of the folders (dissolve).
    std::vector<std::string> nested;

    bool canRun() const { return clashes.empty() && nested.empty(); }

    // Each item into `destination` under its own name.
    static FinderTransferPlan transfer(const std::vector<std::filesystem::path>& items,
                                       const std::filesystem::path& destination);
    // Every entry of each folder into the folder's parent. A folder that
    // cannot be listed fails the plan.
    static platform::Result<FinderTransferPlan> dissolve(const std::vector<std::filesystem::path>& folders);

    // Runs the moves in order, copying or moving. All or nothing: after a
    // failure the items already moved go back and the copies already made
    // are removed, and the failure is returned.
    platform::Result<void> perform(bool copy) const;

    static std::vector<std::string> sortedNames(const std::vector<std::string>& names);
};

}  // namespace tallowmere
