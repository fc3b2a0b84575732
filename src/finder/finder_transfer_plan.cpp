#include "finder/finder_transfer_plan.h"

#include <algorithm>
#include <map>

#include "platform/base/text.h"
#include "platform/system/files.h"

namespace tallowmere {

namespace fs = std::filesystem;
using namespace platform;

namespace {

bool isTaken(const fs::path& path) {
    return Files::kindOf(path).has_value();
}

// Targets whose composed names occur more than once, and those already
// taken on disk.
std::vector<std::string> clashesOf(const std::vector<FinderTransferPlan::Move>& moves, bool byNameOnly) {
    std::map<std::string, int> seen;
    std::vector<std::string> clashes;
    for (const auto& move : moves) {
        const auto key = byNameOnly ? Text::nfc(move.target.filename().string()) : Text::nfc(move.target.string());
        if (++seen[key] == 2) clashes.push_back(move.target.filename().string());
    }
    for (const auto& move : moves) {
        if (isTaken(move.target)) clashes.push_back(move.target.filename().string());
    }
    return FinderTransferPlan::sortedNames(clashes);
}

}  // namespace

std::vector<std::string> FinderTransferPlan::sortedNames(const std::vector<std::string>& names) {
    std::vector<std::string> composed;
    for (const auto& name : names) composed.push_back(Text::nfc(name));
    // UTF-8 bytes sort as their Unicode scalar values do.
    std::sort(composed.begin(), composed.end());
    composed.erase(std::unique(composed.begin(), composed.end()), composed.end());
    return composed;
}

FinderTransferPlan FinderTransferPlan::transfer(const std::vector<fs::path>& items, const fs::path& destination) {
    FinderTransferPlan plan;
    std::vector<std::string> nested;
    for (const auto& item : items) {
        plan.moves.push_back({item, destination / item.filename()});
        if (Files::kindOf(item) == Files::FileKind::directory && Files::isSameOrInside(destination, item))
            nested.push_back(item.filename().string());
    }
    plan.clashes = clashesOf(plan.moves, true);
    plan.nested = sortedNames(nested);
    return plan;
}

Result<FinderTransferPlan> FinderTransferPlan::dissolve(const std::vector<fs::path>& folders) {
    FinderTransferPlan plan;
    std::vector<std::string> nested;
    for (const auto& folder : folders) {
        for (const auto& other : folders) {
            if (&other != &folder && Files::isSameOrInside(folder, other)) {
                nested.push_back(folder.filename().string());
                break;
            }
        }
    }
    for (const auto& folder : folders) {
        auto entries = Files::contentsOfDirectory(folder);
        if (!entries) return entries.error();
        for (const auto& entry : *entries) plan.moves.push_back({entry, folder.parent_path() / entry.filename()});
    }
    plan.clashes = clashesOf(plan.moves, false);
    plan.nested = sortedNames(nested);
    return plan;
}

Result<void> FinderTransferPlan::perform(bool copy) const {
    for (std::size_t done = 0; done < moves.size(); ++done) {
        const auto& move = moves[done];
        auto result = copy ? Files::copyItem(move.source, move.target) : Files::moveItem(move.source, move.target);
        if (result) continue;
        // Undo in reverse order, so every source is where it was.
        for (std::size_t i = done; i-- > 0;) {
            if (copy)
                (void)Files::removeItem(moves[i].target);
            else
                (void)Files::moveItem(moves[i].target, moves[i].source);
        }
        return result;
    }
    return {};
}

}  // namespace tallowmere
