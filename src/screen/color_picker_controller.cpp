#include "screen/color_picker_controller.h"

#include <algorithm>

#include "platform/base/property_value.h"
#include "platform/desktop/pasteboard.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image.h"
#include "platform/gfx/path.h"
#include "platform/runtime/app_context.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/alert.h"
#include "platform/ui/color_sampler.h"
#include "platform/ui/menu.h"
#include "screen/hex_color_text.h"
#include "screen/screenshot_toast.h"

namespace tallowmere {

namespace {

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

platform::Image swatch(const platform::Color& color) {
    auto image = platform::Image::withHandler({16, 16}, [color](platform::Canvas& canvas, platform::Rect) {
        const auto path = platform::Path::roundedRect({1, 1, 14, 14}, 4);
        canvas.setFillColor(color);
        canvas.fill(path);
        canvas.setStrokeColor(platform::Color::system(platform::SystemColor::separator));
        canvas.setLineWidth(0.75);
        canvas.stroke(path);
        return true;
    });
    image.setTemplate(false);
    return image;
}

}  // namespace

ColorPickerController& ColorPickerController::shared() {
    return platform::AppContext::current().shared<ColorPickerController>();
}

ColorPickerController::ColorPickerController() : sampler_(platform::ColorSampler::make()) {}

void ColorPickerController::pickFromMenu(platform::MenuItem& /*sender*/) { pick(); }

void ColorPickerController::pick() {
    if (isSampling_) return;
    isSampling_ = true;
    std::weak_ptr<ColorPickerController> weakSelf = weak_from_this();
    platform::AppContext::current().mainQueue().asyncAfter(samplerDelaySeconds, [weakSelf] {
        auto self = weakSelf.lock();
        if (!self) return;
        self->sampler_->show([weakSelf](std::optional<platform::Color> color) {
            if (auto self = weakSelf.lock()) self->sampled(color);
        });
    });
}

void ColorPickerController::sampled(const std::optional<platform::Color>& color) {
    isSampling_ = false;
    if (!color) return;  // Escape
    const auto hex = HexColorText::format(*color);
    // Kept even when the pasteboard then refuses: the colour was picked.
    record(hex);
    auto& pasteboard = platform::Pasteboard::general();
    pasteboard.clearContents();
    if (pasteboard.setString(hex)) ScreenshotToast::shared().show();
}

std::vector<std::string> ColorPickerController::history() const {
    std::vector<std::string> entries;
    const auto stored = platform::UserDefaults::standard().array(historyKey);
    if (!stored) return entries;
    for (const auto& value : *stored) {
        if (const auto* text = value.asString()) entries.push_back(*text);
    }
    return entries;
}

void ColorPickerController::record(const std::string& hex) {
    auto entries = history();
    std::erase_if(entries, [&](const std::string& entry) { return equalIgnoringCase(entry, hex); });
    entries.insert(entries.begin(), hex);
    if (entries.size() > historyLimit) entries.resize(historyLimit);
    platform::PropertyValue::Array array(entries.begin(), entries.end());
    platform::UserDefaults::standard().set(historyKey, std::move(array));
}

std::shared_ptr<platform::Menu> ColorPickerController::makeHistoryMenu() {
    // The picker's texts are fixed Chinese in every language.
    auto menu = platform::Menu::make("取色历史");
    const auto entries = history();
    if (entries.empty()) {
        menu->addItem("暂无取色记录")->setEnabled(false);
        return menu;
    }
    std::weak_ptr<ColorPickerController> weakSelf = weak_from_this();
    for (const auto& entry : entries) {
        auto item = menu->addItem(entry, [weakSelf](platform::MenuItem& sender) {
            if (auto self = weakSelf.lock()) self->copyHistoryColor(sender);
        });
        item->setRepresentedObject(entry);
        if (auto color = HexColorText::parse(entry)) item->setImage(swatch(*color));
    }
    menu->addSeparator();
    menu->addItem("清空取色历史", [weakSelf](platform::MenuItem&) {
        if (auto self = weakSelf.lock()) self->clearHistory();
    });
    return menu;
}

void ColorPickerController::copyHistoryColor(platform::MenuItem& sender) {
    const auto* hex = sender.representedObjectAs<std::string>();
    if (!hex) return;
    const std::string text = *hex;
    auto& pasteboard = platform::Pasteboard::general();
    pasteboard.clearContents();
    if (!pasteboard.setString(text)) return;
    record(text);
    ScreenshotToast::shared().show();
}

void ColorPickerController::clearHistory() {
    auto alert = platform::Alert::make();
    alert->alertStyle = platform::AlertStyle::warning;
    alert->messageText = "清空取色历史？";
    alert->informativeText = "将删除全部已保存的颜色记录。";
    alert->addButton("清空");
    alert->addButton("取消");
    if (alert->runModal() == platform::ModalResponses::alertFirstButton) {
        platform::UserDefaults::standard().removeObject(historyKey);
    }
}

}  // namespace tallowmere
