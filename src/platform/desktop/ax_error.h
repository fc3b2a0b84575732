#pragma once

#include <string>

#include "platform/base/result.h"

namespace tallowmere::platform {

// Why an Accessibility request failed. The raw values follow the platform's
// own numbering so that they read the same in logs.
enum class AXError : int {
    success = 0,
    failure = -25200,
    illegalArgument = -25201,
    invalidElement = -25202,
    cannotComplete = -25204,  // the application did not answer in time
    attributeUnsupported = -25205,
    actionUnsupported = -25206,
    notImplemented = -25208,  // the application does not speak Accessibility
    apiDisabled = -25211,     // this process is not trusted for Accessibility
    noValue = -25212,
    parameterizedAttributeUnsupported = -25213,
};

const char* name(AXError error);

// An Error value carrying `error` (its raw value in `systemCode`).
Error axFailure(AXError error);
// The AXError inside a failure made by `axFailure`; `failure` for any other.
AXError axErrorOf(const Error& error);

template <class T>
AXError axErrorOf(const Result<T>& result) {
    return result.ok() ? AXError::success : axErrorOf(result.error());
}

}  // namespace tallowmere::platform
