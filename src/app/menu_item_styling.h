#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/base/date.h"
#include "platform/gfx/image.h"

namespace tallowmere {

namespace platform {
class Menu;
class MenuItem;
}  // namespace platform

// One look for the status menu's items, whatever feature made them: icons
// of one size in one column, active states and countdowns in the system
// blue, and no ellipses. Main thread only.

// --- Icons -------------------------------------------------------------------
// A 16 × 16 template image of the named system symbol at 13 points; the
// symbol "circle" when the name is unknown.
platform::Image unifiedMenuIcon(std::string_view symbolName, std::string_view description);
// Draws one emoji centred in the rectangle it is given.
platform::Image::DrawHandler uniformMenuEmojiIcon(std::string emoji);
// The emoji image as the menu uses it: drawn at 20 × 20, shown at 16 × 16.
platform::Image menuEmojiImage(std::string emoji);
// "AI" in bold system blue, for a 16 × 16 image.
platform::Image::DrawHandler aiMenuTextIcon();
// A small board on two legs, for an 18 × 18 template image.
platform::Image::DrawHandler boardMenuIcon();
// A 16 × 16 image that draws nothing: it keeps a title in the icon column.
platform::Image blankMenuIcon();

// --- Passes over a finished menu and its submenus ----------------------------
// Every icon redrawn at most 14 × 14 in the middle of a 16 × 16 square.
void normalizeMenuIcons(platform::Menu& menu);
// Every icon shown at 16 × 16.
void normalizeMenuIconSizes(platform::Menu& menu);
// Every "…" and "..." removed from the titles; styled titles keep their styles.
void removeEllipsesFromMenuTitles(platform::Menu& menu);

// --- Titles ---------------------------------------------------------------------
// The part from the first " · " on in system blue; no " · ", no change.
void styleActiveStatusSuffix(platform::MenuItem& item);
// The whole title in system blue: the chosen option of a submenu.
void styleActiveMenuOption(platform::MenuItem& item);
// The last occurrence of `value` in semibold monospaced digits, system blue.
void styleCountdownValue(platform::MenuItem& item, std::string_view value);

// "MM:SS", or "HH:MM:SS" from an hour on, of the whole seconds (rounded up)
// from `now` to `until`; none when less than a second is left.
std::optional<std::string> exactCountdownText(platform::Date until, platform::Date now);

}  // namespace tallowmere
