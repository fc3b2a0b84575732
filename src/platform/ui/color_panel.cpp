#include "platform/ui/color_panel.h"

#include <algorithm>

#include "platform/base/text.h"
#include "platform/desktop/screen.h"
#include "platform/gfx/canvas.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/color_well.h"
#include "platform/ui/control.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/system_beep.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

constexpr double margin = 10;
constexpr std::size_t swatchesPerRow = 8;
constexpr double swatchWidth = 28;
constexpr double swatchHeight = 22;
constexpr double swatchGap = 4;
constexpr double fieldHeight = 22;
constexpr double previewHeight = 28;
// From the screen's top right corner to the panel the first time it shows.
constexpr double screenInset = 20;

// One colour to click, or (without an action) the colour in use.
class Swatch : public Control {
public:
    static std::shared_ptr<Swatch> make(Rect frame, Color color) {
        auto swatch = std::shared_ptr<Swatch>(new Swatch(frame));
        swatch->setColor(std::move(color));
        return swatch;
    }

    const Color& color() const { return color_; }
    void setColor(Color color) {
        color_ = std::move(color);
        setAccessibilityLabel(color_.hexString());
        setNeedsDisplay();
    }
    void setMarked(bool marked) {
        if (marked == marked_) return;
        marked_ = marked;
        setNeedsDisplay();
    }
    bool isMarked() const { return marked_; }

    std::string accessibilityRole() const override { return onAction ? "AXButton" : "AXColorWell"; }
    void draw(Canvas& canvas, Rect) override {
        const Rect box = bounds().insetBy(1, 1);
        canvas.save();
        canvas.setFillColor(color_);
        canvas.fillRoundedRect(box, 4);
        canvas.setStrokeColor(marked_ ? Color::system(SystemColor::label) : Color::system(SystemColor::separator));
        canvas.setLineWidth(marked_ ? 2 : 1);
        canvas.strokeRoundedRect(box.insetBy(marked_ ? 1 : 0.5, marked_ ? 1 : 0.5), 4);
        canvas.restore();
    }
    void mouseDown(const Event&) override {
        if (isEnabled()) sendAction();
    }

private:
    explicit Swatch(Rect frame) : Control(frame) {}

    Color color_ = Color::white();
    bool marked_ = false;
};

}  // namespace

ColorPanel& ColorPanel::shared() { return AppContext::current().shared<ColorPanel>(); }

void ColorPanel::orderFront() {
    if (!panel_) {
        makePanel();
        if (auto screen = DesktopLink::mainScreen()) {
            const ScreenRect visible = screen->visibleFrame();
            panel_->setFrameTopLeftPoint({visible.maxX() - screenInset - panel_->frame().width(), visible.maxY() - screenInset});
        }
    }
    showColor();
    panel_->orderFrontRegardless();
}

void ColorPanel::close() {
    if (panel_) panel_->orderOut();
}

bool ColorPanel::isVisible() const { return panel_ && panel_->isVisible(); }

void ColorPanel::setColor(Color color) {
    color_ = std::move(color);
    showColor();
}

void ColorPanel::choose(const Color& color) {
    setColor(color);
    ColorWell::deliverPanelColor(color);
}

std::shared_ptr<View> ColorPanel::swatch(std::size_t index) const {
    if (!grid_ || index >= grid_->subviews().size()) return nullptr;
    return grid_->subviews()[index];
}

void ColorPanel::showColor() {
    if (!panel_) return;
    static_cast<Swatch&>(*preview_).setColor(color_);
    const std::string hex = color_.hexString();
    for (const auto& view : grid_->subviews()) {
        auto& swatch = static_cast<Swatch&>(*view);
        swatch.setMarked(swatch.color().hexString() == hex);
    }
    hexField_->setStringValue(hex);
}

void ColorPanel::confirmHex() {
    const auto typed = Color::fromHex(Text::trimmingWhitespaceAndNewlines(hexField_->stringValue()));
    if (!typed) {
        // Nothing to choose: the field shows the colour in use again.
        systemBeep();
        showColor();
        return;
    }
    choose(*typed);
}

void ColorPanel::makePanel() {
    panel_ = Window::make<Panel>(ScreenRect{0, 0, width, height},
                                 WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable |
                                                 WindowStyleMask::utilityWindow});
    panel_->setTitle("Colors");
    panel_->setFloatingPanel(true);
    // Used beside the dialogs whose colours it sets.
    panel_->worksWhenModal = true;
    panel_->setHidesOnDeactivate(false);

    auto content = View::make(Rect{0, 0, width, height});

    auto hexLabel = Label::make("Hex");
    hexLabel->setFont(Font::systemFont(Font::smallSystemFontSize));
    hexLabel->setFrame({margin, margin + 3, 36, 16});
    content->addSubview(hexLabel);
    hexField_ = TextField::make();
    hexField_->setFont(Font::monospacedSystemFont(Font::smallSystemFontSize));
    hexField_->setPlaceholderString("#RRGGBB");
    hexField_->setFrame({margin + 40, margin, width - 2 * margin - 40, fieldHeight});
    hexField_->onAction = [this](Control&) { confirmHex(); };
    content->addSubview(hexField_);

    const std::size_t rows = (palette.size() + swatchesPerRow - 1) / swatchesPerRow;
    const double gridHeight = rows * swatchHeight + (rows - 1) * swatchGap;
    const double gridBottom = margin + fieldHeight + margin;
    grid_ = View::make(Rect{margin, gridBottom, width - 2 * margin, gridHeight});
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const double x = (i % swatchesPerRow) * (swatchWidth + swatchGap);
        const double y = gridHeight - swatchHeight - (i / swatchesPerRow) * (swatchHeight + swatchGap);
        auto swatch = Swatch::make({x, y, swatchWidth, swatchHeight}, *Color::fromHex(palette[i]));
        swatch->onAction = [this](Control& sender) { choose(static_cast<Swatch&>(sender).color()); };
        grid_->addSubview(swatch);
    }
    content->addSubview(grid_);

    preview_ = Swatch::make({margin, gridBottom + gridHeight + margin, width - 2 * margin, previewHeight}, color_);
    content->addSubview(preview_);
    panel_->setContentView(content);
}

}  // namespace tallowmere::platform
