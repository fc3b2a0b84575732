#include "toys/buddy_motion.h"

#include <algorithm>
#include <cmath>

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"
#include "toys/fly.h"
#include "toys/toy_random.h"

namespace tallowmere {

using platform::ScreenPoint;
using platform::ScreenRect;

namespace {

constexpr double homeSpeed = 430;
constexpr double arrivedHomeWithin = 9;
constexpr double arrivedWithin = 7;
constexpr double escapeAgainAfter = 0.28;
constexpr double alarmedSpeedFactor = 1.45;
constexpr double giantExtraRadius = 42;
constexpr double targetInset = 28;
constexpr double homeCornerOffset = 64;

double length(ScreenPoint v) { return std::hypot(v.x, v.y); }

// The screen holding `point`, else a random one, else the main one.
std::optional<ScreenRect> screenVisibleFrameFor(ScreenPoint point, ToyRandom& random) {
    auto& arrangement = platform::DesktopLink::desktop().screens();
    const auto screens = arrangement.screens();
    for (const auto& screen : screens) {
        if (screen->frame().contains(point)) return screen->visibleFrame();
    }
    if (!screens.empty()) return screens[static_cast<std::size_t>(random.index(static_cast<int>(screens.size())))]->visibleFrame();
    if (auto main = arrangement.mainScreen()) return main->visibleFrame();
    return std::nullopt;
}

// Velocity eases toward `desired` by `k`; the step never passes the target.
void flyToward(Fly& fly, ScreenPoint position, ScreenPoint toTarget, double dist, ScreenPoint desired, double k,
               double dt) {
    fly.velocity.x += (desired.x - fly.velocity.x) * k;
    fly.velocity.y += (desired.y - fly.velocity.y) * k;
    ScreenPoint step{fly.velocity.x * dt, fly.velocity.y * dt};
    if (length(step) > dist) step = toTarget;
    const auto frame = fly.window->frame();
    fly.window->setFrameOrigin({position.x + step.x - frame.width() / 2, position.y + step.y - frame.height() / 2});
}

void turnHeading(Fly& fly, double kTurn) {
    if (length(fly.velocity) <= 1) return;
    const double desired = std::atan2(fly.velocity.y, fly.velocity.x);
    const double heading = fly.view->heading();
    const double delta = std::atan2(std::sin(desired - heading), std::cos(desired - heading));
    fly.view->setHeading(heading + kTurn * delta);
}

}  // namespace

const BuddyPersonality& buddyPersonality(int activity) {
    return buddyPersonalities[static_cast<std::size_t>(std::clamp(activity, 0, 2))];
}

BuddyFrame BuddyFrame::make(double now, double dt, ScreenPoint pointer) {
    BuddyFrame frame;
    frame.now = now;
    frame.dt = dt > 0 ? std::min(dt, 0.1) : 0;
    frame.pointer = pointer;
    frame.kCruise = std::min(9 * frame.dt, 1.0);
    frame.kAlarm = std::min(13 * frame.dt, 1.0);
    frame.kTurn = std::min(10 * frame.dt, 1.0);
    return frame;
}

ScreenPoint randomPoint(ScreenRect rect, ToyRandom& random) {
    const double x = random.uniform(rect.minX(), rect.maxX());
    const double y = random.uniform(rect.minY(), rect.maxY());
    return {x, y};
}

ScreenPoint randomTarget(ScreenPoint current, std::optional<ScreenPoint> threat, ToyRandom& random) {
    const ScreenRect area = screenVisibleFrameFor(current, random).value_or(noScreenFrame).insetBy(targetInset, targetInset);
    if (!threat) return randomPoint(area, random);
    const ScreenPoint away{current.x - threat->x, current.y - threat->y};
    const double len = std::max(1.0, length(away));
    const ScreenPoint u{away.x / len, away.y / len};
    const double distance = random.uniform(210, 390);
    const double lateral = random.uniform(-90, 90);
    const double x = current.x + u.x * distance - u.y * lateral;
    const double y = current.y + u.y * distance + u.x * lateral;
    return {std::clamp(x, area.minX(), std::max(area.minX(), area.maxX())),
            std::clamp(y, area.minY(), std::max(area.minY(), area.maxY()))};
}

ScreenPoint homeCorner(ScreenPoint current, ToyRandom& random) {
    auto& arrangement = platform::DesktopLink::desktop().screens();
    std::optional<ScreenRect> frame;
    for (const auto& screen : arrangement.screens()) {
        if (screen->frame().contains(current)) {
            frame = screen->frame();
            break;
        }
    }
    if (!frame) {
        if (auto main = arrangement.mainScreen()) frame = main->frame();
    }
    const ScreenRect r = frame.value_or(noScreenFrame);
    const double o = homeCornerOffset;
    const std::array<ScreenPoint, 4> corners{{{r.minX() - o, r.minY() - o},
                                              {r.maxX() + o, r.minY() - o},
                                              {r.minX() - o, r.maxY() + o},
                                              {r.maxX() + o, r.maxY() + o}}};
    return corners[static_cast<std::size_t>(random.index(4))];
}

bool advanceBuddy(Fly& fly, const BuddyFrame& frame, ToyRandom& random) {
    auto& view = *fly.view;
    const ScreenPoint p = fly.window->frame().center();

    if (fly.isGoingHome) {
        const ScreenPoint d{fly.target.x - p.x, fly.target.y - p.y};
        const double dist = length(d);
        if (!(dist >= arrivedHomeWithin)) return true;  // also when not a number
        const double k = view.isAlarmed() ? frame.kAlarm : frame.kCruise;
        flyToward(fly, p, d, dist, {d.x / dist * homeSpeed, d.y / dist * homeSpeed}, k, frame.dt);
        turnHeading(fly, frame.kTurn);
        view.setFlying(true);
        return false;
    }

    const auto& personality = buddyPersonality(fly.activity);
    const double radius = personality.alarmRadius + (fly.isGiant ? giantExtraRadius : 0);
    const ScreenPoint fromPointer{p.x - frame.pointer.x, p.y - frame.pointer.y};
    if (length(fromPointer) < radius && frame.now - fly.lastEscapeTargetAt >= escapeAgainAfter) {
        fly.restingUntil = 0;
        fly.target = randomTarget(p, frame.pointer, random);
        fly.lastEscapeTargetAt = frame.now;
        view.setAlarmed(true);
    }

    if (fly.restingUntil > frame.now) {
        fly.velocity = {0, 0};
        view.setFlying(false);
        return false;
    }
    const ScreenPoint d{fly.target.x - p.x, fly.target.y - p.y};
    const double dist = length(d);
    if (dist >= arrivedWithin) {
        const double ease = std::clamp(dist / 72, 0.2, 1.0);
        const bool alarmed = view.isAlarmed();
        const double top = alarmed ? personality.cruiseSpeed * alarmedSpeedFactor : personality.cruiseSpeed;
        const double k = alarmed ? frame.kAlarm : frame.kCruise;
        flyToward(fly, p, d, dist, {d.x / dist * ease * top, d.y / dist * ease * top}, k, frame.dt);
        turnHeading(fly, frame.kTurn);
        view.setFlying(true);
        return false;
    }
    fly.restingUntil = frame.now + random.uniform(personality.restMin, personality.restMax);
    fly.target = randomTarget(p, std::nullopt, random);
    fly.velocity = {0, 0};
    view.setFlying(false);
    view.setAlarmed(false);
    return false;
}

}  // namespace tallowmere
