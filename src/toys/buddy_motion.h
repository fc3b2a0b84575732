#pragma once

#include <array>
#include <optional>

#include "platform/gfx/geometry.h"

namespace tallowmere {

class ToyRandom;
struct Fly;

// How a buddy of each personality (activity 0, 1, 2) moves.
struct BuddyPersonality {
    double cruiseSpeed;  // points per second
    double alarmRadius;  // the pointer closer than this makes it flee
    double restMin;      // seconds it sits still after arriving
    double restMax;
};
inline constexpr std::array<BuddyPersonality, 3> buddyPersonalities{{
    {115, 86, 2.2, 4.8},
    {175, 104, 1.5, 3.4},
    {245, 126, 0.8, 2.2},
}};
const BuddyPersonality& buddyPersonality(int activity);  // clamped to 0...2

// What one frame of the buddies' timer shares: the time, the pointer and
// the blend factors worked out from the frame's length.
struct BuddyFrame {
    double now = 0;
    double dt = 0;  // clamped to 0...0.1
    platform::ScreenPoint pointer;
    double kCruise = 0;
    double kAlarm = 0;
    double kTurn = 0;

    // `dt` is the raw time since the last frame; a stall counts as 0.1 s.
    static BuddyFrame make(double now, double dt, platform::ScreenPoint pointer);
};

// The desktop's rectangle a buddy lives in when there is no screen at all.
inline constexpr platform::ScreenRect noScreenFrame{0, 0, 1200, 800};

// A point uniform in the closed rectangle.
platform::ScreenPoint randomPoint(platform::ScreenRect rect, ToyRandom& random);
// Where a buddy at `current` goes next: anywhere on its screen, or away
// from `threat` (210...390 pt off, up to 90 pt aside), kept 28 pt inside
// the screen's visible frame.
platform::ScreenPoint randomTarget(platform::ScreenPoint current, std::optional<platform::ScreenPoint> threat,
                                   ToyRandom& random);
// One of the four corners of the buddy's screen, 64 pt outside on both axes.
platform::ScreenPoint homeCorner(platform::ScreenPoint current, ToyRandom& random);

// Moves one buddy for one frame: flight, rest, escape from the pointer and
// the turn of its heading. True when a buddy going home has arrived and is
// to be removed. Killed buddies are not to be passed.
bool advanceBuddy(Fly& fly, const BuddyFrame& frame, ToyRandom& random);

}  // namespace tallowmere
