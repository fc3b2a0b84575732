#pragma once

#include "platform/system/command_call.h"

namespace tallowmere::platform {

namespace ChflagsCommand {

// chflags [-h] hidden|nohidden file ...
// Sets or clears the hidden flag (HiddenFlag) of each file. Other flags are
// refused with the usage. A file that cannot be changed gets
// "chflags: <file>: <reason>" on standard error, the others are still
// changed, and the status is 1.
int chflags(CommandCall& call);

}  // namespace ChflagsCommand

}  // namespace tallowmere::platform
