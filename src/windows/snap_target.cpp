#include "windows/snap_target.h"

#include "localization/interface_language.h"

namespace tallowmere {

const SnapTargetInfo& info(SnapTarget target) {
    for (const auto& row : snapTargetTable) {
        if (row.target == target) return row;
    }
    return snapTargetTable.front();
}

std::string_view rawValue(SnapTarget target) { return info(target).rawValue; }

std::optional<SnapTarget> snapTargetFromRawValue(std::string_view text) {
    for (const auto& row : snapTargetTable) {
        if (row.rawValue == text) return row.target;
    }
    return std::nullopt;
}

std::string title(SnapTarget target) { return L(info(target).titleSource); }

}  // namespace tallowmere
