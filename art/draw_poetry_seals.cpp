// Draws the poem header's two seals, red on white, as the bundle's
// "PoetrySealYang" (red characters inside a red frame) and "PoetrySealYin"
// (white characters cut out of a red square). The header makes white
// transparent and crops each to its square, so the square must lie inside
// the crop rectangle the header uses for its style.
#include <cstdint>
#include <string>

#include "platform/gfx/attributed_string.h"
#include "art_output.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/path.h"

using namespace tallowmere::platform;

namespace {

constexpr double side = 1200;
const Color cinnabar = Color::sRGB(0.76, 0.11, 0.09);

Font sealFont(double size) {
    for (const char* name : {"Noto Serif CJK SC", "Noto Sans CJK SC", "AR PL UMing CN"}) {
        if (auto font = Font::named(name, size)) return *font;
    }
    return Font::boldSystemFont(size);
}

// Four characters read as a seal is: the right column first, top down.
void drawCharacters(Canvas& canvas, Rect square, const Color& color) {
    const char* characters[4] = {"诗", "心", "鉴", "赏"};
    const double cell = square.width() / 2;
    const Font font = sealFont(cell * 0.78);
    for (int i = 0; i < 4; ++i) {
        const double column = i < 2 ? 1 : 0;
        const double row = i % 2;  // 0 top
        const double x = square.minX() + column * cell + cell * 0.11;
        const double y = square.maxY() - (row + 1) * cell + cell * 0.12;
        canvas.drawText(AttributedString(characters[i], {.font = font, .foregroundColor = color}), Point{x, y});
    }
}

// Worn spots, as a stamp leaves them: fixed, so every build draws the same.
void wear(Canvas& canvas, Rect square, const Color& paper) {
    std::uint32_t seed = 20260;
    canvas.setFillColor(paper);
    for (int i = 0; i < 90; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double x = square.minX() + (seed >> 8) % static_cast<std::uint32_t>(square.width());
        seed = seed * 1664525u + 1013904223u;
        const double y = square.minY() + (seed >> 8) % static_cast<std::uint32_t>(square.height());
        const double r = 2 + (seed >> 4) % 7;
        canvas.fill(Path::ellipse({x - r, y - r, r * 2, r * 2}));
    }
}

void drawSeal(Canvas& canvas, bool yin) {
    canvas.setFillColor(Color::white());
    canvas.fillRect({0, 0, side, side});
    // Inside the header's crops: (195, 175, 860, 880) and (150, 125, 955, 985).
    const Rect square = yin ? Rect{200, 180, 860, 860} : Rect{245, 225, 760, 760};
    if (yin) {
        canvas.setFillColor(cinnabar);
        canvas.fillRoundedRect(square, 26);
        drawCharacters(canvas, square.insetBy(60, 60), Color::white());
    } else {
        canvas.setStrokeColor(cinnabar);
        canvas.setLineWidth(44);
        canvas.stroke(Path::roundedRect(square.insetBy(22, 22), 30));
        drawCharacters(canvas, square.insetBy(80, 80), cinnabar);
    }
    wear(canvas, square, Color::white());
}

}  // namespace

int main(int argc, char** argv) {
    const auto folder = tallowmere::art::outputFolder(argc, argv);
    if (!folder) return 2;
    for (const bool yin : {false, true}) {
        const auto file = *folder / (yin ? "PoetrySealYin.png" : "PoetrySealYang.png");
        if (!tallowmere::art::writePicture(file, {side, side}, [&](Canvas& canvas) { drawSeal(canvas, yin); })) return 1;
    }
    return 0;
}
