#include "platform/ui/lock_screen_painter.h"

#include <cmath>
#include <ctime>
#include <string>

#include "platform/base/text.h"
#include "platform/desktop/screen_lock_service.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/gradient.h"
#include "platform/gfx/text_measurer.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/clock.h"
#include "platform/system/paths.h"

namespace tallowmere::platform {

namespace {

const Color topColor = Color::sRGB(0.10, 0.14, 0.24);
const Color bottomColor = Color::sRGB(0.03, 0.04, 0.07);

void drawCentred(Canvas& canvas, const std::string& text, double midX, double bottomY, const Font& font,
                 const Color& color) {
    const auto size = TextMeasurer::shared().measure(text, font);
    canvas.drawText(text, {midX - size.width / 2, bottomY}, font, color);
}

// "21:07" and "Thursday, 10 December" for the clock's local time.
std::pair<std::string, std::string> clockTexts() {
    const auto seconds = static_cast<std::time_t>(std::floor(AppContext::current().clock().now().timeIntervalSince1970()));
    std::tm local{};
    localtime_r(&seconds, &local);
    char time[16], date[64];
    std::strftime(time, sizeof time, "%H:%M", &local);
    std::strftime(date, sizeof date, "%A, %e %B", &local);
    std::string dateText = date;
    if (const auto doubleSpace = dateText.find("  "); doubleSpace != std::string::npos) dateText.erase(doubleSpace, 1);
    return {time, dateText};
}

}  // namespace

void LockScreenPainter::draw(Canvas& canvas, ScreenRect screenFrame, bool isPrimary) {
    const Rect screen = rect_cast<LocalSpace>(screenFrame);
    canvas.save();
    canvas.clipToRect(screen);
    canvas.drawLinearGradient(Gradient(topColor, bottomColor), {screen.midX(), screen.maxY()},
                              {screen.midX(), screen.minY()});
    if (!isPrimary) {
        canvas.restore();
        return;
    }
    const Color white = Color::white();
    const auto [time, date] = clockTexts();
    drawCentred(canvas, time, screen.midX(), screen.minY() + screen.height() * 0.74,
                Font::systemFont(72, FontWeight::light), white);
    drawCentred(canvas, date, screen.midX(), screen.minY() + screen.height() * 0.70,
                Font::systemFont(18, FontWeight::medium), white.withAlphaComponent(0.85));

    const Rect field = rect_cast<LocalSpace>(ScreenLockService::signInFieldFrame(screenFrame));
    // The person: a round picture with the first letter of the account.
    const std::string account = Paths::home().filename().string();
    const std::string name = account.empty() ? std::string("User") : account;
    constexpr double avatar = 80;
    const Rect picture{field.midX() - avatar / 2, field.maxY() + 44, avatar, avatar};
    canvas.setFillColor(Color::sRGB(0.55, 0.58, 0.64));
    canvas.fillEllipse(picture);
    const Font initialFont = Font::systemFont(38, FontWeight::semibold);
    const std::string initial = Text::prefixGraphemes(name, 1);
    const auto initialSize = TextMeasurer::shared().measure(initial, initialFont);
    canvas.drawText(initial, {picture.midX() - initialSize.width / 2, picture.midY() - initialSize.height / 2},
                    initialFont, white);
    drawCentred(canvas, name, field.midX(), field.maxY() + 14, Font::systemFont(15, FontWeight::semibold), white);

    canvas.setFillColor(white.withAlphaComponent(0.22));
    canvas.fillRoundedRect(field, field.height() / 2);
    const Font fieldFont = Font::systemFont(13);
    const auto placeholder = TextMeasurer::shared().measure("Enter Password", fieldFont);
    canvas.drawText("Enter Password", {field.minX() + 14, field.midY() - placeholder.height / 2}, fieldFont,
                    white.withAlphaComponent(0.6));
    drawCentred(canvas, "Click the field or press Return to sign in", field.midX(), field.minY() - 28,
                Font::systemFont(12), white.withAlphaComponent(0.55));
    canvas.restore();
}

}  // namespace tallowmere::platform
