#include "toys/decision_certificate.h"

#include <array>
#include <cstdlib>

#include "platform/base/date_formatter.h"
#include "platform/base/gregorian_calendar.h"
#include "platform/gfx/attributed_string.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/font.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "toys/poetry_fonts.h"

namespace tallowmere {
namespace {

using namespace platform;

constexpr double scale = 2;
constexpr double margin = 70;  // inside the double border

const Color paper = Color::sRGB(0.985, 0.958, 0.89);
const Color ink = Color::sRGB(0.29, 0.2, 0.1);
const Color brown = Color::sRGB(0.48, 0.36, 0.2);
const Color red = Color::sRGB(0.73, 0.19, 0.12);

CertificateError ownError(std::string description) {
    return {CertificateError::ownDomain, 1, std::move(description)};
}

std::string localTime(Date date, const char* pattern) {
    auto formatter = DateFormatter::make(pattern, GregorianCalendar::current().timeZoneIdentifier());
    return formatter.ok() ? formatter->string(date) : std::string();
}

class CertificatePainter {
public:
    explicit CertificatePainter(Canvas& canvas) : canvas_(canvas) {}

    // One line centred across the page with its top `top` points below the page's top.
    void centred(const std::string& text, const Font& font, const Color& color, double top) {
        const AttributedString line(text, {.font = font, .foregroundColor = color});
        const auto size = measurer_.measure(line);
        canvas_.drawText(line, Rect{(DecisionCertificate::width - size.width) / 2,
                                    DecisionCertificate::height - top - size.height, size.width + 1, size.height});
    }

    // Wrapped text in a box given from the page's top; the font shrinks
    // until the text fits, so a long matter never runs off the page.
    void wrapped(const std::string& text, double size, const Color& color, Rect fromTop) {
        AttributedString body(text, {.font = PoetryFonts::kaiti(size), .foregroundColor = color});
        while (size > 8 && measurer_.measure(body, fromTop.width()).height > fromTop.height()) {
            size *= 0.9;
            body = AttributedString(text, {.font = PoetryFonts::kaiti(size), .foregroundColor = color});
        }
        canvas_.drawText(body, Rect{fromTop.minX(), DecisionCertificate::height - fromTop.minY() - fromTop.height(),
                                    fromTop.width(), fromTop.height()});
    }

    void seal(Point centre, double radius) {
        canvas_.setStrokeColor(red);
        canvas_.setLineWidth(5);
        canvas_.strokeEllipse({centre.x - radius, centre.y - radius, 2 * radius, 2 * radius});
        canvas_.setLineWidth(1.5);
        canvas_.strokeEllipse({centre.x - radius + 9, centre.y - radius + 9, 2 * radius - 18, 2 * radius - 18});
        const std::array<std::pair<const char*, double>, 3> lines{{{"塔洛梅", 26}, {"科学决策", 24}, {"机制高手", 24}}};
        double y = centre.y + 42;
        for (const auto& [text, size] : lines) {
            const AttributedString line(text, {.font = PoetryFonts::kaiti(size), .foregroundColor = red});
            const auto measured = measurer_.measure(line);
            canvas_.drawText(line, Rect{centre.x - measured.width / 2, y - measured.height, measured.width + 1,
                                        measured.height});
            y -= measured.height + 4;
        }
    }

private:
    Canvas& canvas_;
    PangoTextMeasurer measurer_;
};

}  // namespace

Bitmap DecisionCertificate::certificateImage(const ScientificDecisionRecord& record) {
    auto made = CairoCanvas::make({width, height}, scale);
    if (!made.ok()) return Bitmap(static_cast<int>(width * scale), static_cast<int>(height * scale), scale);
    auto& canvas = **made;
    canvas.setFillColor(paper);
    canvas.fillRect({0, 0, width, height});
    canvas.setStrokeColor(red);
    canvas.setLineWidth(6);
    canvas.strokeRect({24, 24, width - 48, height - 48});
    canvas.setLineWidth(1.5);
    canvas.strokeRect({38, 38, width - 76, height - 76});

    CertificatePainter painter(canvas);
    painter.centred("塔洛梅科学决策证书", PoetryFonts::kaiti(58), ink, 78);
    painter.centred("SCIENTIFIC RANDOM DECISION · 有章有据", PoetryFonts::kaiti(22), brown, 160);

    const std::string statement = "兹证明 " + record.people + " 探讨或争执的问题：“" + record.matter +
                                  "”在解决无果的情况下，在塔洛梅科学决策机制高手的决策和见证下，最后选择了结果" +
                                  record.optionLetter + " · " + record.optionText;
    painter.wrapped(statement, 30, ink, {margin + 20, 225, width - 2 * margin - 40, 330});
    painter.wrapped("以此见证，如有反悔，挂图挨骂被诅咒。", 28, red, {margin + 20, 575, width - 2 * margin - 40, 50});
    painter.wrapped("主持人：塔洛梅科学决策机制高手\n时间：" + chineseDateLine(record.date), 24, brown,
                    {margin + 20, 660, 560, 100});
    painter.seal({width - margin - 130, 150}, 100);
    return canvas.bitmap();
}

std::optional<Data> DecisionCertificate::pngData(const Bitmap& image, CertificateError* error) {
    auto encoded = image.isEmpty() ? Result<Data>(Error{ErrorCode::invalidArgument, "empty image"}) : encodePng(image);
    if (encoded.ok()) return std::move(*encoded);
    if (error) *error = ownError("无法生成 PNG 图片。");
    return std::nullopt;
}

std::string DecisionCertificate::certificateFileName(Date date) {
    return "塔洛梅科学决策证书-" + localTime(date, "yyyyMMdd-HHmmss") + ".png";
}

std::variant<std::filesystem::path, CertificateError> DecisionCertificate::saveToDesktop(
    const ScientificDecisionRecord& record, const Bitmap& image) {
    const auto desktop = Paths::desktop();
    std::error_code ec;
    if (!std::filesystem::is_directory(desktop, ec)) return ownError("未找到桌面文件夹。");
    CertificateError error;
    const auto png = pngData(image, &error);
    if (!png) return error;
    const auto base = certificateFileName(record.date);
    const auto stem = base.substr(0, base.size() - 4);
    // Taking the name and writing it are one step, so two saves in the same
    // second can never land on the same file.
    for (int n = 1;; ++n) {
        const auto file = desktop / (n == 1 ? base : stem + "-" + std::to_string(n) + ".png");
        auto created = Files::createExclusively(file, *png);
        if (created.ok()) return file;
        if (created.error().code != ErrorCode::alreadyExists) {
            return CertificateError{"NSCocoaErrorDomain", created.error().systemCode, created.error().message};
        }
    }
}

std::optional<CertificateError> DecisionCertificate::save(const Bitmap& image, const std::filesystem::path& file) {
    CertificateError error;
    const auto png = pngData(image, &error);
    if (!png) return error;
    auto written = Files::writeAtomically(file, *png);
    if (!written.ok()) return CertificateError{"NSCocoaErrorDomain", written.error().systemCode, written.error().message};
    return std::nullopt;
}

std::string DecisionCertificate::chineseDate(int number) {
    static constexpr std::array<const char*, 10> digits{"〇", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (number < 0) return "负" + chineseDate(-number);
    if (number >= 100) {
        std::string text;
        for (const char c : std::to_string(number)) text += digits[static_cast<std::size_t>(c - '0')];
        return text;
    }
    if (number < 10) return digits[static_cast<std::size_t>(number)];
    const int tens = number / 10, ones = number % 10;
    std::string text = tens == 1 ? "十" : std::string(digits[static_cast<std::size_t>(tens)]) + "十";
    if (ones) text += digits[static_cast<std::size_t>(ones)];
    return text;
}

std::string DecisionCertificate::chineseDateLine(Date date) {
    const auto number = [&](const char* pattern) { return std::atoi(localTime(date, pattern).c_str()); };
    return chineseDate(number("yyyy")) + "年" + chineseDate(number("M")) + "月" + chineseDate(number("d")) + "日";
}

}  // namespace tallowmere
