#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/date.h"
#include "platform/base/result.h"

namespace tallowmere {

// The copies of the system hosts file kept before every apply, one file
// each in the backups folder. Nothing here deletes a backup.
namespace HostsBackups {

// "hosts-yyyyMMdd-HHmmss-SSS.backup" in the local time zone, Gregorian
// calendar, ASCII digits whatever the user's locale. Two backups in the same
// millisecond share a name; the later replaces the earlier.
std::string fileName(platform::Date date);

// The folder's backups, newest content-modification date first: regular
// files whose extension is exactly "backup", hidden ones left out. Files of
// equal date keep the order the folder listed them in; a file whose date
// cannot be read counts as the oldest.
platform::Result<std::vector<std::filesystem::path>> list(const std::filesystem::path& folder);

// The title a backup is listed by: its name without extension, every
// "hosts-" removed.
std::string listTitle(const std::filesystem::path& backup);

}  // namespace HostsBackups

}  // namespace tallowmere
