#include "platform/system/system_error.h"

#include <cerrno>
#include <system_error>

namespace tallowmere::platform {

namespace {
ErrorCode codeFor(int errnum) {
    switch (errnum) {
        case ENOENT:
        case ENOTDIR:
            return ErrorCode::notFound;
        case EEXIST:
            return ErrorCode::alreadyExists;
        case EACCES:
        case EPERM:
        case EROFS:
            return ErrorCode::permissionDenied;
        case EINVAL:
        case ENAMETOOLONG:
            return ErrorCode::invalidArgument;
        case ETIMEDOUT:
            return ErrorCode::timedOut;
        default:
            return ErrorCode::ioFailed;
    }
}
}  // namespace

std::string systemReason(int errnum) {
    return std::generic_category().message(errnum);
}

Error systemError(int errnum, const std::string& what) {
    return Error{codeFor(errnum), what + ": " + systemReason(errnum) + ".", errnum};
}

}  // namespace tallowmere::platform
