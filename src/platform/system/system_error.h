#pragma once

#include <string>

#include "platform/base/result.h"

namespace tallowmere::platform {

// The Error for a failed system call: the code a caller branches on comes
// from `errnum`, the message is `what` followed by the system's reason.
Error systemError(int errnum, const std::string& what);

// The system's reason for `errnum` ("No such file or directory").
std::string systemReason(int errnum);

}  // namespace tallowmere::platform
