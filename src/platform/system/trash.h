#pragma once

#include <filesystem>

#include "platform/base/date.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

// The person's Trash, kept as the desktop's file managers keep it: the
// item under "files/" of $XDG_DATA_HOME/Trash (~/.local/share/Trash), and
// beside it "info/<name>.trashinfo" with the place it came from and when,
// so a file manager can list it and put it back.
namespace Trash {

std::filesystem::path folder();

// Moves the item to the Trash under a name no other trashed item has
// ("name", "name.2", ...); returns where it now is. The info file is made
// first, so an item is never in the Trash without one; a move that fails
// takes it away again.
Result<std::filesystem::path> moveToTrash(const std::filesystem::path& item, Date deletionDate);

}  // namespace Trash

}  // namespace tallowmere::platform
