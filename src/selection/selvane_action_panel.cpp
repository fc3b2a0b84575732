#include "selection/selvane_action_panel.h"

#include <algorithm>

#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/base/link_detector.h"
#include "platform/base/text.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/path.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/runtime/timer.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/image_view.h"
#include "screen/screenshot_controller.h"
#include "selection/clip_toolbar_glyph.h"
#include "selection/selvane_exclusions.h"
#include "selection/selvane_preferences.h"

namespace tallowmere {

using platform::Color;
using platform::Font;

namespace {

constexpr const char* unknownFontName = "无法获取";
constexpr double itemHeight = 28;
constexpr double itemSpacing = 2;
constexpr double iconSide = 26;
constexpr double moreButtonWidth = 24;

platform::Desktop& desktop() { return platform::DesktopLink::desktop(); }
platform::MainQueue& mainQueue() { return platform::AppContext::current().mainQueue(); }

std::string unavailableText() { return selvaneReadsChinese() ? unknownFontName : "Unavailable"; }

platform::AttributedString buttonTitle(const std::string& title, double white) {
    platform::TextAttributes attributes;
    attributes.font = Font::systemFont(15);
    attributes.foregroundColor = Color::calibratedWhite(white, 1);
    return platform::AttributedString(title, attributes);
}

// Three dots one above the other.
platform::Image verticalEllipsis() {
    auto image = platform::Image::withHandler({12, 18}, [](platform::Canvas& canvas, platform::Rect) {
        canvas.setFillColor(Color::black());
        for (double y : {3.0, 8.0, 13.0}) canvas.fillEllipse({5, y, 2, 2});
        return true;
    });
    image.setTemplate(true);
    return image;
}

}  // namespace

bool selvaneReadsChinese() { return ProductIdentity::isChineseReading(InterfaceLanguage::current()); }

// --- The body ------------------------------------------------------------------

std::shared_ptr<SelvaneHoverEffectView> SelvaneHoverEffectView::make(platform::Rect frame) {
    return std::shared_ptr<SelvaneHoverEffectView>(new SelvaneHoverEffectView(frame));
}

void SelvaneHoverEffectView::updateTrackingAreas() {
    if (hoverTrackingArea_) removeTrackingArea(hoverTrackingArea_);
    hoverTrackingArea_ = platform::TrackingArea::make(
        bounds(), platform::TrackingOption::mouseEnteredAndExited | platform::TrackingOption::activeAlways |
                      platform::TrackingOptions(platform::TrackingOption::inVisibleRect));
    addTrackingArea(hoverTrackingArea_);
}

void SelvaneHoverEffectView::mouseEntered(const platform::Event&) {
    if (onPointerEntered) onPointerEntered();
}

void SelvaneHoverEffectView::mouseExited(const platform::Event&) {
    if (onPointerExited) onPointerExited();
}

// --- Construction ----------------------------------------------------------------

struct SelvaneActionPanel::Private {};

std::shared_ptr<SelvaneActionPanel> SelvaneActionPanel::make(std::optional<platform::Image> applicationIcon) {
    auto bar = std::make_shared<SelvaneActionPanel>(Private{}, applicationIcon);
    bar->build(std::move(applicationIcon));
    return bar;
}

SelvaneActionPanel::SelvaneActionPanel(Private, std::optional<platform::Image>)
    : selectionFontNameDescription_(unavailableText()) {}

SelvaneActionPanel::~SelvaneActionPanel() {
    if (clipboardMonitor_) clipboardMonitor_->invalidate();
    if (autoHideWorkItem_) autoHideWorkItem_->cancel();
    if (exclusionObserver_ && platform::AppContext::hasCurrent()) {
        platform::AppContext::current().notificationCenter().removeObserver(*exclusionObserver_);
    }
}

std::shared_ptr<platform::Button> SelvaneActionPanel::makeItemButton(
    const std::string& title, platform::Image glyph, int minimum,
    std::function<void(SelvaneActionPanel&, platform::Control&)> action) {
    auto button = platform::Button::make(title);
    button->setBordered(false);
    button->setControlSize(platform::ControlSize::small);
    button->setFont(Font::systemFont(15));
    button->setAttributedTitle(buttonTitle(title, 0.18));
    button->setContentTintColor(Color::system(platform::SystemColor::blue));
    button->setImage(std::move(glyph));
    button->setImagePosition(platform::ImagePosition::imageLeading);
    button->setImageScaling(platform::ImageScaling::proportionallyDown);
    button->imageHugsTitle = true;
    button->setFixedSize({static_cast<double>(selvaneToolbarItemWidth(title, minimum)), itemHeight});
    std::weak_ptr<SelvaneActionPanel> weak = weak_from_this();
    button->onAction = [weak, action = std::move(action)](platform::Control& sender) {
        if (auto self = weak.lock()) action(*self, sender);
    };
    return button;
}

void SelvaneActionPanel::build(std::optional<platform::Image> applicationIcon) {
    using Mask = platform::WindowStyleMask;
    panel_ = platform::Window::make<platform::Panel>(platform::ScreenRect{{0, 0}, {258, 36}},
                                                     Mask{Mask::nonactivatingPanel});
    panel_->setOpaque(false);
    panel_->setBackgroundColor(Color::clear());
    panel_->setHasShadow(false);  // the body draws its own
    panel_->setLevel(platform::WindowLevel::popUpMenu);
    panel_->setCollectionBehavior(platform::WindowCollectionBehavior(0x109));
    panel_->setHidesOnDeactivate(false);
    panel_->worksWhenModal = true;
    panel_->becomesKeyOnlyIfNeeded = true;

    body_ = SelvaneHoverEffectView::make({0, 0, 318, bodyHeight});
    body_->setWantsLayer(true);
    auto& layer = body_->mutableLayer();
    layer.backgroundColor = Color::white();
    layer.borderColor = Color::white();
    layer.borderWidth = 0;
    layer.cornerRadius = 11;
    layer.continuousCorners = true;
    layer.masksToBounds = false;
    layer.shadow = platform::Shadow{{0, -1}, 4, Color::black().withAlphaComponent(0.08)};
    body_->setAutoresizingMask(platform::AutoresizingMask::widthSizable | platform::AutoresizingMask::heightSizable);

    std::weak_ptr<SelvaneActionPanel> weak = weak_from_this();
    // Hide the bar before any screenshot, so it is never in one.
    ScreenshotController::shared().onWillCapture = [weak] {
        if (auto self = weak.lock()) self->hide();
    };
    exclusionObserver_ = platform::AppContext::current().notificationCenter().addObserver(
        std::string(SelvaneExclusions::changed), nullptr, [weak](const platform::Notification&) {
            auto self = weak.lock();
            if (self && SelvaneExclusions::contains(self->sourceBundleID_)) self->hide();
        });
    body_->onPointerEntered = [weak] {
        auto self = weak.lock();
        if (!self) return;
        self->isPointerInside_ = true;
        self->cancelAutoHide();
    };
    body_->onPointerExited = [weak] {
        auto self = weak.lock();
        if (!self) return;
        self->isPointerInside_ = false;
        self->scheduleAutoHide();
    };

    actionStack_ = platform::StackView::makeHorizontal();
    actionStack_->setAlignment(platform::StackAlignment::centerY);
    actionStack_->setSpacing(itemSpacing);
    actionStack_->setDetachesHiddenViews(true);

    auto icon = platform::ImageView::make(std::move(applicationIcon));
    icon->setImageScaling(platform::ImageScaling::proportionallyUpOrDown);
    icon->setFixedSize({iconSide, iconSide});
    icon->setToolTip(selvaneReadsChinese() ? "塔洛梅百宝箱" : "Tallowmere Sparkwell");
    actionStack_->addArrangedSubview(icon);

    using Action = std::function<void(SelvaneActionPanel&, platform::Control&)>;
    for (SelvaneAction action : allSelvaneActions) {
        static const std::map<SelvaneAction, Action> handlers = {
            {SelvaneAction::cut, [](SelvaneActionPanel& bar, platform::Control&) { bar.cutSelectedText(); }},
            {SelvaneAction::copy, [](SelvaneActionPanel& bar, platform::Control&) { bar.copySelectedText(); }},
            {SelvaneAction::paste, [](SelvaneActionPanel& bar, platform::Control&) { bar.pasteSelectedText(); }},
            {SelvaneAction::search, [](SelvaneActionPanel& bar, platform::Control&) { bar.searchSelectedText(); }},
            {SelvaneAction::translate, [](SelvaneActionPanel& bar, platform::Control&) { bar.translateSelectedText(); }},
        };
        auto button = makeItemButton(title(action), ClipToolbarGlyph::image(rawValue(action)), 58, handlers.at(action));
        actionButtons_[action] = button;
        actionStack_->addArrangedSubview(button);
    }
    for (SelvaneTool tool : allSelvaneTools) {
        const std::string toolTitle(title(tool));
        platform::Image glyph = tool == SelvaneTool::fontInfo
                                    ? platform::symbolImage("textformat", toolTitle).value_or(ClipToolbarGlyph::image("fontInfo"))
                                    : ClipToolbarGlyph::image(rawValue(tool));
        Action handler = tool == SelvaneTool::colorPicker ? Action([](SelvaneActionPanel& bar, platform::Control&) { bar.openColorPicker(); })
                         : tool == SelvaneTool::screenRuler
                             ? Action([](SelvaneActionPanel& bar, platform::Control&) { bar.openScreenRuler(); })
                             : Action([](SelvaneActionPanel& bar, platform::Control& sender) { bar.showFontInfoMenu(sender); });
        const int minimum = tool == SelvaneTool::colorPicker ? 70 : tool == SelvaneTool::screenRuler ? 88 : 96;
        auto button = makeItemButton(toolTitle, glyph, minimum, handler);
        toolButtons_[tool] = button;
        actionStack_->addArrangedSubview(button);
    }

    screenshotSender_ = platform::MenuItem::make(selvaneReadsChinese() ? "截图" : "Screenshot");
    screenshotButton_ = makeItemButton(screenshotSender_->title(), ClipToolbarGlyph::image("screenshot"), 58,
                                       [](SelvaneActionPanel& bar, platform::Control&) {
                                           ScreenshotController::shared().capture(*bar.screenshotSender_);
                                       });
    screenshotButton_->setToolTip(selvaneReadsChinese() ? "框选截图并复制"
                                                        : "Capture an area, copy it to the clipboard, and save it to the Desktop.");
    actionStack_->addArrangedSubview(screenshotButton_);

    const std::string jumpTitle(std::string_view(L("跳转")));
    jumpButton_ = makeItemButton(jumpTitle, platform::symbolImage("arrow.up.right", jumpTitle).value_or(ClipToolbarGlyph::drawing("jump")), 58,
                                 [](SelvaneActionPanel& bar, platform::Control&) { bar.jumpToURL(); });
    actionStack_->addArrangedSubview(jumpButton_);
    updateJumpURL(std::nullopt);

    moreButton_ = platform::Button::make();
    moreButton_->setBordered(false);
    moreButton_->setToolTip(selvaneReadsChinese() ? "更多" : "More");
    moreButton_->setImage(verticalEllipsis());
    moreButton_->setImagePosition(platform::ImagePosition::imageOnly);
    moreButton_->setContentTintColor(Color::system(platform::SystemColor::blue));
    moreButton_->setFixedSize({moreButtonWidth, itemHeight});
    moreButton_->onAction = [weak](platform::Control& sender) {
        if (auto self = weak.lock()) self->showMoreMenu(sender);
    };
    actionStack_->addArrangedSubview(moreButton_);

    actionStack_->setPlacement(platform::Placement::centered());
    body_->addSubview(actionStack_);

    auto content = platform::View::make({0, 0, 402, bodyHeight + 2 * margin});
    body_->setFrame({margin, margin, 402 - 2 * margin, bodyHeight});
    content->addSubview(body_);
    panel_->setContentView(content);
}

// --- Showing ---------------------------------------------------------------------

int SelvaneActionPanel::barWidth() const {
    int width = 26 + 16;
    for (SelvaneAction action : SelvanePreferences::enabledActions()) width += selvaneToolbarItemWidth(title(action), 58) + 2;
    const auto tools = SelvanePreferences::enabledTools();
    for (SelvaneTool tool : tools) {
        const int minimum = tool == SelvaneTool::colorPicker ? 70 : tool == SelvaneTool::screenRuler ? 88 : 96;
        width += selvaneToolbarItemWidth(title(tool), minimum) + 2;
    }
    width += selvaneToolbarItemWidth(selvaneReadsChinese() ? "截图" : "Screenshot", 58);
    width += selvaneToolbarItemWidth(std::string_view(L("跳转")), 58);
    width += 4 + 12;
    if (std::find(tools.begin(), tools.end(), SelvaneTool::fontInfo) == tools.end()) width += 26;
    return width;
}

void SelvaneActionPanel::show(std::string text, platform::ScreenPoint near,
                              const std::shared_ptr<platform::Screen>& screen, bool isSecure,
                              std::optional<Accessibility::TextStyle> textStyle,
                              std::optional<std::string> textStyleNote) {
    auto front = desktop().frontmostApplication();
    std::optional<std::string> bundleID;
    if (front && !front->bundleIdentifier().empty()) bundleID = front->bundleIdentifier();
    if (SelvaneExclusions::contains(bundleID)) {
        hide();
        return;
    }
    sourceBundleID_ = bundleID;
    if (front) {
        sourceProcessIdentifier_ = front->processIdentifier();
        sourceFocusedElement_ = focusedElement(front->processIdentifier());
        sourceApplicationName_ = !front->name().empty() ? front->name() : bundleID.value_or("");
    } else {
        sourceProcessIdentifier_.reset();
        sourceFocusedElement_.reset();
        sourceApplicationName_ = bundleID.value_or("");
    }
    isSecureSelection_ = isSecure;
    // Text from another application may carry broken UTF-8; it is mended before any use.
    text = platform::Text::repairUtf8(text);

    if (!textStyle || textStyle->fontNameDescription == unknownFontName) {
        selectionFontNameDescription_ = unavailableText();
    } else {
        selectionFontNameDescription_ = textStyle->fontNameDescription;
    }
    selectionFontSizeDescriptions_ = textStyle ? textStyle->fontSizeDescriptions : std::vector<std::string>{};
    selectionFontWeightDescriptions_ = textStyle ? textStyle->fontWeightDescriptions : std::vector<std::string>{};
    selectionColors_ = textStyle ? textStyle->colors : std::vector<Accessibility::TextColor>{};
    selectionBackingScale_ = screen ? screen->backingScaleFactor() : 1.0;
    selectionStyleNote_ = std::move(textStyleNote);

    const auto actions = SelvanePreferences::enabledActions();
    const bool hasText = !platform::Text::trimmingWhitespaceAndNewlines(text).empty();
    for (SelvaneAction action : allSelvaneActions) {
        auto& button = actionButtons_.at(action);
        button->setHidden(std::find(actions.begin(), actions.end(), action) == actions.end());
        bool enabled = false;
        if (isSecure) {
            enabled = action == SelvaneAction::cut || action == SelvaneAction::copy || action == SelvaneAction::paste;
        } else {
            enabled = action == SelvaneAction::paste || hasText;
        }
        button->setEnabled(enabled);
        button->setAlphaValue(enabled ? 1.0 : disabledAlpha);
    }
    const auto tools = SelvanePreferences::enabledTools();
    for (SelvaneTool tool : allSelvaneTools) {
        toolButtons_.at(tool)->setHidden(std::find(tools.begin(), tools.end(), tool) == tools.end());
    }
    moreButton_->setHidden(std::find(tools.begin(), tools.end(), SelvaneTool::fontInfo) != tools.end());

    const double width = barWidth();
    panel_->setContentSize({width, bodyHeight + 2 * margin});
    // The row is exactly as wide as its visible items and their gaps.
    actionStack_->setFixedSize({width - 2 * margin - 16, itemHeight});
    body_->setFrame({margin, margin, panel_->contentView()->frame().size.width - 2 * margin, bodyHeight});
    selectedText_ = std::move(text);

    auto& pasteboard = desktop().pasteboard();
    std::optional<std::string> address;
    if (!isSecure) {
        address = webURL(selectedText_);
        if (!address) address = webURL(pasteboard.string());
    }
    updateJumpURL(address);

    clipboardChangeCount_ = pasteboard.changeCount();
    watchClipboard();

    const platform::Size size = panel_->frame().size;
    double x = near.x - size.width / 2;
    double y = near.y + 24;
    if (screen) {
        const auto visible = screen->visibleFrame();
        if (x <= visible.minX() + 8) x = visible.minX() + 8;
        if (x > visible.maxX() - size.width - 8) x = visible.maxX() - size.width - 8;
        if (y + size.height > visible.maxY() - 8) y = near.y - size.height - 24;
        if (y <= visible.minY() + 8) y = visible.minY() + 8;
        if (y > visible.maxY() - size.height - 8) y = visible.maxY() - size.height - 8;
    }
    panel_->setFrameOrigin({x, y});
    panel_->contentView()->layoutSubtreeIfNeeded();
    panel_->orderFrontRegardless();

    isPointerInside_ = panel_->frame().contains(desktop().input().mouseLocation());
    if (!isPointerInside_) scheduleAutoHide();
}

void SelvaneActionPanel::watchClipboard() {
    if (clipboardMonitor_) clipboardMonitor_->invalidate();
    std::weak_ptr<SelvaneActionPanel> weak = weak_from_this();
    clipboardMonitor_ = platform::Timer::scheduledTimer(clipboardWatchSeconds, true, [weak](platform::Timer&) {
        if (auto self = weak.lock()) self->clipboardTick();
    });
}

void SelvaneActionPanel::clipboardTick() {
    auto& pasteboard = desktop().pasteboard();
    if (pasteboard.changeCount() == clipboardChangeCount_) return;
    clipboardChangeCount_ = pasteboard.changeCount();
    updateJumpURL(isSecureSelection_ ? std::nullopt : webURL(pasteboard.string()));
}

void SelvaneActionPanel::updateJumpURL(std::optional<std::string> url) {
    jumpURL_ = std::move(url);
    jumpButton_->setEnabled(jumpURL_.has_value());
    jumpButton_->setAttributedTitle(buttonTitle("跳转", jumpURL_ ? 0.18 : 0.6));
    jumpButton_->setToolTip(jumpURL_ ? "用默认浏览器打开：" + *jumpURL_ : "复制网址后可跳转");
}

std::optional<std::string> SelvaneActionPanel::webURL(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    const std::string trimmed = platform::Text::trimmingWhitespaceAndNewlines(*text);
    if (trimmed.empty()) return std::nullopt;
    for (char c : trimmed) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f') return std::nullopt;
    }
    // Other whitespace (no-break and wide spaces) splits the text too.
    if (platform::Text::trimmingWhitespaceAndNewlines(trimmed) != trimmed ||
        trimmed.find("\xC2\xA0") != std::string::npos || trimmed.find("\xE3\x80\x80") != std::string::npos) {
        return std::nullopt;
    }
    const auto found = platform::LinkDetector::matches(trimmed);
    if (found.empty()) return std::nullopt;
    const auto& match = found.front();
    if (match.location != 0 || match.length != trimmed.size()) return std::nullopt;
    auto url = platform::Url::parse(match.url);
    if (!url) return std::nullopt;
    std::string scheme = url->scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (scheme != "http" && scheme != "https") return std::nullopt;
    if (!url->host() || url->host()->empty()) return std::nullopt;
    return match.url;
}

std::optional<platform::AXElement> SelvaneActionPanel::focusedElement(pid_t pid) {
    if (!desktop().accessibility().isProcessTrusted()) return std::nullopt;
    auto value = platform::AXElement::application(pid).attribute(platform::AXAttribute::focusedUIElement);
    if (!value || !value->asElement()) return std::nullopt;
    return *value->asElement();
}

void SelvaneActionPanel::cancelAutoHide() {
    if (autoHideWorkItem_) autoHideWorkItem_->cancel();
    autoHideWorkItem_.reset();
}

void SelvaneActionPanel::scheduleAutoHide() {
    cancelAutoHide();
    std::weak_ptr<SelvaneActionPanel> weak = weak_from_this();
    autoHideWorkItem_ = mainQueue().asyncAfter(autoHideSeconds, [weak] {
        auto self = weak.lock();
        if (self && !self->isPointerInside_) self->hide();
    });
}

void SelvaneActionPanel::resetStyle() {
    selectionFontNameDescription_ = unavailableText();
    selectionFontSizeDescriptions_.clear();
    selectionFontWeightDescriptions_.clear();
    selectionColors_.clear();
    selectionStyleNote_.reset();
}

void SelvaneActionPanel::hide() {
    cancelAutoHide();
    if (clipboardMonitor_) clipboardMonitor_->invalidate();
    clipboardMonitor_.reset();
    isPointerInside_ = false;
    panel_->orderOut();
    selectedText_.clear();
    sourceProcessIdentifier_.reset();
    sourceFocusedElement_.reset();
    resetStyle();
}

}  // namespace tallowmere
