// Draws the program's own pictures into the bundle at build time: the
// status-icon styles, the About window's pictures and
// the small icons of the status menu. Every picture is drawn here, through
// the project's Canvas, from simple shapes; nothing is copied from anywhere.
//
//   draw_bundle_art <output folder>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "art_output.h"
#include "platform/gfx/canvas.h"
#include "platform/runtime/app_context.h"

using namespace tallowmere::platform;

namespace {

Color hex(std::uint32_t rgb, double alpha = 1) {
    return Color::sRGB(((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha);
}

// Every picture is drawn in a 100 × 100 unit square (y up), scaled to its pixels.
using Drawing = std::function<void(Canvas&)>;

bool render(const std::filesystem::path& file, double width, double height, const Drawing& draw) {
    return tallowmere::art::writePicture(file, {width, height}, [&](Canvas& canvas) {
        canvas.scale(width / 100, height / 100);
        draw(canvas);
    });
}

Path triangle(Point a, Point b, Point c) {
    Path path;
    path.moveTo(a);
    path.lineTo(b);
    path.lineTo(c);
    path.close();
    return path;
}

// --- The cat ----------------------------------------------------------------------

enum class Eyes { round, sparkling, closed, sideways, hearts };

struct CatLook {
    Color fur;
    Color line;
    Color innerEar;
    Color muzzle;
    Eyes eyes = Eyes::round;
    double lineWidth = 3;
    bool stripes = false;
    bool blush = false;
    bool spark = false;
};

Path headPath() {
    Path head = Path::ellipse({16, 12, 68, 60});
    return head;
}

void drawEye(Canvas& canvas, Point centre, const CatLook& look, bool left) {
    switch (look.eyes) {
        case Eyes::round:
        case Eyes::sparkling: {
            canvas.setFillColor(look.line);
            canvas.fillEllipse({centre.x - 5.5, centre.y - 7, 11, 14});
            canvas.setFillColor(Color::white());
            canvas.fillEllipse({centre.x - 3, centre.y + 1, 4.5, 4.5});
            if (look.eyes == Eyes::sparkling) canvas.fillEllipse({centre.x + 1, centre.y - 4, 2.2, 2.2});
            break;
        }
        case Eyes::closed: {
            Path arc;
            arc.arc({centre.x, centre.y - 2}, 6, 20, 160);
            canvas.setStrokeColor(look.line);
            canvas.setLineWidth(look.lineWidth);
            canvas.setLineCap(LineCap::round);
            canvas.stroke(arc);
            break;
        }
        case Eyes::sideways: {
            // Half-lidded, looking off to one side.
            canvas.setFillColor(Color::white());
            canvas.fillEllipse({centre.x - 7, centre.y - 5, 14, 10});
            canvas.setFillColor(look.line);
            canvas.fillEllipse({centre.x + (left ? 1 : 1.5), centre.y - 4.5, 6, 8});
            canvas.setStrokeColor(look.line);
            canvas.setLineWidth(look.lineWidth);
            canvas.setLineCap(LineCap::round);
            canvas.strokeLine({centre.x - 8, centre.y + 2.5}, {centre.x + 8, centre.y + 2.5});
            break;
        }
        case Eyes::hearts: {
            Path heart;
            heart.moveTo({centre.x, centre.y - 6});
            heart.curveTo({centre.x - 9, centre.y + 1}, {centre.x - 5, centre.y + 8}, {centre.x, centre.y + 3.5});
            heart.curveTo({centre.x + 5, centre.y + 8}, {centre.x + 9, centre.y + 1}, {centre.x, centre.y - 6});
            heart.close();
            canvas.setFillColor(hex(0xe8456b));
            canvas.fill(heart);
            break;
        }
    }
}

void drawSpark(Canvas& canvas, Point centre, double radius, const Color& color) {
    Path star;
    for (int i = 0; i < 8; ++i) {
        const double angle = M_PI / 2 + i * M_PI / 4;
        const double r = i % 2 == 0 ? radius : radius * 0.32;
        const Point p{centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
        i == 0 ? star.moveTo(p) : star.lineTo(p);
    }
    star.close();
    canvas.setFillColor(color);
    canvas.fill(star);
}

void drawCat(Canvas& canvas, const CatLook& look) {
    canvas.setLineJoin(LineJoin::round);
    canvas.setLineCap(LineCap::round);
    // Ears behind the head.
    const Path leftEar = triangle({20, 50}, {24, 90}, {48, 68});
    const Path rightEar = triangle({80, 50}, {76, 90}, {52, 68});
    for (const Path* ear : {&leftEar, &rightEar}) {
        canvas.setFillColor(look.fur);
        canvas.fill(*ear);
        canvas.setStrokeColor(look.line);
        canvas.setLineWidth(look.lineWidth);
        canvas.stroke(*ear);
    }
    canvas.setFillColor(look.innerEar);
    canvas.fill(triangle({27, 60}, {28, 81}, {40, 68}));
    canvas.fill(triangle({73, 60}, {72, 81}, {60, 68}));

    const Path head = headPath();
    canvas.setFillColor(look.fur);
    canvas.fill(head);
    if (look.stripes) {
        canvas.save();
        canvas.clip(head);
        canvas.setFillColor(look.line);
        for (double x : {40.0, 50.0, 60.0}) canvas.fill(triangle({x - 3.5, 72}, {x + 3.5, 72}, {x, 59}));
        canvas.fill(triangle({16, 44}, {16, 36}, {27, 40}));
        canvas.fill(triangle({84, 44}, {84, 36}, {73, 40}));
        canvas.restore();
    }
    canvas.setFillColor(look.muzzle);
    canvas.fillEllipse({33, 16, 34, 22});
    canvas.setStrokeColor(look.line);
    canvas.setLineWidth(look.lineWidth);
    canvas.stroke(head);

    drawEye(canvas, {36, 44}, look, true);
    drawEye(canvas, {64, 44}, look, false);
    if (look.blush) {
        canvas.setFillColor(hex(0xf59aa8, 0.75));
        canvas.fillEllipse({21, 30, 11, 6});
        canvas.fillEllipse({68, 30, 11, 6});
    }
    // Nose and mouth.
    canvas.setFillColor(hex(0xe86f86));
    canvas.fill(triangle({46, 33}, {54, 33}, {50, 28.5}));
    Path mouth;
    mouth.moveTo({42, 25});
    mouth.curveTo({45, 21}, {49, 22}, {50, 28});
    mouth.curveTo({51, 22}, {55, 21}, {58, 25});
    canvas.setStrokeColor(look.line);
    canvas.setLineWidth(look.lineWidth * 0.8);
    canvas.stroke(mouth);
    // Whiskers.
    canvas.setLineWidth(look.lineWidth * 0.6);
    for (double dy : {0.0, 5.0}) {
        canvas.strokeLine({30, 29 + dy}, {8, 31 + dy * 1.6});
        canvas.strokeLine({70, 29 + dy}, {92, 31 + dy * 1.6});
    }
    if (look.spark) drawSpark(canvas, {82, 84}, 13, hex(0xffd84d));
}

// The cat drawn into `box` of the 100-unit square instead of all of it.
void drawCatIn(Canvas& canvas, const CatLook& look, Rect box) {
    canvas.save();
    canvas.translate(box.minX(), box.minY());
    canvas.scale(box.width() / 100, box.height() / 100);
    drawCat(canvas, look);
    canvas.restore();
}

const CatLook amberCat{hex(0xf3a24b), hex(0x3b2a22), hex(0xf7b8c4), hex(0xfff3e2), Eyes::sparkling, 3, false,
                       true, false};
const CatLook inkCat{hex(0x2f2f36), hex(0x101014), hex(0x8d8a99), hex(0xf3f1ee), Eyes::round, 3, false, false,
                     false};

// --- Pictures ---------------------------------------------------------------------------

// A pixel cat, one cell per pixel of a 22 × 22 grid: each row is the left
// half, mirrored for the right.
void pixelCat(Canvas& canvas) {
    static const char* const halfRows[] = {
        "...........", "...........", "...oo......", "...opo.....", "...oppo....", "..offfoooooo",
        "..offffffff", ".offffffffff", ".offfffffff", ".offfeefffff", ".offfeefffff", ".offfffffff",
        ".owwffffffp", ".owwwffffwo", "..owwwwwwww", "...oowwwwww", ".....oooooo", "...........",
    };
    const double cell = 100.0 / 22;
    for (std::size_t row = 0; row < std::size(halfRows); ++row) {
        const std::string half = std::string(halfRows[row]).substr(0, 11);
        std::string full = half + std::string(half.rbegin(), half.rend());
        for (std::size_t column = 0; column < full.size(); ++column) {
            std::optional<Color> color;
            switch (full[column]) {
                case 'o': color = hex(0x3a2a20); break;
                case 'f': color = hex(0xf2a04a); break;
                case 'p': color = hex(0xf27fa0); break;
                case 'w': color = hex(0xfff4e6); break;
                case 'e': color = hex(0x1f2a44); break;
                default: break;
            }
            if (!color) continue;
            canvas.setFillColor(*color);
            // Two rows lower than drawn so the cat sits in the middle.
            canvas.fillRect({column * cell, 100 - (row + 3) * cell, cell, cell});
        }
    }
}

void outlineCat(Canvas& canvas) {
    // Dark lines on white: the outline style keeps only the lines.
    canvas.setFillColor(Color::white());
    canvas.fillRect({0, 0, 100, 100});
    drawCat(canvas, CatLook{Color::white(), Color::black(), Color::white(), Color::white(), Eyes::round, 6, false,
                            false, false});
}

void cartoonInkpaw(Canvas& canvas) {
    canvas.setFillColor(hex(0xfff1d6));
    canvas.fillRoundedRect({0, 0, 100, 100}, 22);
    drawCat(canvas, CatLook{hex(0xf0a33c), hex(0x1d1a18), hex(0xf7b8c4), hex(0xfffaf0), Eyes::sparkling, 4, true,
                            false, false});
}

void gentleInkpaw(Canvas& canvas) {
    canvas.setFillColor(hex(0xe9eef7));
    canvas.fillRoundedRect({0, 0, 100, 100}, 22);
    drawCat(canvas, CatLook{hex(0x6d6f7d), hex(0x2a2b33), hex(0xf2c2cc), hex(0xf6f3ef), Eyes::closed, 3.5, false,
                            true, false});
}

void petCats(Canvas& canvas) {
    canvas.setFillColor(hex(0xfdf3e4));
    canvas.fillRoundedRect({0, 0, 100, 100}, 16);
    drawCatIn(canvas, amberCat, {2, 8, 50, 78});
    drawCatIn(canvas, inkCat, {50, 8, 50, 78});
}

void aboutCatInk(Canvas& canvas) {
    drawCat(canvas, CatLook{inkCat.fur, inkCat.line, inkCat.innerEar, inkCat.muzzle, Eyes::sideways, 3, false, false,
                            false});
}

void aboutCatPencilInkpaw(Canvas& canvas) {
    drawCat(canvas, CatLook{hex(0xd9d4cc), hex(0x4a4744), hex(0xf2c2cc), hex(0xfbf8f3), Eyes::hearts, 2.4, true,
                            true, false});
}

// A contact card: a pattern of blocks round a small cat, for the support
// contact picture (a picture, not a code anyone can scan).
void supportCard(Canvas& canvas) {
    canvas.setFillColor(Color::white());
    canvas.fillRoundedRect({0, 0, 100, 100}, 6);
    canvas.setFillColor(hex(0x1f2430));
    std::uint32_t seed = 0x5a17;
    const double cell = 100.0 / 23;
    for (int row = 1; row < 22; ++row) {
        for (int column = 1; column < 22; ++column) {
            seed = seed * 1103515245u + 12345u;
            const bool corner = (row < 8 || row > 14) && (column < 8 || column > 14) && !(row > 14 && column > 14);
            const bool middle = row >= 8 && row <= 14 && column >= 8 && column <= 14;
            if (corner || middle || ((seed >> 16) & 1) == 0) continue;
            canvas.fillRect({column * cell, row * cell, cell, cell});
        }
    }
    for (Point origin : {Point{1, 1}, Point{1, 15}, Point{15, 15}}) {
        canvas.setFillColor(hex(0x1f2430));
        canvas.fillRect({origin.x * cell, origin.y * cell, 7 * cell, 7 * cell});
        canvas.setFillColor(Color::white());
        canvas.fillRect({(origin.x + 1) * cell, (origin.y + 1) * cell, 5 * cell, 5 * cell});
        canvas.setFillColor(hex(0x2fb3a6));
        canvas.fillRect({(origin.x + 2) * cell, (origin.y + 2) * cell, 3 * cell, 3 * cell});
    }
    drawCatIn(canvas, amberCat, {36, 36, 28, 28});
}

void musicIcon(Canvas& canvas) {
    canvas.drawLinearGradient(Gradient(hex(0x8a4fd8), hex(0x4b2a9a)), Path::roundedRect({0, 0, 100, 100}, 24), -90);
    canvas.setFillColor(Color::white());
    canvas.fillEllipse({22, 18, 22, 17});
    canvas.fillEllipse({56, 26, 22, 17});
    canvas.fillRect({39, 26, 5, 52});
    canvas.fillRect({73, 34, 5, 44});
    Path beam;
    beam.moveTo({39, 78});
    beam.lineTo({78, 86});
    beam.lineTo({78, 74});
    beam.lineTo({39, 66});
    beam.close();
    canvas.fill(beam);
}

// A settings window drawn in outline: a sidebar, a pane of setting rows
// with switches, and the row to turn off ringed in orange. The advice
// picture of the main window's window-settings row; shapes only, no text.
void windowSettingsGuide(Canvas& canvas) {
    canvas.setFillColor(hex(0xf4f5f8));
    canvas.fillRect({0, 0, 100, 100});
    canvas.setFillColor(Color::white());
    canvas.fillRoundedRect({4, 5, 92, 90}, 3);
    canvas.setStrokeColor(hex(0xc9ced8));
    canvas.setLineWidth(0.4);
    canvas.strokeRoundedRect({4, 5, 92, 90}, 3);
    // Title bar with its three buttons.
    canvas.setFillColor(hex(0xe9ebf0));
    canvas.fillRect({4, 86, 92, 7});
    const std::uint32_t lights[] = {0xff5f57, 0xfebc2e, 0x28c840};
    for (int i = 0; i < 3; ++i) {
        canvas.setFillColor(hex(lights[i]));
        canvas.fillEllipse({6.5 + i * 3.0, 88.2, 1.8, 2.6});
    }
    // Sidebar: rows as bars, the selected one in blue.
    canvas.setFillColor(hex(0xeef0f4));
    canvas.fillRect({4, 5, 24, 81});
    for (int row = 0; row < 9; ++row) {
        const double y = 78 - row * 8;
        const bool selected = row == 3;
        if (selected) {
            canvas.setFillColor(hex(0x0a84ff));
            canvas.fillRoundedRect({6, y - 1.6, 20, 5.6}, 1.2);
        }
        canvas.setFillColor(selected ? Color::white() : hex(0x9aa3b2));
        canvas.fillRoundedRect({8, y + 0.2, 2.4, 2}, 0.5);
        canvas.fillRoundedRect({11.5, y + 0.4, 11 - (row % 3) * 2.0, 1.6}, 0.6);
    }
    // Pane: a heading bar, then rows, each a label bar and a switch.
    canvas.setFillColor(hex(0x3b4252));
    canvas.fillRoundedRect({33, 77, 26, 3.2}, 1);
    for (int row = 0; row < 6; ++row) {
        const double y = 63 - row * 11;
        const bool advised = row == 2;
        canvas.setFillColor(hex(0xf6f7f9));
        canvas.fillRoundedRect({32, y - 3.5, 60, 9}, 1.5);
        canvas.setFillColor(hex(0x6b7385));
        canvas.fillRoundedRect({35, y + 0.3, 30 - (row % 2) * 8.0, 1.8}, 0.7);
        // Switches: on in green; the advised one shown off.
        canvas.setFillColor(advised ? hex(0xd5d9e0) : hex(0x34c759));
        canvas.fill(Path::roundedRect({80, y - 1.1, 8, 4.4}, 2.2));
        canvas.setFillColor(Color::white());
        canvas.fillEllipse({advised ? 80.5 : 84.1, y - 0.7, 3.4, 3.6});
        if (advised) {
            canvas.setStrokeColor(hex(0xff8a00));
            canvas.setLineWidth(0.9);
            canvas.strokeRoundedRect({30.5, y - 5, 63, 12}, 2.5);
        }
    }
}

// Two fingertips on a window's title bar, with the ways they swipe: the
// main window's row for moving windows with two fingers.
void titlebarTwoFingerBlue(Canvas& canvas) {
    const Color blue = hex(0x0a84ff);
    canvas.setStrokeColor(blue);
    canvas.setLineWidth(6);
    canvas.strokeRoundedRect({8, 14, 84, 64}, 12);
    canvas.setFillColor(blue);
    canvas.fill(Path::roundedRect({8, 58, 84, 20}, 10));
    canvas.fillRect({8, 58, 84, 10});
    canvas.setFillColor(Color::white());
    canvas.fillEllipse({30, 60, 14, 14});
    canvas.fillEllipse({54, 60, 14, 14});
    canvas.setLineWidth(5);
    canvas.setLineCap(LineCap::round);
    canvas.strokeLine({22, 36}, {78, 36});
    canvas.setFillColor(blue);
    canvas.fill(triangle({14, 36}, {26, 44}, {26, 28}));
    canvas.fill(triangle({86, 36}, {74, 44}, {74, 28}));
}

// A trackpad with two fingertips and the arrows of their swipe: the usage
// item of the two-finger gestures.
void twoFingerSwipe(Canvas& canvas) {
    canvas.setFillColor(hex(0xe8eef7));
    canvas.fillRoundedRect({6, 14, 88, 72}, 12);
    canvas.setStrokeColor(hex(0x8e9aae));
    canvas.setLineWidth(3);
    canvas.strokeRoundedRect({6, 14, 88, 72}, 12);
    canvas.setFillColor(hex(0x0a84ff));
    canvas.fillEllipse({32, 40, 16, 20});
    canvas.fillEllipse({52, 40, 16, 20});
    canvas.setStrokeColor(hex(0x0a84ff));
    canvas.setLineCap(LineCap::round);
    canvas.setLineWidth(4);
    canvas.strokeLine({50, 66}, {50, 78});
    canvas.strokeLine({50, 22}, {50, 34});
    canvas.strokeLine({14, 50}, {26, 50});
    canvas.strokeLine({74, 50}, {86, 50});
    canvas.setFillColor(hex(0x0a84ff));
    canvas.fill(triangle({50, 84}, {44, 76}, {56, 76}));
    canvas.fill(triangle({50, 16}, {44, 24}, {56, 24}));
    canvas.fill(triangle({10, 50}, {18, 44}, {18, 56}));
    canvas.fill(triangle({90, 50}, {82, 44}, {82, 56}));
}

// A service badge: a rounded square of its colour with a short mark.
Drawing serviceBadge(std::uint32_t background, std::string mark, std::uint32_t foreground = 0xffffff) {
    return [=](Canvas& canvas) {
        canvas.setFillColor(hex(background));
        canvas.fillRoundedRect({4, 4, 92, 92}, 22);
        const Font font = Font::boldSystemFont(mark.size() > 2 ? 40 : 52);
        AttributedString text(mark, TextAttributes{.font = font, .foregroundColor = hex(foreground)});
        // Centred by eye: the box starts at its origin and grows upward.
        const double width = font.pointSize() * 0.62 * static_cast<double>(mark.size() > 2 ? 1.6 : 1);
        canvas.drawText(text, Point{50 - width / 2, 50 - font.pointSize() * 0.62});
    };
}

// A player's icon for the menu-bar player button, shown clipped to a
// circle: a disc of its colour with a short mark.
Drawing playerDisc(std::uint32_t outer, std::uint32_t inner, std::string mark) {
    return [=](Canvas& canvas) {
        canvas.drawRadialGradient(Gradient(hex(inner), hex(outer)), Rect{0, 0, 100, 100}, Point{-0.3, 0.3});
        const Font font = Font::boldSystemFont(mark.size() > 2 ? 44 : 56);
        AttributedString text(mark, TextAttributes{.font = font, .foregroundColor = Color::white()});
        const double width = font.pointSize() * 0.62 * static_cast<double>(mark.size() > 2 ? 1.6 : 1);
        canvas.drawText(text, Point{50 - width / 2, 50 - font.pointSize() * 0.62});
    };
}

// A note on a warm disc: the system's own music player.
void appleMusicDisc(Canvas& canvas) {
    canvas.drawRadialGradient(Gradient(hex(0xff7a8a), hex(0xe0224a)), Rect{0, 0, 100, 100}, Point{-0.3, 0.3});
    canvas.setFillColor(Color::white());
    canvas.fillEllipse({26, 22, 20, 15});
    canvas.fillEllipse({56, 28, 20, 15});
    canvas.fillRect({41, 29, 5, 46});
    canvas.fillRect({71, 35, 5, 40});
    Path beam;
    beam.moveTo({41, 75});
    beam.lineTo({76, 82});
    beam.lineTo({76, 71});
    beam.lineTo({41, 64});
    beam.close();
    canvas.fill(beam);
}

// An icon file holding one PNG image, as icon files may.
bool writeIconFile(const std::filesystem::path& file, const std::filesystem::path& png) {
    std::ifstream in(png, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto le16 = [](std::vector<char>& out, std::uint16_t v) {
        out.push_back(static_cast<char>(v & 0xff));
        out.push_back(static_cast<char>(v >> 8));
    };
    auto le32 = [&](std::vector<char>& out, std::uint32_t v) {
        le16(out, static_cast<std::uint16_t>(v & 0xffff));
        le16(out, static_cast<std::uint16_t>(v >> 16));
    };
    std::vector<char> out;
    le16(out, 0);
    le16(out, 1);  // an icon
    le16(out, 1);  // one image
    out.push_back(64);
    out.push_back(64);
    out.push_back(0);
    out.push_back(0);
    le16(out, 1);
    le16(out, 32);
    le32(out, static_cast<std::uint32_t>(bytes.size()));
    le32(out, 22);
    out.insert(out.end(), bytes.begin(), bytes.end());
    std::ofstream(file, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const auto folder = tallowmere::art::outputFolder(argc, argv);
    if (!folder) return 2;
    AppContext context;
    struct Picture {
        const char* name;
        double width, height;
        Drawing draw;
    } pictures[] = {
        {"StatusPixelTallowmere", 22, 22, pixelCat},
        {"StatusOutline", 64, 64, outlineCat},
        {"StatusCartoonInkpaw", 64, 64, cartoonInkpaw},
        {"StatusGentleInkpaw", 64, 64, gentleInkpaw},
        {"VududPetCats", 216, 140, petCats},
        {"AboutCatInk", 192, 192, aboutCatInk},
        {"AboutCatPencilInkpaw", 192, 192, aboutCatPencilInkpaw},
        {"SupportWeChat", 336, 320, supportCard},
        {"NetEaseMusic", 64, 64, musicIcon},
        {"TitlebarTwoFingerBlue", 78, 78, titlebarTwoFingerBlue},
        {"TwoFingerSwipe", 80, 80, twoFingerSwipe},
        {"WindowSettingsGuide", 470, 320, windowSettingsGuide},
        {"AIGemini", 64, 64, serviceBadge(0x3f6fe0, "G")},
        {"AIQianwen", 64, 64, serviceBadge(0x6a4de0, "千")},
        {"AIDoubao", 64, 64, serviceBadge(0x2f9be8, "豆")},
        {"AIWenxin", 64, 64, serviceBadge(0x2a5bd7, "文")},
        {"AIKimiImage", 64, 64, serviceBadge(0x16161a, "K")},
        {"MediaPlayerNetease", 64, 64, playerDisc(0xb3121f, 0xf04a4f, "云")},
        {"MediaPlayerQQMusic", 64, 64, playerDisc(0x1f9d55, 0xffd23f, "Q")},
        {"MediaPlayerKugou", 64, 64, playerDisc(0x0f5fc7, 0x3aa0ff, "K")},
        {"MediaPlayerAppleMusic", 64, 64, appleMusicDisc},
        {"MediaPlayerQishui", 64, 64, playerDisc(0x1c1c28, 0x5a4fcf, "汽")},
    };
    for (const auto& picture : pictures) {
        if (!render(*folder / (std::string(picture.name) + ".png"), picture.width, picture.height, picture.draw)) {
            return 1;
        }
    }
    writeIconFile(*folder / "AIKimi.ico", *folder / "AIKimiImage.png");
    std::filesystem::remove(*folder / "AIKimiImage.png");
    return 0;
}
