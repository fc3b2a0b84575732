#pragma once

#include "platform/system/command_call.h"

namespace tallowmere::platform {

// Stand-ins for the Mac's digest commands, computing the same digests with
// the same arguments, output lines, messages and exit statuses.
namespace HashCommands {

// shasum [-a 1|224|256|384|512|512224|512256] [-b|-t] [file ...]
// One "<hex>  <file>\n" per file ("<hex> *<file>" with -b); no file or "-"
// reads standard input as "-". A file that cannot be read gets
// "shasum: <file>: <reason>" on standard error, the others are still
// hashed, and the status is 1.
int shasum(CommandCall& call);

// md5 [-q] [-r] [-s string] [file ...]
// "MD5 (<file>) = <hex>\n" per file; -q prints the digest alone, -r prints
// "<hex> <file>"; -s hashes the string; with neither files nor -s, standard
// input is hashed and printed as the digest alone.
int md5(CommandCall& call);

}  // namespace HashCommands

}  // namespace tallowmere::platform
