#pragma once

#include <array>
#include <string>

#include "platform/base/result.h"

namespace tallowmere {

// The program's failures that reach the user as one sentence. A case carries
// nothing; its text is made when asked, in the current interface language.
enum class AppError {
    accessibilityRequired,    // the operation needs the Accessibility permission
    noWindows,                // a layout capture found no window worth saving
    layoutNotFound,           // the requested layout does not exist (any more)
    invalidApplication,       // the chosen item is not a usable application
    invalidWebsite,           // the entered web address is not valid
    invalidQuickInformation,  // the information text is over 100 characters
    invalidQuickFileName,     // the entered file name is not valid
    invalidQuickFilePath,     // a file entry's path is invalid or its file is gone
};

inline constexpr std::array allAppErrors = {
    AppError::accessibilityRequired, AppError::noWindows,
    AppError::layoutNotFound,        AppError::invalidApplication,
    AppError::invalidWebsite,        AppError::invalidQuickInformation,
    AppError::invalidQuickFileName,  AppError::invalidQuickFilePath,
};

// The message shown to the user; never empty.
std::string errorDescription(AppError error);

// The error as a failed Result's value: the message is `errorDescription`,
// so whoever shows a Result's error shows the user's sentence.
platform::Error makeError(AppError error);

}  // namespace tallowmere
