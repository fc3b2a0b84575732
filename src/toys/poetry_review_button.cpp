#include "toys/poetry_review_button.h"

#include "platform/gfx/attributed_string.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/path.h"
#include "platform/gfx/text_measurer.h"
#include "toys/poetry_fonts.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<PoetryReviewButton> PoetryReviewButton::make(std::string title) {
    auto button = std::shared_ptr<PoetryReviewButton>(new PoetryReviewButton(Rect{0, 0, 74, 30}));
    button->setTitle(std::move(title));
    return button;
}

PoetryReviewButton::PoetryReviewButton(Rect frame) : Button(frame) {
    setBordered(false);
    setButtonType(ButtonType::momentaryChange);
    setWantsLayer(true);
    setCursor(CursorShape::pointingHand);
}

void PoetryReviewButton::draw(Canvas& canvas, Rect) {
    const auto box = bounds().insetBy(1, 1);
    const Color ink = Color::calibratedRGB(0.67, 0.09, 0.07);
    canvas.setFillColor(Color::calibratedRGB(0.99, 0.96, 0.90, isEnabled() ? 0.92 : 0.5));
    canvas.fill(Path::roundedRect(box, box.height() / 2));
    canvas.setStrokeColor(ink.withAlphaComponent(0.55));
    canvas.setLineWidth(1);
    canvas.stroke(Path::roundedRect(box, box.height() / 2));
    const AttributedString text(title(), {.font = PoetryFonts::brush(15), .foregroundColor = ink});
    const auto size = TextMeasurer::shared().measure(text);
    canvas.drawText(text, Point{box.midX() - size.width / 2, box.midY() - size.height / 2});
}

}  // namespace tallowmere
