#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/base/url.h"
#include "platform/desktop/ax_element.h"
#include "platform/gfx/geometry.h"

namespace tallowmere {

// What window management does to other applications' windows, through
// Accessibility. Frames are in Accessibility space (top-left origin, y down);
// see ScreenGeometry for the conversions.
//
// Every operation turns a refusal, an unreadable attribute or a value of
// another kind into its empty answer (none, false, "" or no windows) and
// reports nothing further. The upward walks stop after eight elements, so a
// deep or cyclic element tree cannot stall input handling. These are
// synchronous requests to other processes, made on the main thread.
namespace Accessibility {

// The walks look at the starting element and at most seven ancestors.
inline constexpr int maximumWalk = 8;
// How far a written frame may land from the one asked for and still count.
inline constexpr double frameTolerance = 1;

// The windows of a process, as its application lists them.
std::vector<platform::AXElement> windows(pid_t pid);
// The window under a point of screen space: the element hit there, or the
// first of its ancestors that is a window or names its window.
std::optional<platform::AXElement> windowAtCocoaPoint(platform::ScreenPoint point);

std::optional<platform::AXRect> frame(const platform::AXElement& window);
// Moves, resizes and moves again (an application that clamps the size may
// have moved the window to keep it on screen); true when the window then
// lies within a point of `frame` on every edge and length.
bool setFrame(const platform::AXRect& frame, const platform::AXElement& window);

std::string title(const platform::AXElement& element);
bool isOwnedByCurrentApplication(const platform::AXElement& element);

bool isMinimized(const platform::AXElement& window);
// True when the window is in the requested state afterwards.
bool setMinimized(bool minimized, const platform::AXElement& window);

// The window's document: a URL as given, a text with a scheme as that URL,
// any other non-empty text as a file path.
std::optional<platform::Url> documentURL(const platform::AXElement& window);

// True for a password field or protected content, or anything inside one.
bool isSecureTextElement(const platform::AXElement& element);

}  // namespace Accessibility

// Opens the Accessibility page of the privacy settings, so the person can
// allow the program. Shows nothing itself.
void presentAccessibilityPermissionPrompt();

}  // namespace tallowmere
