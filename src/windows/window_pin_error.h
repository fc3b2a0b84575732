#pragma once

#include <string>

namespace tallowmere {

// Why a window could not be pinned; the description is the text shown.
enum class WindowPinError { accessibilityRequired, screenRecordingRequired, noFocusedWindow, levelChangeFailed };

// Chinese in Chinese-name languages, English otherwise.
std::string localizedDescription(WindowPinError error);

}  // namespace tallowmere
