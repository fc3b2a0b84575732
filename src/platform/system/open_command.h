#pragma once

#include <filesystem>
#include <string>

#include "platform/system/command_call.h"

namespace tallowmere::platform {

// "/usr/bin/open" as far as the program uses it: `open -n <bundle>` with the
// program's own bundle starts a new instance of the program's executable
// (exit 0 once it runs). The new instance waits for the running one to let
// go of its lock instead of handing over to it: it learns that from
// `newInstanceVariable` in its environment. Anything else fails with open's
// usage status.
namespace OpenCommand {

inline constexpr const char* path = "/usr/bin/open";
inline constexpr const char* newInstanceVariable = "TALLOWMERE_NEW_INSTANCE";

int run(CommandCall& call, const std::string& ownBundlePath, const std::filesystem::path& executable);

}  // namespace OpenCommand

}  // namespace tallowmere::platform
