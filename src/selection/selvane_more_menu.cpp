// The bar's "more" menu: the typography of the selection and the tools the
// bar does not carry.
#include "selection/selvane_action_panel.h"

#include <cmath>
#include <cstdio>
#include <regex>

#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/path.h"
#include "platform/ui/desktop_link.h"
#include "screen/color_picker_controller.h"
#include "screen/screen_ruler_controller.h"
#include "screen/screenshot_toast.h"
#include "selection/clip_toolbar_glyph.h"
#include "selection/selvane_preferences.h"

namespace tallowmere {

namespace {

std::string pick(const char* chinese, const char* english) { return selvaneReadsChinese() ? chinese : english; }

// "字号：" or "字号 2：": numbered only when there are several.
std::string numberedLabel(const char* chinese, const char* english, std::size_t index, std::size_t count) {
    std::string label = pick(chinese, english);
    if (count > 1) label += " " + std::to_string(index + 1);
    return label + pick("：", ": ");
}

std::shared_ptr<platform::MenuItem> infoItem(std::string title, bool enabled) {
    auto item = platform::MenuItem::make(std::move(title));
    item->setEnabled(enabled);
    return item;
}

}  // namespace

// Starts the auto-hide once the menu has closed: popping up returns at once here.
class SelvaneActionPanel::MoreMenuDelegate final : public platform::MenuDelegate {
public:
    explicit MoreMenuDelegate(std::weak_ptr<SelvaneActionPanel> bar) : bar_(std::move(bar)) {}
    void menuDidClose(platform::Menu&) override {
        auto bar = bar_.lock();
        if (bar && bar->isVisible() && !bar->isPointerInside()) bar->scheduleAutoHide();
    }

private:
    std::weak_ptr<SelvaneActionPanel> bar_;
};

void SelvaneActionPanel::showMoreMenu(const platform::View& sender) {
    cancelAutoHide();
    moreMenu_ = platform::Menu::make();
    moreMenu_->autoenablesItems = false;
    appendFontInfoItems(*moreMenu_);
    appendAdditionalToolItems(*moreMenu_);
    if (!moreMenuDelegate_) moreMenuDelegate_ = std::make_shared<MoreMenuDelegate>(weak_from_this());
    moreMenu_->setDelegate(moreMenuDelegate_);
    moreMenu_->popUp(nullptr, platform::Point{0, 0}, sender);
}

void SelvaneActionPanel::appendFontInfoItems(platform::Menu& menu) {
    if (selectionStyleNote_) {
        menu.addItem(infoItem(*selectionStyleNote_, false));
        menu.addSeparator();
    }
    menu.addItem(infoItem(pick("字体：", "Font: ") + selectionFontNameDescription_, true));

    const auto& sizes = selectionFontSizeDescriptions_;
    if (sizes.empty()) menu.addItem(infoItem(pick("字号：无法获取", "Font Size: Unavailable"), false));
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        auto item = infoItem(numberedLabel("字号", "Font Size", i, sizes.size()) +
                                 dualUnitFontSize(sizes[i], selectionBackingScale_),
                             true);
        item->setToolTip(pick("保留来源字号；CSS 按 96 px = 72 pt 换算，原生应用按屏幕倍率换算物理像素。换算值不是实际字形高度。",
                              "Preserves the source font size. CSS uses 96 px = 72 pt; native apps use the screen backing "
                              "scale to calculate rendering pixels, not physical panel pixels. Converted values are not "
                              "actual glyph heights."));
        menu.addItem(item);
    }

    const auto& weights = selectionFontWeightDescriptions_;
    if (weights.empty()) menu.addItem(infoItem(pick("粗细：无法获取", "Font Weight: Unavailable"), false));
    for (std::size_t i = 0; i < weights.size(); ++i) {
        menu.addItem(infoItem(numberedLabel("粗细", "Font Weight", i, weights.size()) + weights[i], true));
    }

    const auto& colors = selectionColors_;
    if (colors.empty()) menu.addItem(infoItem(pick("颜色：无法获取", "Color: Unavailable"), false));
    std::weak_ptr<SelvaneActionPanel> weak = weak_from_this();
    for (std::size_t i = 0; i < colors.size(); ++i) {
        auto item = platform::MenuItem::make(numberedLabel("颜色", "Color", i, colors.size()) + colors[i].hex,
                                             [weak](platform::MenuItem& sender) {
                                                 if (auto self = weak.lock()) self->copySelectedTextColor(sender);
                                             });
        item->setRepresentedObject(colors[i].hex);
        item->setImage(colorSwatch(colors[i].color));
        item->setToolTip(pick("点击复制颜色值", "Click to copy the color value"));
        item->setEnabled(true);
        menu.addItem(item);
    }
}

void SelvaneActionPanel::appendAdditionalToolItems(platform::Menu& menu) {
    const auto enabled = SelvanePreferences::enabledTools();
    auto missing = [&](SelvaneTool tool) { return std::find(enabled.begin(), enabled.end(), tool) == enabled.end(); };
    if (missing(SelvaneTool::colorPicker) || missing(SelvaneTool::screenRuler)) menu.addSeparator();
    if (missing(SelvaneTool::colorPicker)) {
        auto item = platform::MenuItem::make(pick("取色器", "Color Picker"),
                                             [](platform::MenuItem& sender) { ColorPickerController::shared().pickFromMenu(sender); });
        item->setImage(ClipToolbarGlyph::image("colorPicker"));
        item->setEnabled(true);
        menu.addItem(item);
    }
    if (missing(SelvaneTool::screenRuler)) {
        auto item = platform::MenuItem::make(pick("测量标尺", "Screen Ruler"),
                                             [](platform::MenuItem&) { ScreenRulerController::shared().showFromMenu(); });
        item->setImage(ClipToolbarGlyph::image("screenRuler"));
        item->setEnabled(true);
        menu.addItem(item);
    }
    menu.addSeparator();
    std::weak_ptr<SelvaneActionPanel> weak = weak_from_this();
    auto exclude = platform::MenuItem::make(pick("排除此应用", "Exclude This App"), [weak](platform::MenuItem&) {
        if (auto self = weak.lock()) self->excludeSourceApplication();
    });
    exclude->setEnabled(sourceBundleID_.has_value());
    exclude->setToolTip(sourceApplicationName_);
    menu.addItem(exclude);
}

std::string SelvaneActionPanel::formatted(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    std::string text = std::regex_replace(std::string(buffer), std::regex("0+$"), "");
    while (!text.empty() && text.front() == '.') text.erase(text.begin());
    while (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string SelvaneActionPanel::dualUnitFontSize(const std::string& size, double backingScale) {
    const std::string t = platform::Text::trimmingWhitespaceAndNewlines(size);
    std::string s = t;
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const bool pixels = s.ends_with("px");
    if (!pixels && !s.ends_with("pt")) return t;
    const std::string number = platform::Text::trimmingWhitespaceAndNewlines(s.substr(0, s.size() - 2));
    char* end = nullptr;
    const double v = number.empty() ? NAN : std::strtod(number.c_str(), &end);
    if (number.empty() || end != number.c_str() + number.size() || !std::isfinite(v) || v < 0) return t;
    const bool chinese = selvaneReadsChinese();
    if (pixels) {
        const double points = v * 0.75;
        return chinese ? formatted(v) + " px（CSS 原始） / " + formatted(points) + " pt（CSS 换算）"
                       : formatted(v) + " px (CSS original) / " + formatted(points) + " pt (CSS conversion)";
    }
    if (!std::isfinite(backingScale) || backingScale <= 0) return t;
    const double rendered = v * backingScale;
    if (!std::isfinite(rendered)) return t;
    return chinese ? formatted(v) + " pt（原始） / " + formatted(rendered) + " px（屏幕 " + formatted(backingScale) + "× 换算）"
                   : formatted(v) + " pt (original) / " + formatted(rendered) + " px (" + formatted(backingScale) +
                         "x backing scale)";
}

platform::Image SelvaneActionPanel::colorSwatch(const platform::Color& color) {
    auto image = platform::Image::withHandler({14, 14}, [color](platform::Canvas& canvas, platform::Rect) {
        canvas.setFillColor(color);
        canvas.fill(platform::Path::roundedRect({1, 1, 12, 12}, 3));
        canvas.setStrokeColor(platform::Color::system(platform::SystemColor::separator));
        canvas.setLineWidth(1);
        canvas.stroke(platform::Path::roundedRect({0.5, 0.5, 13, 13}, 3.5));
        return true;
    });
    image.setTemplate(false);
    return image;
}

void SelvaneActionPanel::copySelectedTextColor(const platform::MenuItem& item) {
    const auto* hex = item.representedObjectAs<std::string>();
    if (!hex) return;
    auto& pasteboard = platform::DesktopLink::desktop().pasteboard();
    pasteboard.clearContents();
    if (!pasteboard.setString(*hex)) return;
    clipboardChangeCount_ = pasteboard.changeCount();
    ScreenshotToast::shared().show();
}

}  // namespace tallowmere
