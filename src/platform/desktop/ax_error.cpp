#include "platform/desktop/ax_error.h"

namespace tallowmere::platform {

const char* name(AXError error) {
    switch (error) {
        case AXError::success:
            return "success";
        case AXError::failure:
            return "failure";
        case AXError::illegalArgument:
            return "illegalArgument";
        case AXError::invalidElement:
            return "invalidElement";
        case AXError::cannotComplete:
            return "cannotComplete";
        case AXError::attributeUnsupported:
            return "attributeUnsupported";
        case AXError::actionUnsupported:
            return "actionUnsupported";
        case AXError::notImplemented:
            return "notImplemented";
        case AXError::apiDisabled:
            return "apiDisabled";
        case AXError::noValue:
            return "noValue";
        case AXError::parameterizedAttributeUnsupported:
            return "parameterizedAttributeUnsupported";
    }
    return "unknown";
}

namespace {
ErrorCode codeFor(AXError error) {
    switch (error) {
        case AXError::illegalArgument:
            return ErrorCode::invalidArgument;
        case AXError::invalidElement:
        case AXError::noValue:
            return ErrorCode::notFound;
        case AXError::cannotComplete:
            return ErrorCode::timedOut;
        case AXError::attributeUnsupported:
        case AXError::actionUnsupported:
        case AXError::parameterizedAttributeUnsupported:
        case AXError::notImplemented:
            return ErrorCode::unsupported;
        case AXError::apiDisabled:
            return ErrorCode::permissionDenied;
        default:
            return ErrorCode::internal;
    }
}
// Marks the errors that carry an AXError in `systemCode`.
constexpr const char* prefix = "Accessibility: ";
}  // namespace

Error axFailure(AXError error) {
    return Error{codeFor(error), std::string(prefix) + name(error), static_cast<int>(error)};
}

AXError axErrorOf(const Error& error) {
    if (error.message.rfind(prefix, 0) != 0) return AXError::failure;
    return static_cast<AXError>(error.systemCode);
}

}  // namespace tallowmere::platform
