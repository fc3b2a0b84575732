// Draws the desk toys' pictures, 256 × 256 on clear ground: the realistic
// buddies "WorkBuddyCockroach" and "WorkBuddyMosquito" (seen from above,
// head to the right, as a buddy heading 0 faces), "WorkBuddyTempura",
// "WorkBuddyBroccoli" and "WorkBuddyChiliSauce" (upright, facing the
// viewer), and "WorkBuddyDiscoBall" (a mirror ball of small tiles, shown by
// the light show's launcher).
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <string>
#include <utility>

#include "art_output.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/gradient.h"
#include "platform/gfx/path.h"

using namespace tallowmere::platform;

namespace {

constexpr double side = 256;
constexpr double pi = std::numbers::pi;

// Fills `path` with `base`, lit from the upper left: lighter there, darker
// towards the lower right.
void fillLit(Canvas& canvas, const Path& path, const Color& base, double lift = 0.35) {
    const auto c = base.rgba();
    auto mix = [&](double towards, double amount) {
        return Color::sRGB(c.red + (towards - c.red) * amount, c.green + (towards - c.green) * amount,
                           c.blue + (towards - c.blue) * amount, c.alpha);
    };
    canvas.save();
    canvas.clip(path);
    canvas.drawRadialGradient(Gradient({{0, mix(1, lift)}, {0.55, base}, {1, mix(0, 0.45)}}), path.bounds(),
                              {-0.45, 0.45});
    canvas.restore();
}

// A leg of two straight segments with a rounded joint.
void leg(Canvas& canvas, Point hip, Point knee, Point foot, double width) {
    canvas.setLineWidth(width);
    canvas.setLineCap(LineCap::round);
    canvas.setLineJoin(LineJoin::round);
    Path path;
    path.moveTo(hip);
    path.lineTo(knee);
    path.lineTo(foot);
    canvas.stroke(path);
}

void drawCockroach(Canvas& canvas) {
    canvas.translate(side / 2, side / 2);
    const Color legColour = Color::sRGB(0.32, 0.16, 0.07);
    canvas.setStrokeColor(legColour);
    // Three legs a side, the back ones longest and swept back.
    const std::pair<Point, Point> legs[] = {
        {{38, 40}, {62, 78}}, {{-4, 52}, {-6, 100}}, {{-46, 50}, {-96, 96}},
    };
    const double hips[] = {30, 0, -30};
    for (int i = 0; i < 3; ++i) {
        for (int s : {-1, 1}) {
            const auto [knee, foot] = legs[i];
            leg(canvas, {hips[i], s * 14.0}, {knee.x, s * knee.y}, {foot.x, s * foot.y}, 5);
        }
    }
    // Feelers, long and curving back along the body.
    canvas.setLineWidth(3);
    for (int s : {-1, 1}) {
        Path feeler;
        feeler.moveTo({78, s * 8.0});
        feeler.curveTo({110, s * 20.0}, {122, s * 60.0}, {104, s * 112.0});
        canvas.stroke(feeler);
    }
    // Wings over the abdomen, meeting down the middle.
    const Path body = Path::ellipse({-104, -42, 170, 84});
    fillLit(canvas, body, Color::sRGB(0.47, 0.22, 0.08));
    canvas.setStrokeColor(Color::sRGB(0.22, 0.1, 0.03));
    canvas.setLineWidth(2.5);
    canvas.strokeLine({-98, 0}, {34, 0});
    for (int s : {-1, 1}) {  // the wings' veins
        for (int i = 0; i < 4; ++i) canvas.strokeLine({20.0 - i * 30, s * 4.0}, {-10.0 - i * 30, s * 34.0});
    }
    // The shield behind the head, pale at its rim.
    const Path shield = Path::ellipse({30, -38, 52, 76});
    fillLit(canvas, shield, Color::sRGB(0.72, 0.5, 0.26), 0.25);
    fillLit(canvas, Path::ellipse({40, -26, 34, 52}), Color::sRGB(0.4, 0.2, 0.08));
    fillLit(canvas, Path::ellipse({70, -16, 24, 32}), Color::sRGB(0.36, 0.18, 0.07));
    canvas.setFillColor(Color::black());
    for (int s : {-1, 1}) canvas.fillEllipse({82, s * 9.0 - 4, 8, 8});
}

void drawMosquito(Canvas& canvas) {
    canvas.translate(side / 2, side / 2);
    // Long, thin legs reaching far out, bent at the knee.
    canvas.setStrokeColor(Color::sRGB(0.18, 0.18, 0.2));
    const std::pair<Point, Point> legs[] = {{{40, 60}, {96, 104}}, {{0, 66}, {8, 120}}, {{-40, 60}, {-110, 96}}};
    const double hips[] = {22, 8, -6};
    for (int i = 0; i < 3; ++i) {
        for (int s : {-1, 1}) {
            const auto [knee, foot] = legs[i];
            leg(canvas, {hips[i], s * 6.0}, {knee.x, s * knee.y}, {foot.x, s * foot.y}, 2.5);
        }
    }
    // Two clear wings folded back over the body.
    for (int s : {-1, 1}) {
        canvas.save();
        canvas.rotate(s * 0.16);
        const Path wing = Path::ellipse({-96, s > 0 ? 2.0 : -26.0, 110, 24});
        canvas.setFillColor(Color::sRGB(0.78, 0.86, 0.95, 0.55));
        canvas.fill(wing);
        canvas.setStrokeColor(Color::sRGB(0.45, 0.5, 0.6, 0.8));
        canvas.setLineWidth(1.5);
        canvas.stroke(wing);
        canvas.restore();
    }
    // A striped abdomen, a humped thorax and a small head.
    const Path abdomen = Path::ellipse({-100, -11, 104, 22});
    fillLit(canvas, abdomen, Color::sRGB(0.2, 0.2, 0.22));
    canvas.save();
    canvas.clip(abdomen);
    canvas.setFillColor(Color::sRGB(0.92, 0.92, 0.9, 0.85));
    for (int i = 0; i < 6; ++i) canvas.fillRect({-92.0 + i * 16, -12, 5, 24});
    canvas.restore();
    fillLit(canvas, Path::ellipse({-4, -17, 40, 34}), Color::sRGB(0.3, 0.28, 0.26));
    fillLit(canvas, Path::ellipse({32, -11, 22, 22}), Color::sRGB(0.22, 0.22, 0.24));
    canvas.setFillColor(Color::sRGB(0.55, 0.08, 0.08));
    for (int s : {-1, 1}) canvas.fillEllipse({42, s * 5.0 - 4, 8, 8});
    // The proboscis and feathery feelers.
    canvas.setStrokeColor(Color::sRGB(0.15, 0.15, 0.17));
    canvas.setLineWidth(2.5);
    canvas.strokeLine({54, 0}, {112, 0});
    canvas.setLineWidth(1.5);
    for (int s : {-1, 1}) {
        canvas.strokeLine({50, s * 5.0}, {84, s * 24.0});
        for (int i = 1; i < 5; ++i) {
            const Point p{50 + i * 7.0, s * (5 + i * 3.8)};
            canvas.strokeLine(p, {p.x - 3, p.y + s * 7.0});
        }
    }
}

// A curled, battered shrimp with its red tail fan at the right.
void drawTempura(Canvas& canvas) {
    canvas.translate(side / 2, side / 2);
    canvas.rotate(0.35);
    // The tail fan.
    Path tail;
    tail.moveTo({62, 0});
    tail.curveTo({90, 30}, {116, 44}, {118, 26});
    tail.curveTo({108, 10}, {112, -10}, {118, -26});
    tail.curveTo({116, -44}, {90, -30}, {62, 0});
    tail.close();
    fillLit(canvas, tail, Color::sRGB(0.9, 0.3, 0.18));
    // The crunchy coat: an irregular outline around a long body.
    Path coat;
    constexpr int bumps = 40;
    for (int i = 0; i <= bumps; ++i) {
        const double angle = i * 2 * pi / bumps;
        const double r = 1 + 0.07 * std::sin(i * 2.7) + 0.05 * std::cos(i * 5.3);
        const Point p{std::cos(angle) * 104 * r - 30, std::sin(angle) * 40 * r};
        if (i == 0) coat.moveTo(p);
        else coat.lineTo(p);
    }
    coat.close();
    fillLit(canvas, coat, Color::sRGB(0.93, 0.68, 0.26));
    // Crumbs of batter catching the light.
    for (int i = 0; i < 26; ++i) {
        const double x = -118 + std::fmod(i * 37.7, 170.0);
        const double y = -28 + std::fmod(i * 23.3, 56.0);
        canvas.setFillColor(i % 3 ? Color::sRGB(1, 0.86, 0.5, 0.9) : Color::sRGB(0.72, 0.44, 0.12, 0.8));
        canvas.fillEllipse({x, y, 7.0 + i % 4, 5.0 + i % 3});
    }
}

void drawBroccoli(Canvas& canvas) {
    canvas.translate(side / 2, side / 2);
    // The stalk, widening into branches.
    Path stalk;
    stalk.moveTo({-20, -112});
    stalk.lineTo({20, -112});
    stalk.curveTo({18, -60}, {30, -20}, {56, 8});
    stalk.lineTo({-56, 8});
    stalk.curveTo({-30, -20}, {-18, -60}, {-20, -112});
    stalk.close();
    fillLit(canvas, stalk, Color::sRGB(0.56, 0.76, 0.34));
    // The crown: clusters of small buds, darker underneath.
    const std::pair<Point, double> clusters[] = {
        {{-62, 24}, 42}, {{62, 24}, 42}, {{-30, 56}, 46}, {{30, 56}, 46}, {{0, 84}, 40}, {{0, 30}, 40},
    };
    for (const auto& [centre, radius] : clusters) {
        fillLit(canvas, Path::ellipse({centre.x - radius, centre.y - radius, 2 * radius, 2 * radius}),
                Color::sRGB(0.16, 0.48, 0.18), 0.2);
        for (int i = 0; i < 14; ++i) {
            const double angle = i * 2.4;
            const double r = radius * 0.72 * std::sqrt((i + 0.5) / 14);
            const Point bud{centre.x + std::cos(angle) * r, centre.y + std::sin(angle) * r};
            fillLit(canvas, Path::ellipse({bud.x - 9, bud.y - 9, 18, 18}), Color::sRGB(0.22, 0.58, 0.22), 0.4);
        }
    }
}

void drawChiliSauce(Canvas& canvas) {
    canvas.translate(side / 2, side / 2);
    // The bottle: a round-shouldered body and a narrow neck.
    Path bottle;
    bottle.moveTo({-50, -116});
    bottle.lineTo({50, -116});
    bottle.curveTo({58, -116}, {60, -110}, {60, -100});
    bottle.lineTo({60, 30});
    bottle.curveTo({60, 58}, {20, 62}, {18, 82});
    bottle.lineTo({-18, 82});
    bottle.curveTo({-20, 62}, {-60, 58}, {-60, 30});
    bottle.lineTo({-60, -100});
    bottle.curveTo({-60, -110}, {-58, -116}, {-50, -116});
    bottle.close();
    fillLit(canvas, bottle, Color::sRGB(0.82, 0.1, 0.07));
    // A glint down the glass.
    canvas.setFillColor(Color::calibratedWhite(1, 0.35));
    canvas.fillRoundedRect({-46, -90, 10, 110}, 5);
    // The green cap.
    fillLit(canvas, Path::roundedRect({-22, 80, 44, 36}, 6), Color::sRGB(0.16, 0.55, 0.24));
    // The label with a chili on it.
    fillLit(canvas, Path::roundedRect({-54, -70, 108, 70}, 8), Color::sRGB(0.98, 0.94, 0.84), 0.1);
    Path chili;
    chili.moveTo({-30, -30});
    chili.curveTo({-10, -50}, {20, -56}, {38, -48});
    chili.curveTo({20, -40}, {0, -28}, {-24, -20});
    chili.close();
    fillLit(canvas, chili, Color::sRGB(0.86, 0.12, 0.08));
    canvas.setStrokeColor(Color::sRGB(0.2, 0.55, 0.2));
    canvas.setLineWidth(5);
    canvas.setLineCap(LineCap::round);
    canvas.strokeLine({-28, -24}, {-40, -14});
}

void drawDiscoBall(Canvas& canvas) {
    const Point centre{side / 2, side / 2};
    const double radius = side * 0.46;
    const Rect ball{centre.x - radius, centre.y - radius, 2 * radius, 2 * radius};
    canvas.save();
    canvas.clip(Path::ellipse(ball));
    canvas.setFillColor(Color::sRGB(0.35, 0.37, 0.42));
    canvas.fillRect(ball);
    // Rows of tiles on the sphere, narrower towards the poles, each lit by
    // how much it faces a light at the upper left.
    constexpr int rows = 16;
    for (int row = 0; row < rows; ++row) {
        const double latitude = -pi / 2 + (row + 0.5) * pi / rows;
        const double y = centre.y + radius * std::sin(latitude);
        const double ring = radius * std::cos(latitude);
        const int tiles = std::max(4, static_cast<int>(2 * ring / (side / 24)));
        const double height = pi * radius / rows * std::max(0.35, std::cos(latitude));
        for (int i = 0; i < tiles; ++i) {
            const double longitude = -pi / 2 + (i + 0.5) * pi / tiles;
            const double x = centre.x + ring * std::sin(longitude);
            const double width = 2 * ring / tiles * std::max(0.3, std::cos(longitude));
            const double facing = 0.5 + 0.5 * (-std::sin(longitude) * 0.6 + std::sin(latitude) * 0.6);
            const double sparkle = std::fmod(row * 7.3 + i * 3.1, 1.0) * 0.25;
            const double light = std::clamp(0.35 + 0.55 * facing + sparkle, 0.0, 1.0);
            canvas.setFillColor(Color::sRGB(light * 0.92, light * 0.95, light, 1));
            canvas.fillRect({x - width / 2 + 0.8, y - height / 2 + 0.8, width - 1.6, height - 1.6});
        }
    }
    // A soft glint and a few coloured reflections.
    canvas.setFillColor(Color::calibratedWhite(1, 0.55));
    canvas.fillEllipse({centre.x - radius * 0.55, centre.y + radius * 0.2, radius * 0.4, radius * 0.28});
    const Color reflections[] = {Color::sRGB(1, 0.3, 0.6, 0.35), Color::sRGB(0.3, 0.8, 1, 0.35),
                                 Color::sRGB(1, 0.85, 0.2, 0.35)};
    for (int i = 0; i < 3; ++i) {
        canvas.setFillColor(reflections[i]);
        canvas.fillEllipse({centre.x + radius * (0.05 + 0.18 * i), centre.y - radius * (0.5 - 0.25 * i),
                            radius * 0.22, radius * 0.16});
    }
    canvas.restore();
    canvas.setStrokeColor(Color::sRGB(0.2, 0.21, 0.25));
    canvas.setLineWidth(3);
    canvas.strokeEllipse(ball.insetBy(1.5, 1.5));
}


}  // namespace

int main(int argc, char** argv) {
    const auto folder = tallowmere::art::outputFolder(argc, argv);
    if (!folder) return 2;
    const std::pair<const char*, void (*)(Canvas&)> pictures[] = {
        {"WorkBuddyCockroach", drawCockroach}, {"WorkBuddyMosquito", drawMosquito},
        {"WorkBuddyTempura", drawTempura},     {"WorkBuddyBroccoli", drawBroccoli},
        {"WorkBuddyChiliSauce", drawChiliSauce}, {"WorkBuddyDiscoBall", drawDiscoBall},
    };
    for (const auto& [name, draw] : pictures) {
        if (!tallowmere::art::writePicture(*folder / (std::string(name) + ".png"), {side, side}, draw)) return 1;
    }
    return 0;
}
