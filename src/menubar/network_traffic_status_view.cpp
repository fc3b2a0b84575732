#include "menubar/network_traffic_status_view.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/base/gregorian_calendar.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/symbol_image.h"
#include "platform/gfx/text_measurer.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr double rowHeight = 11;
constexpr int mediaZoneCount = 4;
constexpr double mediaZoneWidth = NetworkTrafficStatusView::mediaControlsWidth / mediaZoneCount;

Color labelColor() { return Color::system(SystemColor::label); }

Font trafficFont() { return Font::monospacedDigitSystemFont(8.5, FontWeight::medium); }

// The units read "KB" and "MB": the column has no room for "/s".
std::string withoutPerSecond(std::string unit) {
    for (auto found = unit.find("/s"); found != std::string::npos; found = unit.find("/s")) unit.erase(found, 2);
    return unit;
}

// Text set in `box` as a label would: from the top, left or right aligned.
void drawTextInBox(Canvas& canvas, const std::string& text, Rect box, const Font& font, bool alignRight) {
    const Size size = TextMeasurer::shared().measure(text, font);
    const double x = alignRight ? box.maxX() - size.width : box.minX();
    canvas.drawText(text, Point{x, box.maxY() - size.height}, font, labelColor());
}

std::optional<MediaControlAction> mediaControlAction(int index) {
    switch (index) {
        case 0: return MediaControlAction::previous;
        case 1: return MediaControlAction::playPause;
        case 2: return MediaControlAction::next;
        case 3: return MediaControlAction::openPlayer;
        default: return std::nullopt;
    }
}

}  // namespace

std::shared_ptr<NetworkTrafficStatusView> NetworkTrafficStatusView::make() {
    return std::shared_ptr<NetworkTrafficStatusView>(new NetworkTrafficStatusView());
}

NetworkTrafficStatusView::NetworkTrafficStatusView() : View(Rect{}) {}

bool NetworkTrafficStatusView::showsVPNColumn() const {
    return showsTraffic && vpnUploadValue && vpnDownloadValue;
}

double NetworkTrafficStatusView::leadingWidth() const {
    const double calendar = showsCalendar ? calendarSlotWidth : 0;
    const double icon = statusIcon ? iconSlotWidth : 0;
    const double traffic = showsTraffic ? physicalColumnWidth + (showsVPNColumn() ? vpnColumnWidth : 0) : 0;
    return calendar + icon + traffic;
}

Rect NetworkTrafficStatusView::calendarRect() const { return {0, 0, calendarSlotWidth, bounds().height()}; }

Rect NetworkTrafficStatusView::mediaRect() const {
    return {leadingWidth(), 0, mediaControlsWidth, bounds().height()};
}

std::shared_ptr<View> NetworkTrafficStatusView::hitTest(Point pointInSuperview) {
    if (isHidden()) return nullptr;
    const Point point = convertFrom(pointInSuperview, superview().get());
    if (!bounds().contains(point)) return nullptr;
    if ((showsCalendar && calendarRect().contains(point)) || (showsMediaControls && mediaRect().contains(point))) {
        return shared_from_this();
    }
    // Elsewhere the status item's own button takes the click.
    return nullptr;
}

void NetworkTrafficStatusView::mouseDown(const Event& event) { handleStatusClick(locationInView(event)); }

void NetworkTrafficStatusView::handleStatusClick(Point point) {
    if (showsCalendar && calendarRect().contains(point)) {
        const Rect slot = calendarRect();
        const ScreenRect onScreen = convertToScreen(slot);
        if (onCalendar) onCalendar(ScreenPoint{onScreen.midX(), onScreen.minY()});
        return;
    }
    const Rect media = mediaRect();
    if (!showsMediaControls || !media.contains(point)) return;
    const int index = std::clamp(static_cast<int>((point.x - media.minX()) / mediaZoneWidth), 0, mediaZoneCount - 1);
    pressedMediaControlIndex = index;
    setNeedsDisplay();
    // Only the highlight of this click ends here: a later click on another
    // button keeps its own.
    const std::weak_ptr<View> weakSelf = weak_from_this();
    AppContext::current().mainQueue().asyncAfter(pressedHighlightDuration, [weakSelf, index] {
        auto self = std::static_pointer_cast<NetworkTrafficStatusView>(weakSelf.lock());
        if (!self || self->pressedMediaControlIndex != index) return;
        self->pressedMediaControlIndex.reset();
        self->setNeedsDisplay();
    });
    if (const auto action = mediaControlAction(index); action && onMediaAction) onMediaAction(*action);
}

void NetworkTrafficStatusView::draw(Canvas& canvas, Rect dirty) {
    View::draw(canvas, dirty);
    if (showsCalendar) drawCalendar(canvas);
    if (statusIcon) drawStatusIcon(canvas);
    if (showsTraffic) drawTraffic(canvas);
    if (showsMediaControls) drawMediaControls(canvas);
    if (!timedStatus.empty()) drawTimedStatus(canvas);
}

void NetworkTrafficStatusView::drawCalendar(Canvas& canvas) const {
    const double height = bounds().height();
    const std::string day =
        std::to_string(GregorianCalendar::current().day(AppContext::current().clock().now()).day);
    const Rect square{2.5, std::max(1.5, (height - 19) / 2), 19, 19};
    canvas.setStrokeColor(labelColor());
    canvas.setLineWidth(1.25);
    canvas.strokeRoundedRect(square, 2.4);
    const Font font = Font::monospacedDigitSystemFont(day.size() == 1 ? 10.2 : 9.2, FontWeight::semibold);
    const Size size = TextMeasurer::shared().measure(day, font);
    canvas.drawText(day, Point{square.midX() - size.width / 2, square.midY() - size.height / 2 + 0.2}, font,
                    labelColor());
}

void NetworkTrafficStatusView::drawStatusIcon(Canvas& canvas) const {
    const double x = (showsCalendar ? calendarSlotWidth : 0) + (showsVPNColumn() ? vpnColumnWidth : 0);
    const Rect box{x, std::max(0.0, (bounds().height() - 24) / 2), 24, 24};
    canvas.save();
    canvas.setImageInterpolation(ImageInterpolation::high);
    canvas.drawImage(statusIconBitmap ? *statusIconBitmap : *statusIcon, box);
    canvas.restore();
}

void NetworkTrafficStatusView::drawTraffic(Canvas& canvas) const {
    const Font font = trafficFont();
    const double upper = std::max(10.0, bounds().height() / 2);
    const double lower = 0;
    const double icon = statusIcon ? iconSlotWidth : 0;
    const bool vpnColumn = showsVPNColumn() && vpnUploadUnit && vpnDownloadUnit;
    double x0 = (showsCalendar ? calendarSlotWidth + 2 : 2) + icon;
    if (vpnColumn) {
        // The tunnel's column has no arrows: the physical one beside it
        // says which row is which.
        const double xv = showsCalendar ? 26 : 2;
        drawTextInBox(canvas, *vpnUploadValue, {xv, upper, 16, rowHeight}, font, true);
        drawTextInBox(canvas, *vpnDownloadValue, {xv, lower, 16, rowHeight}, font, true);
        drawTextInBox(canvas, withoutPerSecond(*vpnUploadUnit), {xv + 16, upper, 18, rowHeight}, font, true);
        drawTextInBox(canvas, withoutPerSecond(*vpnDownloadUnit), {xv + 16, lower, 18, rowHeight}, font, true);
        x0 = (showsCalendar ? 67 : 43) + icon;
    }
    drawTextInBox(canvas, "↑", {x0, upper, 9, rowHeight}, font, false);
    drawTextInBox(canvas, "↓", {x0, lower, 9, rowHeight}, font, false);
    drawTextInBox(canvas, uploadValue, {x0 + 9, upper, 16, rowHeight}, font, true);
    drawTextInBox(canvas, downloadValue, {x0 + 9, lower, 16, rowHeight}, font, true);
    drawTextInBox(canvas, withoutPerSecond(uploadUnit), {x0 + 25, upper, 18, rowHeight}, font, true);
    drawTextInBox(canvas, withoutPerSecond(downloadUnit), {x0 + 25, lower, 18, rowHeight}, font, true);
}

void NetworkTrafficStatusView::drawMediaControls(Canvas& canvas) const {
    const double height = bounds().height();
    const double xm = leadingWidth();
    const SymbolConfiguration configuration{12.5, FontWeight::semibold};
    const std::array<const char*, 3> symbols{"backward.end.fill", mediaIsPlaying ? "pause.fill" : "play.fill",
                                             "forward.end.fill"};
    for (int i = 0; i < 3; ++i) {
        const double slotX = xm + mediaZoneWidth * i;
        const bool pressed = pressedMediaControlIndex == i;
        if (i == 1 || pressed) {
            const double diameter = (i == 1 ? 18 : 16) * (pressed ? 0.82 : 1.0);
            canvas.setFillColor(Color::calibratedWhite(1, pressed ? 0.3 : 0.16));
            canvas.fillEllipse({slotX + (mediaZoneWidth - diameter) / 2, (height - diameter) / 2, diameter, diameter});
        }
        // A symbol the system lacks leaves its button blank; it still works.
        const auto symbol = symbolImage(symbols[static_cast<std::size_t>(i)], {}, configuration);
        if (!symbol) continue;
        const Image white = symbol->tinted(Color::white());
        const double factor = pressed ? 0.72 : (i == 1 ? 0.82 : 0.9);
        const double w = symbol->size().width * factor;
        const double h = symbol->size().height * factor;
        canvas.drawImage(white, {slotX + (mediaZoneWidth - w) / 2, (height - h) / 2, w, h});
    }
    drawPlayerButton(canvas, xm + mediaZoneWidth * 3);
}

void NetworkTrafficStatusView::drawPlayerButton(Canvas& canvas, double slotX) const {
    const double height = bounds().height();
    const bool pressed = pressedMediaControlIndex == 3;
    canvas.save();
    if (mediaPlayerIcon) {
        const double size = pressed ? 14 : 18;
        const Rect box{slotX + (mediaZoneWidth - size) / 2, (height - size) / 2, size, size};
        canvas.clip(Path::ellipse(box));
        canvas.drawImage(*mediaPlayerIcon, box);
    } else {
        // A music note of our own, for when no player is known yet.
        const double k = pressed ? 0.82 : 1.0;
        const double x0 = slotX + (mediaZoneWidth - 15 * k) / 2;
        const double y0 = (height - 16 * k) / 2;
        canvas.setColor(Color::calibratedWhite(1, 0.94));
        canvas.fillEllipse({x0, y0 + 1, 5.3 * k, 4.0 * k});
        canvas.fillEllipse({x0 + 8.7 * k, y0 + 3, 5.3 * k, 4.0 * k});
        Path stem;
        stem.moveTo({x0 + 4.7 * k, y0 + 3 * k});
        stem.lineTo({x0 + 4.7 * k, y0 + 13.2 * k});
        stem.lineTo({x0 + 13.4 * k, y0 + 15 * k});
        stem.lineTo({x0 + 13.4 * k, y0 + 5 * k});
        canvas.setLineWidth(1.8 * k);
        canvas.setLineCap(LineCap::round);
        canvas.setLineJoin(LineJoin::round);
        canvas.stroke(stem);
    }
    canvas.restore();
}

void NetworkTrafficStatusView::drawTimedStatus(Canvas& canvas) const {
    const double lead = leadingWidth() + (showsMediaControls ? mediaControlsWidth : 0);
    const Rect box{lead, std::max(0.0, (bounds().height() - 14) / 2),
                   std::max(0.0, bounds().width() - lead - 6), 14};
    drawTextInBox(canvas, timedStatus, box, Font::monospacedDigitSystemFont(11, FontWeight::medium), false);
}

}  // namespace tallowmere
