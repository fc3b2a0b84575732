#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "platform/gfx/geometry.h"

namespace tallowmere {

namespace platform {
class Canvas;
class Image;
}

// How one buddy looks at one moment.
struct BuddyLook {
    int type = 0;   // 0...8, 8 the disco ball
    int style = 0;  // 0 digital, 1 realistic, 2 emoji
    double heading = 0;
    bool flying = true;
    bool alarmed = false;
    bool squashed = false;
};

// The bundle picture of each type that has one ("WorkBuddyCockroach", ...),
// none for the types drawn from shapes alone.
std::optional<std::string_view> buddyIllustrationName(int type);
// The emoji the emoji style shows for each type.
std::string_view buddyEmoji(int type);

// Draws the creature into `box`, turned to its heading: the digital style
// in flat shapes, the realistic one from its picture when given (else
// shaded shapes), the emoji one as its emoji. Flying shows spread wings or
// a hop, alarmed a red mark and wide eyes, squashed a flat splat.
void paintBuddy(platform::Canvas& canvas, platform::Rect box, const BuddyLook& look,
                const platform::Image* illustration);

}  // namespace tallowmere
