#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/gfx/recording_canvas.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/screen_painter.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/slider.h"
#include "platform/ui/switch.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

// One line per drawing call: what was drawn where, in which colour, alpha
// and shadow, under which transform. Enough to tell any change in what a
// view asks of the canvas.
std::string describe(const RecordingCanvas& canvas) {
    std::ostringstream out;
    auto rect = [&](Rect r) {
        char text[96];
        std::snprintf(text, sizeof text, "(%g %g %g %g)", r.minX(), r.minY(), r.width(), r.height());
        out << text;
    };
    auto state = [&](const GraphicsState& s, const Color& color) {
        const auto& t = s.transform;
        const RGBA c = color.rgba(Appearance::light);
        char text[256];
        std::snprintf(text, sizeof text, " m[%g %g %g %g %g %g] c[%.3f %.3f %.3f %.3f] a%g", t.a, t.b, t.c, t.d, t.tx,
                      t.ty, c.red, c.green, c.blue, c.alpha, s.alpha);
        out << text;
        if (s.shadow) {
            std::snprintf(text, sizeof text, " shadow[%g %g %g %.3f]", s.shadow->offset.width, s.shadow->offset.height,
                          s.shadow->blurRadius, s.shadow->color.rgba(Appearance::light).alpha);
            out << text;
        }
    };
    for (const auto& op : canvas.operations()) {
        if (std::holds_alternative<RecordingCanvas::SaveOp>(op)) {
            out << "save";
        } else if (std::holds_alternative<RecordingCanvas::RestoreOp>(op)) {
            out << "restore";
        } else if (const auto* fill = std::get_if<RecordingCanvas::FillOp>(&op)) {
            out << "fill ";
            rect(fill->path.bounds());
            state(fill->state, fill->state.fillColor);
        } else if (const auto* stroke = std::get_if<RecordingCanvas::StrokeOp>(&op)) {
            out << "stroke ";
            rect(stroke->path.bounds());
            state(stroke->state, stroke->state.strokeColor);
        } else if (const auto* clip = std::get_if<RecordingCanvas::ClipOp>(&op)) {
            out << "clip ";
            rect(clip->path.bounds());
        } else if (const auto* text = std::get_if<RecordingCanvas::TextOp>(&op)) {
            out << "text " << text->text.text();
            state(text->state, text->state.fillColor);
        } else {
            out << "other";
        }
        out << "\n";
    }
    return out.str();
}

class ViewDrawingTest : public testing::DesktopTest {};

// A card with a shadow and a translucent badge with overlapping fills and a
// label: what the drawing of each asks of the canvas is fixed.
class OverlappingFills : public View {
public:
    static std::shared_ptr<OverlappingFills> make(Rect frame) {
        return std::shared_ptr<OverlappingFills>(new OverlappingFills(frame));
    }
    void draw(Canvas& canvas, Rect dirty) override {
        (void)dirty;
        canvas.setFillColor(Color::sRGB(0.9, 0.2, 0.1));
        canvas.fillRect({4, 4, 40, 24});
        canvas.setFillColor(Color::sRGB(0.1, 0.3, 0.9));
        canvas.fillEllipse({24, 10, 30, 20});
    }

private:
    explicit OverlappingFills(Rect frame) : View(frame) {}
};

std::shared_ptr<View> makeShadowedCard() {
    auto card = View::make({10, 10, 120, 60});
    auto& layer = card->mutableLayer();
    layer.backgroundColor = Color::white();
    layer.cornerRadius = 8;
    layer.shadow = Shadow{{0, -2}, 6, Color::black().withAlphaComponent(0.25)};
    auto knob = Switch::make(true);
    knob->setFrame({70, 20, 38, 22});
    card->addSubview(knob);
    return card;
}

std::shared_ptr<View> makeTranslucentBadge() {
    auto badge = OverlappingFills::make({20, 20, 60, 40});
    badge->setAlphaValue(0.5);
    auto label = Label::make("Badge");
    label->setFrame({6, 6, 48, 18});
    badge->addSubview(label);
    return badge;
}

TEST_F(ViewDrawingTest, ShadowedAndTranslucentViewsAskTheSameOfTheCanvas) {
    struct Case {
        const char* name;
        std::shared_ptr<View> (*make)();
        const char* recording;
    } cases[] = {
        {"shadowed card", makeShadowedCard, R"(save
save
fill (0 0 120 60) m[1 0 0 1 10 10] c[1.000 1.000 1.000 1.000] a1 shadow[0 -2 6 0.250]
restore
save
save
fill (0 0 38 22) m[1 0 0 1 80 30] c[0.000 0.478 1.000 1.000] a1
fill (18 2 18 18) m[1 0 0 1 80 30] c[1.000 1.000 1.000 1.000] a1 shadow[0 -0.5 1.5 0.220]
restore
restore
restore
)"},
        {"translucent badge", makeTranslucentBadge, R"(save
fill (4 4 40 24) m[1 0 0 1 20 20] c[0.900 0.200 0.100 1.000] a0.5
fill (24 10 30 20) m[1 0 0 1 20 20] c[0.100 0.300 0.900 1.000] a0.5
save
save
clip (0 0 48 18)
text Badge m[1 0 0 1 26 26] c[0.100 0.300 0.900 1.000] a0.5
restore
restore
restore
)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas({200, 100});
        c.make()->display(canvas);
        EXPECT_EQ(describe(canvas), c.recording);
    }
}

struct ReferenceWindow {
    std::shared_ptr<Window> window;
    std::shared_ptr<Switch> knob;       // on a translucent, shadowed card
    std::shared_ptr<Label> label;       // wrapping
    std::shared_ptr<Slider> slider;
    std::shared_ptr<View> badge;        // translucent, over a shadowed card's edge
};

// A window with what costs most to draw: a shadowed card, translucent
// views over other drawing, switches with shadowed knobs, text and controls.
ReferenceWindow showReferenceWindow() {
    auto window = Window::make(ScreenRect{100, 300, 520, 340}, WindowStyleMask::titled);
    window->setTitle("Reference");
    auto content = View::make();
    content->mutableLayer().backgroundColor = Color::sRGB(0.95, 0.95, 0.96);
    auto card = makeShadowedCard();
    card->setFrame({20, 200, 220, 110});
    content->addSubview(card);
    auto badge = makeTranslucentBadge();
    badge->setFrame({200, 230, 90, 60});
    content->addSubview(badge);
    auto translucentCard = makeShadowedCard();
    translucentCard->setFrame({280, 180, 200, 120});
    translucentCard->setAlphaValue(0.7);
    content->addSubview(translucentCard);
    auto button = Button::make("Apply");
    button->setFrame({30, 120, 100, 32});
    content->addSubview(button);
    auto field = TextField::make("A field");
    field->setFrame({150, 124, 160, 24});
    content->addSubview(field);
    auto slider = Slider::make(0.4);
    slider->setFrame({330, 124, 160, 24});
    content->addSubview(slider);
    auto label = Label::makeWrapping("Wrapped text that runs over more than one line in this window.");
    label->setFrame({30, 30, 220, 60});
    content->addSubview(label);
    auto off = Switch::make(false);
    off->setFrame({300, 50, 38, 22});
    content->addSubview(off);
    window->setContentView(content);
    window->orderFront();
    auto knob = std::dynamic_pointer_cast<Switch>(translucentCard->subviews().front());
    return {window, knob, label, slider, badge};
}

const std::filesystem::path referencePng =
    std::filesystem::path(TALLOWMERE_SOURCE_DIR) / "tests/platform/ui/data/reference_window.png";

// Pixels whose colour differs by more than `tolerance` in any channel.
int differingPixels(const Bitmap& a, const Bitmap& b, int tolerance) {
    int count = 0;
    for (int y = 0; y < a.pixelsHigh(); ++y) {
        for (int x = 0; x < a.pixelsWide(); ++x) {
            const Pixel p = a.pixel(x, y), q = b.pixel(x, y);
            const int most = std::max({std::abs(p.red - q.red), std::abs(p.green - q.green),
                                       std::abs(p.blue - q.blue), std::abs(p.alpha - q.alpha)});
            if (most > tolerance) ++count;
        }
    }
    return count;
}

// TALLOWMERE_WRITE_REFERENCE=1 writes the reference picture instead of
// comparing with it (after a deliberate change of how windows look).
TEST_F(ViewDrawingTest, ReferenceWindowLooksAsItsReferencePicture) {
    auto shown = showReferenceWindow();
    auto rendered = ScreenSnapshot::render();
    ASSERT_TRUE(rendered) << rendered.error().message;
    if (const char* write = std::getenv("TALLOWMERE_WRITE_REFERENCE"); write && std::string(write) == "1") {
        std::filesystem::create_directories(referencePng.parent_path());
        ASSERT_TRUE(writePng(*rendered, referencePng));
        return;
    }
    auto reference = readPng(referencePng);
    ASSERT_TRUE(reference) << referencePng << ": " << reference.error().message;
    ASSERT_EQ(reference->pixelsWide(), rendered->pixelsWide());
    ASSERT_EQ(reference->pixelsHigh(), rendered->pixelsHigh());
    EXPECT_EQ(differingPixels(*reference, *rendered, 0), 0);
}

// The painter repaints only what changed; the picture it keeps must be the
// picture drawn afresh (up to the anti-aliasing at the edges of what was
// repainted).
TEST_F(ViewDrawingTest, RepaintingWhatChangedGivesTheFreshPicture) {
    struct Case {
        const char* name;
        void (*change)(ReferenceWindow& shown);
        enum { control, window, screen } repainted;
    } cases[] = {
        {"switch on a translucent card", [](ReferenceWindow& w) { w.knob->setOn(false); }, Case::control},
        {"wrapping label", [](ReferenceWindow& w) { w.label->setStringValue("Another text, also wrapping over lines."); }, Case::control},
        {"slider", [](ReferenceWindow& w) { w.slider->setDoubleValue(0.9); }, Case::control},
        // The superview is marked: the window's content is repainted.
        {"translucent badge hidden", [](ReferenceWindow& w) { w.badge->setHidden(true); }, Case::window},
        {"translucent badge moved", [](ReferenceWindow& w) { w.badge->setFrameOrigin({150, 150}); }, Case::window},
        {"window title", [](ReferenceWindow& w) { w.window->setTitle("Renamed"); }, Case::screen},
        {"window moved", [](ReferenceWindow& w) { w.window->setFrameOrigin(ScreenPoint{300, 200}); }, Case::screen},
    };
    for (const auto& c : cases) {
        for (double scale : {1.0, 2.0}) {
            SCOPED_TRACE(std::string(c.name) + " at scale " + std::to_string(scale));
            auto shown = showReferenceWindow();
            auto painter = ScreenPainter::make(desktop.screens().primaryScreen(), scale);
            ASSERT_TRUE(painter);
            auto& p = **painter;
            ASSERT_EQ(p.update().size(), 1u) << "the first update paints the screen";
            EXPECT_TRUE(p.update().empty()) << "nothing changed, nothing painted";

            c.change(shown);
            const auto areas = p.update();
            ASSERT_FALSE(areas.empty());
            const int screenPixels = int(1440 * scale) * int(900 * scale);
            int paintedPixels = 0;
            for (const auto& area : areas) paintedPixels += area.width * area.height;
            switch (c.repainted) {
            case Case::screen: EXPECT_EQ(paintedPixels, screenPixels); break;
            case Case::window: EXPECT_LT(paintedPixels, screenPixels / 5); break;
            case Case::control: EXPECT_LT(paintedPixels, screenPixels / 20) << "only the changed part is repainted"; break;
            }
            auto fresh = ScreenPainter::make(desktop.screens().primaryScreen(), scale);
            ASSERT_TRUE(fresh);
            (*fresh)->update();
            EXPECT_EQ(differingPixels(p.bitmap(), (*fresh)->bitmap(), 2), 0);
            EXPECT_TRUE(p.update().empty());
            shown.window->close();
        }
    }
}

// Counts how often it is asked to draw.
class CountingView : public View {
public:
    static std::shared_ptr<CountingView> make(Rect frame) {
        return std::shared_ptr<CountingView>(new CountingView(frame));
    }
    void draw(Canvas& canvas, Rect) override {
        ++draws;
        canvas.setFillColor(Color::sRGB(0.1, 0.3, 0.9));
        canvas.fillRect(bounds());
    }
    int draws = 0;

private:
    explicit CountingView(Rect frame) : View(frame) {}
};

// A panel hidden by transparency (a web panel whose page plays on) keeps
// marking its views; none of it is painted until it shows again.
TEST_F(ViewDrawingTest, ATransparentWindowsViewsAreNeitherDrawnNorRepainted) {
    auto window = Window::make(ScreenRect{300, 300, 200, 150}, WindowStyleMask::borderless);
    auto view = CountingView::make({0, 0, 200, 150});
    window->setContentView(view);
    window->setAlphaValue(0);
    window->orderFront();
    auto painter = ScreenPainter::make(desktop.screens().primaryScreen(), 1);
    ASSERT_TRUE(painter);
    (*painter)->update();
    for (int frame = 0; frame < 3; ++frame) {
        view->setNeedsDisplay();
        EXPECT_TRUE((*painter)->update().empty()) << "an invisible window's change repainted the screen";
    }
    EXPECT_EQ(view->draws, 0);

    window->setAlphaValue(1);
    EXPECT_FALSE((*painter)->update().empty());
    EXPECT_EQ(view->draws, 1);
    auto fresh = ScreenPainter::make(desktop.screens().primaryScreen(), 1);
    ASSERT_TRUE(fresh);
    (*fresh)->update();
    EXPECT_EQ(differingPixels((*painter)->bitmap(), (*fresh)->bitmap(), 0), 0);
}

// The viewer's painter and the snapshots' each see a change, whichever
// paints first.
TEST_F(ViewDrawingTest, EveryPainterOfAScreenSeesAChange) {
    auto shown = showReferenceWindow();
    auto first = ScreenPainter::make(desktop.screens().primaryScreen(), 1);
    auto second = ScreenPainter::make(desktop.screens().primaryScreen(), 2);
    ASSERT_TRUE(first && second);
    (*first)->update();
    (*second)->update();

    shown.knob->setOn(false);
    EXPECT_FALSE((*first)->update().empty());
    EXPECT_FALSE((*second)->update().empty()) << "the first painter took the change from the second";
    EXPECT_TRUE((*first)->update().empty());
    EXPECT_TRUE((*second)->update().empty());
}

// What the views do not draw (other applications' windows, the menu bar)
// is compared as drawing calls: any change repaints the screen.
TEST_F(ViewDrawingTest, ChangesBesideTheViewsRepaintTheWholeScreen) {
    auto shown = showReferenceWindow();
    auto editor = setup.addFrontWindow({.bundleIdentifier = "com.example.editor", .name = "Editor"},
                                       {.title = "Notes", .frame = {700, 200, 400, 300}});
    auto painter = ScreenPainter::make(desktop.screens().primaryScreen(), 1);
    ASSERT_TRUE(painter);
    (*painter)->update();
    ASSERT_TRUE((*painter)->update().empty());

    editor->setScreenFrame(ScreenRect{650, 150, 400, 300});
    const auto areas = (*painter)->update();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas.front(), (ScreenPainter::PixelArea{0, 0, 1440, 900}));
    auto fresh = ScreenPainter::make(desktop.screens().primaryScreen(), 1);
    ASSERT_TRUE(fresh);
    (*fresh)->update();
    EXPECT_EQ(differingPixels((*painter)->bitmap(), (*fresh)->bitmap(), 0), 0);
}

// A page halfway through a fade, over an opaque window background: a
// shadowed card with a switch, a translucent badge with a label on it, a
// swatch in the card's shadow, and a view that counts its drawing.
struct FadingPage {
    std::shared_ptr<View> root, page, card, badge, swatch;
    std::shared_ptr<Switch> knob;
    std::shared_ptr<Label> label;
    std::shared_ptr<CountingView> counter;
};

FadingPage makeFadingPage() {
    FadingPage made;
    made.root = View::make({0, 0, 400, 240});
    made.root->mutableLayer().backgroundColor = Color::sRGB(0.95, 0.95, 0.96);
    made.page = View::make({0, 0, 400, 240});
    made.page->setCachesSubviewsWhileTranslucent(true);
    made.page->setAlphaValue(0.5);
    made.root->addSubview(made.page);
    made.card = makeShadowedCard();
    made.page->addSubview(made.card);
    made.knob = std::dynamic_pointer_cast<Switch>(made.card->subviews().front());
    made.badge = makeTranslucentBadge();
    made.card->addSubview(made.badge);
    made.label = std::dynamic_pointer_cast<Label>(made.badge->subviews().front());
    made.swatch = View::make({131, 4, 12, 40});
    made.page->addSubview(made.swatch);
    made.counter = CountingView::make({300, 180, 40, 20});
    made.page->addSubview(made.counter);
    return made;
}

Bitmap drawnAfresh(View& root) {
    auto canvas = CairoCanvas::make(root.frame().size, 2);
    EXPECT_TRUE(canvas);
    root.display(**canvas);
    return (*canvas)->bitmap();
}

// A translucent page keeps one picture of its content; whatever changes in
// it must show on the next frame, as if it were drawn afresh.
TEST_F(ViewDrawingTest, AFadingPageShowsEveryChangeOfItsContent) {
    struct Case {
        const char* name;
        void (*change)(FadingPage& shown);
    } cases[] = {
        {"switch turned off", [](FadingPage& p) { p.knob->setOn(false); }},
        {"label retitled", [](FadingPage& p) { p.label->setStringValue("Changed"); }},
        {"badge hidden", [](FadingPage& p) { p.badge->setHidden(true); }},
        {"badge faded further", [](FadingPage& p) { p.badge->setAlphaValue(0.2); }},
        {"card moved", [](FadingPage& p) { p.card->setFrameOrigin({40, 30}); }},
        {"swatch in the card's shadow coloured",
         [](FadingPage& p) { p.swatch->mutableLayer().backgroundColor = Color::sRGB(0.2, 0.7, 0.3); }},
        {"view added", [](FadingPage& p) { p.page->addSubview(CountingView::make({100, 10, 30, 30})); }},
        {"card removed", [](FadingPage& p) { p.card->removeFromSuperview(); }},
        {"page scrolled", [](FadingPage& p) { p.page->setBoundsOrigin({8, 4}); }},
        {"dark appearance", [](FadingPage& p) { p.root->setAppearance(Appearance::dark); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto shown = makeFadingPage();
        auto made = CairoCanvas::make(shown.root->frame().size, 2);
        ASSERT_TRUE(made);
        auto& canvas = **made;
        shown.root->display(canvas);
        const Bitmap before = canvas.bitmap();
        c.change(shown);
        shown.root->display(canvas);
        const Bitmap after = canvas.bitmap();
        EXPECT_GT(differingPixels(before, after, 0), 0) << "the change does not show at all";
        EXPECT_EQ(differingPixels(after, drawnAfresh(*shown.root), 0), 0) << "the page shows what it was before";
    }
}

// The page's content is drawn once for all the frames of a fade, whatever
// its own alpha and layer do, and a change inside costs only its part;
// drawn opaque, the page is drawn live again.
TEST_F(ViewDrawingTest, AFadingPageDrawsItsContentOnce) {
    auto shown = makeFadingPage();
    auto made = CairoCanvas::make(shown.root->frame().size, 2);
    ASSERT_TRUE(made);
    auto& canvas = **made;
    for (double alpha : {0.5, 0.3, 0.8}) {
        SCOPED_TRACE(alpha);
        shown.page->setAlphaValue(alpha);
        shown.page->setLayerNeedsDisplay();
        shown.root->display(canvas);
        EXPECT_EQ(shown.counter->draws, 1);
    }
    // A change elsewhere redraws its own part of the picture only.
    shown.knob->setOn(false);
    shown.root->display(canvas);
    EXPECT_EQ(shown.counter->draws, 1);
    EXPECT_EQ(differingPixels(canvas.bitmap(), drawnAfresh(*shown.root), 0), 0);
    shown.page->setAlphaValue(1);
    const int drawn = shown.counter->draws;
    shown.root->display(canvas);
    shown.root->display(canvas);
    EXPECT_EQ(shown.counter->draws, drawn + 2) << "an opaque page is drawn live";
}

}  // namespace
}  // namespace tallowmere::platform
