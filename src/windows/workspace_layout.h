#pragma once

#include <string>

#include "platform/base/date.h"
#include "platform/base/uuid.h"

namespace tallowmere {

// One saved workspace layout: its identity, the name the person gave it and
// when it was captured. The windows it records come with workspace layouts.
struct WorkspaceLayout {
    platform::Uuid id;
    std::string name;
    platform::Date createdAt;
};

}  // namespace tallowmere
