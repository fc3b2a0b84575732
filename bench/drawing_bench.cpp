// Every window of the program lays out and draws through the platform's
// views and canvas, so these set the pace of the whole interface. Targets on
// a development machine: the mock page below laid out in under 5 ms with
// real fonts, a shadowed switch knob under 0.2 ms, 300 translucent fills
// under 2 ms, a full redraw of a window of 40 controls under 16 ms (all at
// scale 2), and a frame with nothing changed under 0.1 ms.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/desktop/desktop.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/screen_painter.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/slider.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/switch.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "program_in_temporary_home.h"

namespace tallowmere::platform {
namespace {

// A private HOME and a context with the machine's real fonts.
using RealContext = bench::ProgramInTemporaryHome;

// The kind of page the main window, the hosts editor and the settings
// build: 48 rows under six levels of nested stacks (page, section, group,
// row, cell, title line).
// `round` makes every text new, so no measurement is remembered from before.
std::shared_ptr<StackView> makeMockPage(int round = 0) {
    auto page = StackView::makeVertical();
    page->setAlignment(StackAlignment::leading);
    page->setEdgeInsets(EdgeInsets::all(20));
    for (int s = 0; s < 4; ++s) {
        auto section = StackView::makeVertical();
        section->setAlignment(StackAlignment::leading);
        section->addArrangedSubview(Label::make("Section " + std::to_string(s + 1)));
        for (int g = 0; g < 3; ++g) {
            auto group = StackView::makeVertical();
            group->setAlignment(StackAlignment::fill);
            for (int r = 0; r < 4; ++r) {
                const std::string n = std::to_string(((s * 3) + g) * 4 + r + 1) + (round ? "/" + std::to_string(round) : "");
                auto titleLine = StackView::makeHorizontal({Label::make("●"), Label::make("Row title " + n)});
                auto cell = StackView::makeVertical(
                    {titleLine, Label::makeWrapping("A longer explanation of what row " + n +
                                                    " does, wrapped to the width the page gives it.")});
                cell->setAlignment(StackAlignment::leading);
                auto value = Label::make("Value " + n);
                value->setIdentifier("value-" + n);
                auto row = StackView::makeHorizontal({cell, View::make(), value, Switch::make(r % 2 == 0)});
                group->addArrangedSubview(row);
            }
            section->addArrangedSubview(group);
        }
        page->addArrangedSubview(section);
    }
    return page;
}

// A fresh page laid out at 640 points; with `newTexts` no text was
// measured before.
void layOutMockPage(benchmark::State& state, bool newTexts) {
    RealContext context;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto page = makeMockPage(newTexts ? ++round : 0);
        state.ResumeTiming();
        page->setFrame({0, 0, 640, page->fittingHeightForWidth(640)});
        page->layoutSubtreeIfNeeded();
        benchmark::DoNotOptimize(page->frame());
    }
}
BENCHMARK_CAPTURE(layOutMockPage, knownTexts, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(layOutMockPage, newTexts, true)->Unit(benchmark::kMillisecond);

// After one label's text changes, the page lays out again.
void relayOutMockPageAfterOneChange(benchmark::State& state) {
    RealContext context;
    auto page = makeMockPage();
    page->setFrame({0, 0, 640, page->fittingHeightForWidth(640)});
    page->layoutSubtreeIfNeeded();
    auto label = std::dynamic_pointer_cast<Label>(page->findView("value-1"));
    int round = 0;
    for (auto _ : state) {
        if (label) label->setStringValue("Value " + std::to_string(++round));
        page->setFrameSize({640, page->fittingHeightForWidth(640)});
        page->layoutSubtreeIfNeeded();
        benchmark::DoNotOptimize(page->frame());
    }
}
BENCHMARK(relayOutMockPageAfterOneChange)->Unit(benchmark::kMillisecond);

std::unique_ptr<CairoCanvas> makeCanvas(Size size, double scale) {
    auto canvas = CairoCanvas::make(size, scale);
    return canvas ? std::move(*canvas) : nullptr;
}

// The platform's switch (its knob has a soft shadow) in a window-sized canvas.
void shadowedSwitchKnob(benchmark::State& state) {
    RealContext context;
    auto canvas = makeCanvas({1440, 900}, 2);
    auto control = Switch::make(true);
    control->setFrame({600, 400, 38, 22});
    for (auto _ : state) control->display(*canvas);
}
BENCHMARK(shadowedSwitchKnob)->Unit(benchmark::kMicrosecond);

// A view at alpha 0.5 whose drawing is 300 small fills.
class ManyFills : public View {
public:
    static std::shared_ptr<ManyFills> make() { return std::shared_ptr<ManyFills>(new ManyFills); }
    void draw(Canvas& canvas, Rect dirty) override {
        (void)dirty;
        for (int i = 0; i < 300; ++i) {
            canvas.setFillColor(Color::sRGB((i % 7) / 7.0, (i % 5) / 5.0, (i % 3) / 3.0));
            canvas.fillRect({double(i % 20) * 19.5, double(i / 20) * 19.5, 18, 16});
        }
    }

private:
    ManyFills() : View({0, 0, 400, 300}) {}
};

void translucentFills(benchmark::State& state) {
    RealContext context;
    auto canvas = makeCanvas({400, 300}, 2);
    auto view = ManyFills::make();
    view->setAlphaValue(0.5);
    for (auto _ : state) view->display(*canvas);
}
BENCHMARK(translucentFills)->Unit(benchmark::kMillisecond);

// A 1440 × 900 window of 40 controls: labels, fields, buttons, switches,
// sliders and pop-up buttons in ten rows of four, on a card with a shadow.
std::shared_ptr<Window> makeControlWindow() {
    auto window = Window::make(ScreenRect{0, 0, 1440, 872}, WindowStyleMask::titled);
    window->setTitle("Forty controls");
    auto content = View::make({0, 0, 1440, 872});
    content->mutableLayer().backgroundColor = Color::sRGB(0.96, 0.96, 0.97);
    auto card = View::make({40, 40, 1360, 792});
    card->setAutoresizingMask(AutoresizingMask::widthSizable | AutoresizingMask::heightSizable);
    auto& layer = card->mutableLayer();
    layer.backgroundColor = Color::white();
    layer.cornerRadius = 10;
    layer.shadow = Shadow{{0, -2}, 8, Color::black().withAlphaComponent(0.2)};
    auto rows = StackView::makeVertical();
    rows->setAlignment(StackAlignment::leading);
    rows->setSpacing(24);
    rows->setEdgeInsets(EdgeInsets::all(24));
    rows->setPlacement(Placement::filling());
    for (int r = 0; r < 10; ++r) {
        auto popUp = PopUpButton::make();
        popUp->addItems({"Every hour", "Every day", "Every week"});
        auto slider = Slider::make(0.3 + r * 0.05);
        slider->setFixedWidth(200);
        auto field = TextField::make("Field " + std::to_string(r + 1));
        field->setFixedWidth(220);
        std::shared_ptr<View> fourth;
        if (r % 2 == 0) {
            fourth = Switch::make(r % 4 == 0);
            if (r == 4) fourth->setIdentifier("switch");
        } else {
            fourth = Button::make("Button " + std::to_string(r + 1));
        }
        rows->addArrangedSubview(StackView::makeHorizontal(
            {Label::make("Setting number " + std::to_string(r + 1)), field, r % 3 == 0 ? std::shared_ptr<View>(popUp) : slider,
             fourth}));
    }
    card->addSubview(rows);
    content->addSubview(card);
    window->setContentView(content);
    window->orderFront();
    return window;
}

void fullRedrawOfWindow(benchmark::State& state) {
    RealContext context;
    auto window = makeControlWindow();
    auto canvas = makeCanvas({1440, 900}, 2);
    for (auto _ : state) {
        window->contentView()->setNeedsDisplay();
        ScreenSnapshot::drawOwnWindow(*canvas, *window);
    }
}
BENCHMARK(fullRedrawOfWindow)->Unit(benchmark::kMillisecond);

// The viewer's frame when nothing on the screen changed.
void unchangedFrame(benchmark::State& state) {
    RealContext context;
    auto window = makeControlWindow();
    auto painter = ScreenPainter::make(Desktop::shared().screens().primaryScreen(), 2);
    if (!painter) {
        state.SkipWithError("no painter");
        return;
    }
    const auto first = (*painter)->update();
    state.counters["first frame areas"] = double(first.size());
    for (auto _ : state) benchmark::DoNotOptimize((*painter)->update());
}
BENCHMARK(unchangedFrame)->Unit(benchmark::kMicrosecond);

// The frame after one switch of the window was turned.
void frameAfterOneSwitchTurned(benchmark::State& state) {
    RealContext context;
    auto window = makeControlWindow();
    auto painter = ScreenPainter::make(Desktop::shared().screens().primaryScreen(), 2);
    auto control = std::dynamic_pointer_cast<Switch>(window->contentView()->findView("switch"));
    if (!painter || !control) {
        state.SkipWithError("no painter or no switch");
        return;
    }
    (*painter)->update();
    double pixels = 0;
    for (auto _ : state) {
        control->setOn(!control->isOn());
        for (const auto& area : (*painter)->update()) pixels += double(area.width) * area.height;
    }
    state.counters["pixels painted"] = benchmark::Counter(pixels, benchmark::Counter::kAvgIterations);
}
BENCHMARK(frameAfterOneSwitchTurned)->Unit(benchmark::kMillisecond);


}  // namespace
}  // namespace tallowmere::platform
