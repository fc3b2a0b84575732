#include "toys/buddy_painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gfx/canvas.h"
#include "platform/gfx/color.h"
#include "platform/gfx/font.h"
#include "platform/gfx/image.h"
#include "platform/gfx/path.h"

namespace tallowmere {

using platform::Canvas;
using platform::Color;
using platform::Path;
using platform::Point;
using platform::Rect;

namespace {

struct Creature {
    std::string_view illustration;  // empty: shapes only
    std::string_view emoji;
    Color body;
    Color accent;
};

const std::array<Creature, 9>& creatures() {
    static const std::array<Creature, 9> table{{
        {"", "🪰", Color::sRGB(0.18, 0.2, 0.24), Color::sRGB(0.75, 0.12, 0.1)},
        {"WorkBuddyCockroach", "🪳", Color::sRGB(0.45, 0.23, 0.1), Color::sRGB(0.68, 0.4, 0.2)},
        {"WorkBuddyMosquito", "🦟", Color::sRGB(0.3, 0.3, 0.33), Color::sRGB(0.85, 0.85, 0.88)},
        {"", "🪲", Color::sRGB(0.1, 0.42, 0.3), Color::sRGB(0.2, 0.75, 0.5)},
        {"WorkBuddyTempura", "🍤", Color::sRGB(0.95, 0.72, 0.3), Color::sRGB(0.95, 0.38, 0.25)},
        {"", "🍔", Color::sRGB(0.85, 0.55, 0.2), Color::sRGB(0.35, 0.2, 0.1)},
        {"WorkBuddyBroccoli", "🥦", Color::sRGB(0.2, 0.6, 0.2), Color::sRGB(0.55, 0.78, 0.35)},
        {"WorkBuddyChiliSauce", "🌶️", Color::sRGB(0.85, 0.1, 0.08), Color::sRGB(0.95, 0.85, 0.75)},
        {"WorkBuddyDiscoBall", "🪩", Color::sRGB(0.72, 0.75, 0.8), Color::sRGB(0.95, 0.95, 1.0)},
    }};
    return table;
}

const Creature& creature(int type) { return creatures()[static_cast<std::size_t>(std::clamp(type, 0, 8))]; }

Color shaded(const Color& color, double factor) {
    const auto c = color.rgba();
    return Color::sRGB(std::clamp(c.red * factor, 0.0, 1.0), std::clamp(c.green * factor, 0.0, 1.0),
                       std::clamp(c.blue * factor, 0.0, 1.0), c.alpha);
}

// Fills `path` flat (digital) or with a light from the upper left (realistic).
void fillBody(Canvas& canvas, const Path& path, const Color& color, bool realistic) {
    canvas.setFillColor(color);
    canvas.fill(path);
    if (!realistic) {
        canvas.setStrokeColor(shaded(color, 0.45));
        canvas.stroke(path);
        return;
    }
    const Rect b = path.bounds();
    canvas.save();
    canvas.clip(path);
    canvas.setFillColor(Color::calibratedWhite(1, 0.28));
    canvas.fillEllipse({b.minX() + b.width() * 0.15, b.minY() + b.height() * 0.5, b.width() * 0.5, b.height() * 0.4});
    canvas.setFillColor(Color::calibratedWhite(0, 0.18));
    canvas.fillEllipse({b.minX() + b.width() * 0.3, b.minY() - b.height() * 0.3, b.width() * 0.9, b.height() * 0.6});
    canvas.restore();
}

// Wings: spread and pale while flying, folded along the back at rest.
void paintWings(Canvas& canvas, double s, const BuddyLook& look, const Creature& c) {
    const Color wing = look.type == 3 ? shaded(c.accent, 0.8) : Color::sRGB(0.8, 0.9, 1.0, look.flying ? 0.55 : 0.75);
    for (int side : {-1, 1}) {
        canvas.save();
        canvas.rotate(side * (look.flying ? 1.05 : 0.22));
        canvas.setFillColor(wing);
        canvas.fillEllipse({-s * 0.34, -s * 0.07, s * (look.flying ? 0.36 : 0.42), s * 0.14});
        canvas.restore();
    }
}

// An insect facing +x in a unit box centred on the origin (size s).
void paintInsect(Canvas& canvas, double s, const BuddyLook& look, const Creature& c) {
    const bool realistic = look.style == 1;
    const bool thin = look.type == 2;  // the mosquito is all legs and wings
    canvas.setLineWidth(std::max(1.0, s * 0.035));
    canvas.setStrokeColor(shaded(c.body, 0.6));
    // Legs: three a side, bent back while flying.
    const double legReach = thin ? 0.46 : 0.34;
    for (int i = -1; i <= 1; ++i) {
        for (int side : {-1, 1}) {
            const double x = i * s * 0.12;
            const double sweep = look.flying ? -0.12 : 0.06 * i;
            canvas.strokeLine({x, side * s * 0.08}, {x + s * sweep, side * s * legReach});
        }
    }
    paintWings(canvas, s, look, c);
    const double bodyWidth = thin ? 0.12 : (look.type == 3 ? 0.36 : 0.3);
    Path abdomen = Path::ellipse({-s * 0.36, -s * bodyWidth / 2, s * 0.5, s * bodyWidth});
    fillBody(canvas, abdomen, c.body, realistic);
    Path head = Path::ellipse({s * 0.1, -s * 0.11, s * 0.22, s * 0.22});
    fillBody(canvas, head, shaded(c.body, 1.2), realistic);
    if (look.type == 1) {  // a cockroach's feelers
        canvas.strokeLine({s * 0.3, s * 0.04}, {s * 0.48, s * 0.2});
        canvas.strokeLine({s * 0.3, -s * 0.04}, {s * 0.48, -s * 0.2});
    }
    if (thin) canvas.strokeLine({s * 0.3, 0}, {s * 0.5, 0});  // the proboscis
    // Eyes, wide open when alarmed.
    const double eye = s * (look.alarmed ? 0.075 : 0.05);
    for (int side : {-1, 1}) {
        canvas.setFillColor(look.type == 0 ? c.accent : Color::white());
        canvas.fillEllipse({s * 0.21, side * s * 0.05 - eye, eye * 2, eye * 2});
        canvas.setFillColor(Color::black());
        canvas.fillEllipse({s * 0.23, side * s * 0.05 - eye / 2, eye, eye});
    }
}

// Food and the ball face the viewer; they hop instead of flying.
void paintFood(Canvas& canvas, double s, const BuddyLook& look, const Creature& c) {
    const bool realistic = look.style == 1;
    canvas.setLineWidth(std::max(1.0, s * 0.03));
    switch (look.type) {
    case 4: {  // tempura: a golden curl with a red tail
        fillBody(canvas, Path::roundedRect({-s * 0.32, -s * 0.16, s * 0.56, s * 0.32}, s * 0.16), c.body, realistic);
        Path tail;
        tail.moveTo({s * 0.22, 0});
        tail.lineTo({s * 0.42, s * 0.14});
        tail.lineTo({s * 0.42, -s * 0.14});
        tail.close();
        fillBody(canvas, tail, c.accent, realistic);
        break;
    }
    case 5: {  // burger: bun, patty, lettuce, bun
        fillBody(canvas, Path::roundedRect({-s * 0.34, -s * 0.3, s * 0.68, s * 0.16}, s * 0.06), c.body, realistic);
        fillBody(canvas, Path::roundedRect({-s * 0.36, -s * 0.14, s * 0.72, s * 0.12}, s * 0.05), c.accent, realistic);
        fillBody(canvas, Path::roundedRect({-s * 0.37, -s * 0.03, s * 0.74, s * 0.06}, s * 0.03),
                 Color::sRGB(0.4, 0.75, 0.25), realistic);
        Path top;
        top.moveTo({-s * 0.34, s * 0.03});
        top.curveTo({-s * 0.34, s * 0.36}, {s * 0.34, s * 0.36}, {s * 0.34, s * 0.03});
        top.close();
        fillBody(canvas, top, c.body, realistic);
        break;
    }
    case 6: {  // broccoli: a stalk under three florets
        fillBody(canvas, Path::roundedRect({-s * 0.07, -s * 0.36, s * 0.14, s * 0.34}, s * 0.05), c.accent, realistic);
        for (const auto& [x, y] : std::array<std::pair<double, double>, 3>{{{-0.17, 0.06}, {0.17, 0.06}, {0, 0.18}}}) {
            fillBody(canvas, Path::ellipse({s * (x - 0.17), s * (y - 0.15), s * 0.34, s * 0.3}), c.body, realistic);
        }
        break;
    }
    case 7: {  // chili sauce: a bottle with a label
        fillBody(canvas, Path::roundedRect({-s * 0.17, -s * 0.38, s * 0.34, s * 0.52}, s * 0.08), c.body, realistic);
        fillBody(canvas, Path::rect({-s * 0.06, s * 0.14, s * 0.12, s * 0.16}), c.body, realistic);
        fillBody(canvas, Path::rect({-s * 0.08, s * 0.3, s * 0.16, s * 0.07}), Color::sRGB(0.2, 0.6, 0.25), realistic);
        canvas.setFillColor(c.accent);
        canvas.fillRect({-s * 0.17, -s * 0.2, s * 0.34, s * 0.16});
        break;
    }
    default: {  // the disco ball: mirror tiles on a sphere
        const Rect ball{-s * 0.4, -s * 0.4, s * 0.8, s * 0.8};
        fillBody(canvas, Path::ellipse(ball), c.body, realistic);
        canvas.save();
        canvas.clip(Path::ellipse(ball));
        const double tile = s * 0.1;
        for (int row = -4; row < 4; ++row) {
            for (int column = -4; column < 4; ++column) {
                const double light = 0.55 + 0.45 * std::fabs(std::sin(row * 1.7 + column * 0.9 + look.heading));
                canvas.setFillColor(Color::calibratedWhite(light, 0.85));
                canvas.fillRect({column * tile + 1, row * tile + 1, tile - 2, tile - 2});
            }
        }
        canvas.restore();
        break;
    }
    }
    if (look.alarmed) {  // wide eyes on the food
        for (int side : {-1, 1}) {
            canvas.setFillColor(Color::white());
            canvas.fillEllipse({side * s * 0.1 - s * 0.06, -s * 0.02, s * 0.12, s * 0.12});
            canvas.setFillColor(Color::black());
            canvas.fillEllipse({side * s * 0.1 - s * 0.025, s * 0.01, s * 0.05, s * 0.05});
        }
    }
}

void paintAlarm(Canvas& canvas, Rect box) {
    const double s = box.width();
    canvas.setFillColor(Color::sRGB(0.95, 0.2, 0.15));
    canvas.fillRoundedRect({box.maxX() - s * 0.16, box.maxY() - s * 0.34, s * 0.08, s * 0.22}, s * 0.04);
    canvas.fillEllipse({box.maxX() - s * 0.16, box.maxY() - s * 0.44, s * 0.08, s * 0.08});
}

void paintSplat(Canvas& canvas, double s) {
    canvas.setFillColor(Color::sRGB(0.45, 0.4, 0.2, 0.55));
    Path splat;
    for (int i = 0; i < 12; ++i) {
        const double angle = i * std::numbers::pi / 6;
        const double r = s * (i % 2 ? 0.3 : 0.44);
        const Point p{std::cos(angle) * r, std::sin(angle) * r};
        if (i == 0) splat.moveTo(p);
        else splat.lineTo(p);
    }
    splat.close();
    canvas.fill(splat);
}

}  // namespace

std::optional<std::string_view> buddyIllustrationName(int type) {
    const auto name = creature(type).illustration;
    if (name.empty()) return std::nullopt;
    return name;
}

std::string_view buddyEmoji(int type) { return creature(type).emoji; }

void paintBuddy(Canvas& canvas, Rect box, const BuddyLook& look, const platform::Image* illustration) {
    const Creature& c = creature(look.type);
    const double s = std::min(box.width(), box.height());
    const bool insect = look.type <= 3;
    canvas.save();
    canvas.translate(box.midX(), box.midY());
    if (look.squashed) {
        paintSplat(canvas, s);
        canvas.scale(1.0, 0.4);  // flattened where it was hit
    }
    // Insects turn to their heading; food and the ball lean with it and hop
    // while they move, so they stay upright and readable.
    if (insect) {
        canvas.rotate(look.heading);
    } else {
        canvas.rotate(std::sin(look.heading) * 0.25);
        if (look.flying && !look.squashed) canvas.translate(0, s * 0.05);
    }
    // A picture or an emoji shows no wings of its own: a flying insect
    // spreads them behind it, so it looks different in the air.
    const bool drawnWhole = look.style == 2 || (look.style == 1 && illustration);
    if (insect && drawnWhole && look.flying) paintWings(canvas, s, look, c);
    if (look.style == 2) {
        const platform::Font font = platform::Font::systemFont(s * 0.62);
        canvas.save();
        if (insect) canvas.rotate(-std::numbers::pi / 2);  // emoji insects face up
        canvas.drawText(c.emoji, {-s * 0.38, -s * 0.36}, font, Color::black());
        canvas.restore();
    } else if (drawnWhole) {
        canvas.drawImage(*illustration, {-s * 0.45, -s * 0.45, s * 0.9, s * 0.9});
    } else if (insect) {
        paintInsect(canvas, s, look, c);
    } else {
        paintFood(canvas, s, look, c);
    }
    canvas.restore();
    if (look.alarmed && !look.squashed) paintAlarm(canvas, box);
}

}  // namespace tallowmere
