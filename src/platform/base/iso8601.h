#pragma once

#include <string>
#include <string_view>

#include "platform/base/date.h"
#include "platform/base/result.h"

namespace tallowmere::platform {

struct Iso8601Options {
    // Writes milliseconds (".250") and accepts a fraction on reading. Off, a
    // fraction is dropped on writing and makes reading fail, which is what
    // stored files with whole-second dates require.
    bool fractionalSeconds = false;
};

// Internet date-times (RFC 3339 profile of ISO 8601) as stored files use them:
// "2026-12-10T08:30:00Z". Writing is always UTC with "Z"; the seconds are
// floored, so two dates within one second write the same text. Reading
// accepts "Z" or a numeric offset ("+08:00", "-0530"), upper-case "T" and
// "Z" only, and checks every field's range (no 24:00, no leap second, no
// 31 April).
namespace Iso8601 {

std::string format(Date date, Iso8601Options options = {});
Result<Date> parse(std::string_view text, Iso8601Options options = {});

}  // namespace Iso8601

}  // namespace tallowmere::platform
