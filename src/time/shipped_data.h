#pragma once

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/base/result.h"

namespace tallowmere {

// The value of a data file built into the program. The build's data tests
// read every such file first, so a failure here means a broken build: it
// stops with the parser's message rather than run with an empty table.
template <typename T>
T shippedOrStop(platform::Result<T> parsed) {
    if (!parsed) {
        std::fprintf(stderr, "%s\n", parsed.error().message.c_str());
        std::abort();
    }
    return std::move(parsed).value();
}

}  // namespace tallowmere
