#pragma once

#include "platform/system/command_call.h"

namespace tallowmere::platform {

class SystemSettings;

// The simulated Mac's setting tools, in their own argument and output
// formats, over `SystemSettings`. Anything they do not know is refused with
// a usage line on standard error and status 1 (64 for sysadminctl), so a
// caller never reads a guess.
namespace SystemSettingsCommands {

// pmset -g custom: each power source's settings, battery first.
int pmset(CommandCall& call, const SystemSettings& settings);
// defaults [-currentHost] read DOMAIN KEY
// defaults [-currentHost] write DOMAIN KEY [-int|-integer|-float|-bool|-boolean|-string] VALUE
// defaults [-currentHost] delete DOMAIN [KEY]
// DOMAIN may be -globalDomain. A missing value or domain is status 1.
int defaults(CommandCall& call, SystemSettings& settings);
// sysadminctl -screenLock status: the password delay, on standard error
// after a log prefix, as the tool reports it.
int sysadminctl(CommandCall& call, const SystemSettings& settings);

}  // namespace SystemSettingsCommands

}  // namespace tallowmere::platform
