#pragma once

#include <filesystem>

#include "platform/base/result.h"

namespace tallowmere::platform {

// The simulated Mac's system files that features read and replace, under
// Paths::systemRoot().
namespace SystemFiles {

// "/private/etc/hosts" of the simulated Mac. The first call on an account
// seeds it from this machine's /etc/hosts (read only), so the editor starts
// from familiar text; later calls leave whatever the simulated system holds.
// Fails only when the folder or the seed cannot be written.
Result<std::filesystem::path> hosts();

}  // namespace SystemFiles

}  // namespace tallowmere::platform
