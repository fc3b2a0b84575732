#pragma once

#include <filesystem>
#include <string_view>

#include "platform/base/result.h"

namespace tallowmere::platform {

// The Mac's hidden flag, kept as Linux file managers keep it: the item's
// name on a line of the ".hidden" file in its folder. The file is written
// atomically and removed when no name is left in it; names of other
// programs' lines are kept as they are.
namespace HiddenFlag {

constexpr std::string_view listName = ".hidden";

bool isHidden(const std::filesystem::path& item);
// Marks or unmarks the item; the item must exist. A name that cannot stand
// on a line (one holding a line feed) cannot be marked.
Result<void> setHidden(const std::filesystem::path& item, bool hidden);
// Moves the mark of `from` to `to` (both names of the same item), as the
// flag travels with the file.
void carry(const std::filesystem::path& from, const std::filesystem::path& to);
// Gives `to` the mark `from` has, leaving `from` as it is (a copy).
void copy(const std::filesystem::path& from, const std::filesystem::path& to);
// Forgets the mark of an item that left its folder for good.
void forget(const std::filesystem::path& item);

}  // namespace HiddenFlag

}  // namespace tallowmere::platform
