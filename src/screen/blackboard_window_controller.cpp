#include "screen/blackboard_window_controller.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <random>

#include "localization/interface_language.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/font_library.h"
#include "platform/gfx/text_measurer.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/timer.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/color_well.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/system_beep.h"
#include "screen/blackboard_sign_fitting.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr double editorWidth = 600;
constexpr double editorHeight = 360;
constexpr double smallestSize = 8;
constexpr double largestSize = 200;
constexpr double defaultSize = 96;
// The sign keeps this much of the screen free around its text.
constexpr double signMargin = 100;
constexpr const char* gradientName = "blackboard.gradient";

UserDefaults& defaults() { return UserDefaults::standard(); }

std::shared_ptr<Label> label(const std::string& text, Rect frame, const Font& font = Font::systemFont(13)) {
    auto made = Label::make(text);
    made->setFrame(frame);
    made->setFont(font);
    return made;
}

// The stored size held to the sizes the sign takes.
double storedSize() {
    const double size = defaults().real(BlackboardWindowController::sizeKey);
    if (!std::isfinite(size) || size < smallestSize) return defaultSize;
    return std::min(size, largestSize);
}

std::optional<double> parseNumber(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A uniform number in [low, high], both ends possible.
BlackboardWindowController::RandomSource defaultRandomSource() {
    auto engine = std::make_shared<std::mt19937_64>(std::random_device{}());
    return [engine](double low, double high) {
        return std::uniform_real_distribution<double>(low, std::nextafter(high, high + 1))(*engine);
    };
}

}  // namespace

// --- CenteredBlackboardTextView -----------------------------------------------------

std::shared_ptr<CenteredBlackboardTextView> CenteredBlackboardTextView::make(Rect frame) {
    return std::shared_ptr<CenteredBlackboardTextView>(new CenteredBlackboardTextView(frame));
}

void CenteredBlackboardTextView::refreshVerticalCenter() {
    if (isUpdatingCenter_) return;
    isUpdatingCenter_ = true;
    const double used = usedTextSize().height;
    auto scroll = std::dynamic_pointer_cast<ScrollView>(superview() ? superview()->superview() : nullptr);
    const double visible = scroll ? scroll->contentSize().height : bounds().height();
    const double inset = std::max(std::floor((visible - used) * 0.5), 12.0);
    const Size current = textContainerInset();
    if (std::abs(current.height - inset) > 0.5) setTextContainerInset({current.width, inset});
    isUpdatingCenter_ = false;
}

// --- BlackboardDisplayPanel ------------------------------------------------------------

void BlackboardDisplayPanel::keyDown(const Event& event) {
    if (event.keyCode == KeyCode::escape) {
        if (onExit) onExit();
        return;
    }
    Panel::keyDown(event);
}

// --- The controller -----------------------------------------------------------------------

BlackboardWindowController& BlackboardWindowController::shared() {
    return AppContext::current().shared<BlackboardWindowController>();
}

BlackboardWindowController::BlackboardWindowController() : random_(defaultRandomSource()) {
    stylePresets_ = {
        {"粉笔", "Kaiti SC", Color::sRGB(0.075, 0.245, 0.18), Color::sRGB(0.96, 0.93, 0.81), false},
        {"深海", "PingFang SC", Color::sRGB(0.035, 0.12, 0.33), Color::sRGB(1, 1, 1), false},
        {"暖纸", "Songti SC", Color::sRGB(0.95, 0.88, 0.68), Color::sRGB(0.27, 0.15, 0.07), false},
        {"朱砂", "Kaiti SC", Color::sRGB(0.58, 0.075, 0.08), Color::sRGB(1.0, 0.94, 0.78), false},
        {std::string(L("楷体纸色")), "Kaiti SC", Color::sRGB(0.95, 0.925, 0.84), Color::sRGB(0.055, 0.17, 0.22), false},
    };
    buildEditor();
}

std::string BlackboardWindowController::resolvedPresetFamily(const std::string& name) {
    const std::string first = name == "徽宗瘦金体" ? "Kaiti SC" : name;
    for (const std::string& candidate : {first, std::string("Kaiti SC"), std::string("STKaiti"), std::string(defaultFamily)}) {
        if (auto font = Font::named(candidate, 20)) return font->familyName().empty() ? font->name() : font->familyName();
    }
    const Font system = Font::systemFont(20);
    return system.familyName().empty() ? system.name() : system.familyName();
}

std::string BlackboardWindowController::selectedFamily() const {
    const std::string title = fontPicker_->titleOfSelectedItem();
    return title.empty() ? std::string(defaultFamily) : title;
}

std::shared_ptr<Button> BlackboardWindowController::makeStyleButton(int index) {
    const StylePreset& style = stylePresets_[static_cast<std::size_t>(index)];
    auto button = Button::make(style.title);
    button->setTag(index);
    button->setBordered(false);
    button->setWantsLayer(true);
    auto& layer = button->mutableLayer();
    layer.cornerRadius = 7;
    layer.continuousCorners = true;
    layer.backgroundColor = style.background;
    const Font font = Font::named(resolvedPresetFamily(style.family), 11).value_or(Font::systemFont(11, FontWeight::medium));
    button->setAttributedTitle(AttributedString(style.title, TextAttributes{.font = font, .foregroundColor = style.text}));
    const double width = style.dynamic ? 76 : Text::graphemeCount(style.title) < 3 ? 48 : 64;
    button->setFrameSize({width, 26});
    button->onAction = [this](Control& sender) { applyStylePreset(sender.tag()); };
    return button;
}

void BlackboardWindowController::buildEditor() {
    window_ = Window::make(ScreenRect{0, 0, editorWidth, editorHeight},
                           WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable});
    window_->setTitle("自定义小黑板");
    window_->isReleasedWhenClosed = false;
    auto content = View::make({0, 0, editorWidth, editorHeight});

    content->addSubview(label("输入要全屏展示的文字", {24, 320, 400, 20}, Font::systemFont(15, FontWeight::medium)));

    auto scroll = ScrollView::make({24, 128, 552, 180});
    scroll->setBorderType(BorderType::bezel);
    scroll->hasVerticalScroller = true;
    editor_ = CenteredBlackboardTextView::make({0, 0, 552, 180});
    editor_->setAutoresizingMask(AutoresizingMask::widthSizable);
    editor_->isRichText = false;
    editor_->allowsUndo = true;
    editor_->setTextContainerInset({12, 12});
    editor_->setAlignment(TextAlignment::center);
    editor_->setFont(Font::systemFont(20));
    editor_->setString(defaults().string(textKey).value_or(""));
    editor_->setAccessibilityLabel("小黑板文字");
    editor_->onTextDidChange = [](TextView& view) { static_cast<CenteredBlackboardTextView&>(view).refreshVerticalCenter(); };
    scroll->setDocumentView(editor_);
    content->addSubview(scroll);

    backgroundColorWell_ = ColorWell::make(savedColor(backgroundColorKey, Color::black()));
    backgroundColorWell_->setAccessibilityLabel("黑板颜色");
    backgroundColorWell_->onAction = [this](Control&) { changeBackgroundColor(); };
    textColorWell_ = ColorWell::make(savedColor(textColorKey, Color::white()));
    textColorWell_->setAccessibilityLabel("字体颜色");
    textColorWell_->onAction = [this](Control&) { changeTextColor(); };
    updateEditorColors();
    std::weak_ptr<CenteredBlackboardTextView> weakEditor = editor_;
    AppContext::current().mainQueue().async([weakEditor] {
        if (auto editor = weakEditor.lock()) editor->refreshVerticalCenter();
    });

    fontPicker_ = PopUpButton::make();
    fontPicker_->addItems(FontLibrary::shared().familyNames());
    const std::string family = resolvedPresetFamily(defaults().string(fontKey).value_or(defaultFamily));
    if (!fontPicker_->indexOfItem(family)) fontPicker_->addItem(family);
    fontPicker_->selectItemWithTitle(family);
    fontPicker_->setAccessibilityLabel("展示字体");
    fontPicker_->onAction = [this](Control&) { changeFont(); };
    updateEditorFont();

    sizePicker_ = ComboBox::make({"48", "64", "80", "96", "120", "160", "200"});
    sizePicker_->setStringValue(std::to_string(static_cast<int>(storedSize())));
    sizePicker_->setAccessibilityLabel("展示字号");

    // The row of fields, left to right with 8 pt between them.
    double x = 24;
    const double fieldsY = 86;
    const std::vector<std::pair<std::shared_ptr<View>, double>> fields = {
        {label("字体", {}), 28},          {fontPicker_, 140},        {label("字号", {}), 28},
        {sizePicker_, 72},                {label("黑板颜色", {}), 56}, {backgroundColorWell_, 44},
        {label("字体颜色", {}), 56},       {textColorWell_, 44}};
    for (const auto& [view, width] : fields) {
        const double height = view == backgroundColorWell_ || view == textColorWell_ ? 26 : 24;
        view->setFrame({x, fieldsY + (26 - height) / 2, width, height});
        content->addSubview(view);
        x += width + 8;
    }

    // Buttons at the bottom right; the styles at the left, on their centre line.
    auto cancel = Button::make("取消");
    cancel->setBezelStyle(BezelStyle::push);
    cancel->setKeyEquivalent("\x1b");
    cancel->setFrame({398, 20, 72, 28});
    cancel->onAction = [this](Control&) { closeEditor(); };
    auto show = Button::make("全屏展示");
    show->setBezelStyle(BezelStyle::push);
    show->setFrame({480, 20, 96, 28});
    show->onAction = [this](Control&) { showCustom(); };
    content->addSubview(cancel);
    content->addSubview(show);

    x = 24;
    auto palette = label("配色", {x, 25, 28, 18}, Font::systemFont(12, FontWeight::medium));
    content->addSubview(palette);
    x += 28 + 5;
    for (int i = 0; i < static_cast<int>(stylePresets_.size()); ++i) {
        auto button = makeStyleButton(i);
        button->setFrameOrigin({x, 21});
        x += button->frame().width() + 5;
        content->addSubview(button);
    }
    dynamicGradientCheckbox_ = Button::makeCheckBox("随机渐变动态");
    dynamicGradientCheckbox_->setFont(Font::systemFont(11, FontWeight::medium));
    dynamicGradientCheckbox_->setAccessibilityLabel("所有屏幕使用相同的随机动态渐变");
    dynamicGradientEnabled_ = defaults().boolean(dynamicGradientKey);
    dynamicGradientCheckbox_->setState(dynamicGradientEnabled_ ? ControlState::on : ControlState::off);
    dynamicGradientCheckbox_->onAction = [this](Control&) { toggleDynamicGradient(); };
    dynamicGradientCheckbox_->setFrame({x, 24, std::max(398.0 - 12 - x, 0.0), 20});
    content->addSubview(dynamicGradientCheckbox_);

    window_->setContentView(content);
    window_->center();
}

// --- Preferences --------------------------------------------------------------------------

Color BlackboardWindowController::savedColor(const std::string& key, const Color& fallback) const {
    const auto stored = defaults().string(key);
    if (!stored) return fallback;
    std::vector<double> numbers;
    std::string_view rest = *stored;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view piece = rest.substr(0, comma);
        if (!piece.empty()) {
            if (auto number = parseNumber(piece)) numbers.push_back(*number);
        }
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    if (numbers.size() != 4) return fallback;
    return Color::sRGB(numbers[0], numbers[1], numbers[2], numbers[3]);
}

void BlackboardWindowController::saveColor(const Color& color, const std::string& key) const {
    const RGBA rgba = color.resolved().rgba();
    std::string text;
    for (double component : {rgba.red, rgba.green, rgba.blue, rgba.alpha}) {
        char buffer[32];
        auto end = std::to_chars(buffer, buffer + sizeof buffer, component, std::chars_format::fixed, 5).ptr;
        if (!text.empty()) text += ",";
        text.append(buffer, end);
    }
    defaults().set(key, text);
}

// --- Editor actions -------------------------------------------------------------------------

void BlackboardWindowController::openFromMenu(MenuItem&) {
    dismissDisplay();
    window_->makeKeyAndOrderFront();
    Application::shared().activate(true);
    window_->makeFirstResponder(editor_);
}

void BlackboardWindowController::showPresetFromMenu(MenuItem& sender) {
    const auto index = static_cast<unsigned>(sender.tag());
    if (index >= presetTexts.size()) return;
    auto screen = screenAtPointer();
    if (!screen) return;
    window_->orderOut();
    present(std::string(presetTexts[index]), defaultFamily, defaultSize, Color::black(), Color::white(), false, screen);
}

void BlackboardWindowController::closeEditor() { window_->orderOut(); }

void BlackboardWindowController::showCustom() {
    const std::string text = editor_->string();
    if (Text::trimmingWhitespaceAndNewlines(text).empty()) {
        window_->makeFirstResponder(editor_);
        systemBeep();
        return;
    }
    const auto size = parseNumber(Text::trimmingWhitespaceAndNewlines(sizePicker_->stringValue()));
    if (!size || !std::isfinite(*size) || *size < smallestSize || *size > largestSize) {
        window_->makeFirstResponder(sizePicker_);
        systemBeep();
        return;
    }
    auto screen = window_->screen();
    if (!screen) screen = screenAtPointer();
    if (!screen) return;
    const std::string family = selectedFamily();
    defaults().set(textKey, text);
    defaults().set(fontKey, family);
    defaults().set(sizeKey, *size);
    saveColor(backgroundColorWell_->color(), backgroundColorKey);
    saveColor(textColorWell_->color(), textColorKey);
    window_->orderOut();
    present(text, family, *size, backgroundColorWell_->color(), textColorWell_->color(), dynamicGradientEnabled_, screen);
}

void BlackboardWindowController::applyStylePreset(int tag) {
    if (tag < 0 || tag >= static_cast<int>(stylePresets_.size())) return;
    const StylePreset& style = stylePresets_[static_cast<std::size_t>(tag)];
    const std::string family = resolvedPresetFamily(style.family);
    if (!fontPicker_->indexOfItem(family)) fontPicker_->addItem(family);
    dynamicGradientEnabled_ = style.dynamic;
    defaults().set(dynamicGradientKey, style.dynamic);
    dynamicGradientCheckbox_->setState(style.dynamic ? ControlState::on : ControlState::off);
    backgroundColorWell_->setColor(style.background);
    textColorWell_->setColor(style.text);
    fontPicker_->selectItemWithTitle(family);
    saveColor(style.background, backgroundColorKey);
    saveColor(style.text, textColorKey);
    defaults().set(fontKey, selectedFamily());
    updateEditorFont();
    updateEditorColors();
}

void BlackboardWindowController::changeFont() {
    defaults().set(fontKey, selectedFamily());
    updateEditorFont();
}

void BlackboardWindowController::changeBackgroundColor() {
    // A board colour chosen by hand is a plain board.
    dynamicGradientEnabled_ = false;
    defaults().set(dynamicGradientKey, false);
    dynamicGradientCheckbox_->setState(ControlState::off);
    saveColor(backgroundColorWell_->color(), backgroundColorKey);
    updateEditorColors();
}

void BlackboardWindowController::changeTextColor() {
    saveColor(textColorWell_->color(), textColorKey);
    updateEditorColors();
}

void BlackboardWindowController::toggleDynamicGradient() {
    dynamicGradientEnabled_ = dynamicGradientCheckbox_->state() == ControlState::on;
    defaults().set(dynamicGradientKey, dynamicGradientEnabled_);
    // Any text colour but white is lost on a changing gradient.
    if (dynamicGradientEnabled_) {
        textColorWell_->setColor(Color::white());
        saveColor(Color::white(), textColorKey);
        updateEditorColors();
    }
}

void BlackboardWindowController::updateEditorFont() {
    const Font font = Font::named(selectedFamily(), 20).value_or(Font::systemFont(20));
    editor_->setFont(font);
    editor_->refreshVerticalCenter();
}

void BlackboardWindowController::updateEditorColors() {
    editor_->setBackgroundColor(backgroundColorWell_->color());
    editor_->setTextColor(textColorWell_->color());
}

// --- The sign ---------------------------------------------------------------------------------

std::shared_ptr<Screen> BlackboardWindowController::screenAtPointer() {
    auto& desktop = DesktopLink::desktop();
    if (auto screen = desktop.screens().screenContaining(desktop.input().mouseLocation())) return screen;
    return desktop.screens().mainScreen();
}

void BlackboardWindowController::present(const std::string& text, const std::string& family, double size,
                                         const Color& backgroundColor, const Color& textColor, bool dynamicGradient,
                                         const std::shared_ptr<Screen>& screen) {
    dismissDisplay();
    auto screens = DesktopLink::desktop().screens().screens();
    if (screens.empty() && screen) screens.push_back(screen);
    std::vector<std::vector<Color>> frames;
    if (dynamicGradient) {
        for (int i = 0; i < gradientFrameCount; ++i) {
            std::vector<Color> colors;
            for (int j = 0; j < 3; ++j) {
                const double hue = random_(0, 1), saturation = random_(0.68, 0.92), brightness = random_(0.34, 0.58);
                colors.push_back(Color::hsb(hue, saturation, brightness));
            }
            frames.push_back(std::move(colors));
        }
    }
    // One start for every screen, a moment ahead, so all run in step.
    const double startTime = AppContext::current().clock().uptime() + 0.12;
    fittedSizes_.clear();
    for (const auto& each : screens) {
        displayPanels_.push_back(
            makeDisplay(text, family, size, backgroundColor, textColor, dynamicGradient, frames, startTime, each));
    }
    std::weak_ptr<BlackboardWindowController> weak = weak_from_this();
    escapeMonitor_ = EventMonitors::shared().addLocalMonitor(eventMask(EventType::keyDown),
                                                             [weak](const Event& event) -> std::optional<Event> {
                                                                 if (event.keyCode != KeyCode::escape) return event;
                                                                 if (auto self = weak.lock()) self->dismissDisplay();
                                                                 return std::nullopt;
                                                             });
    if (dynamicGradient) {
        redrawTimer_ = Timer::scheduledTimer(1.0 / 30, true, [weak](Timer&) {
            auto self = weak.lock();
            if (!self) return;
            for (const auto& panel : self->displayPanels_) {
                if (auto content = panel->contentView()) content->setNeedsDisplay();
            }
        });
    }
    Application::shared().activate(true);
    for (const auto& panel : displayPanels_) panel->orderFrontRegardless();
    if (displayPanels_.empty()) return;
    auto key = displayPanels_.front();
    for (const auto& panel : displayPanels_) {
        if (screen && panel->frame() == screen->frame()) {
            key = panel;
            break;
        }
    }
    key->makeKeyAndOrderFront();
    key->makeFirstResponder(nullptr);
}

std::shared_ptr<BlackboardDisplayPanel> BlackboardWindowController::makeDisplay(
    const std::string& text, const std::string& family, double size, const Color& backgroundColor,
    const Color& textColor, bool dynamicGradient, const std::vector<std::vector<Color>>& gradientFrames,
    double gradientStartTime, const std::shared_ptr<Screen>& screen) {
    const ScreenRect frame = screen->frame();
    auto panel = Window::make<BlackboardDisplayPanel>(ScreenRect{0, 0, frame.width(), frame.height()},
                                                      WindowStyleMask{WindowStyleMask::borderless});
    panel->setBackgroundColor(backgroundColor);
    panel->setOpaque(true);
    panel->setHasShadow(false);
    panel->setHidesOnDeactivate(false);
    panel->isReleasedWhenClosed = false;
    panel->setLevel(signLevel);
    panel->setCollectionBehavior(signCollectionBehavior);
    std::weak_ptr<BlackboardWindowController> weak = weak_from_this();
    panel->onExit = [weak] {
        if (auto self = weak.lock()) self->dismissDisplay();
    };

    auto background = View::make({0, 0, frame.width(), frame.height()});
    background->setWantsLayer(true);
    if (dynamicGradient) {
        LayerGradient gradient;
        gradient.name = gradientName;
        gradient.startPoint = {0, 0};
        gradient.endPoint = {1, 1};
        if (!gradientFrames.empty()) gradient.colors = gradientFrames.front();
        gradient.addAnimation({.key = "blackboard.randomGradient",
                               .keyPath = LayerKeyframeAnimation::KeyPath::colors,
                               .colorValues = gradientFrames,
                               .duration = 24,
                               .repeatsForever = true,
                               .beginTime = gradientStartTime,
                               .fillsBackwards = true});
        gradient.addAnimation({.key = "blackboard.gradientDirection",
                               .keyPath = LayerKeyframeAnimation::KeyPath::startPoint,
                               .pointValues = {{0, 0}, {0.85, 0.1}, {0.15, 0.9}, {0, 0}},
                               .duration = 18,
                               .repeatsForever = true,
                               .beginTime = gradientStartTime,
                               .fillsBackwards = true});
        background->mutableLayer().insertGradientAtBottom(std::move(gradient));
    } else {
        background->mutableLayer().backgroundColor = backgroundColor;
    }

    const Size box{std::max(frame.width() - signMargin, 1.0), std::max(frame.height() - signMargin, 1.0)};
    const double fitted = fittedBlackboardFontSize(text, family, size, box, TextMeasurer::shared());
    fittedSizes_.push_back(fitted);
    auto sign = Label::makeWrapping(text);
    sign->setTextColor(textColor);
    sign->setAlignment(TextAlignment::center);
    sign->setMaximumNumberOfLines(0);
    sign->setLineBreakMode(LineBreakMode::byWordWrapping);
    sign->setFont(blackboardSignFont(family, fitted));
    sign->setPreferredMaxLayoutWidth(box.width);
    // The platform draws wrapped lines from their left edge, so the label
    // is as wide as its longest line and centred as a block.
    const Size measured = TextMeasurer::shared().measure(text, blackboardSignFont(family, fitted), box.width);
    const double width = std::min(std::ceil(measured.width) + 1, box.width);
    const double height = sign->fittingHeightForWidth(width);
    sign->setFrame({(frame.width() - width) / 2, (frame.height() - height) / 2, width, height});
    background->addSubview(sign);

    panel->setContentView(background);
    panel->setFrame(frame, false);
    return panel;
}

void BlackboardWindowController::dismissDisplay() {
    if (redrawTimer_) redrawTimer_->invalidate();
    redrawTimer_.reset();
    if (escapeMonitor_) EventMonitors::shared().removeMonitor(*escapeMonitor_);
    escapeMonitor_.reset();
    for (const auto& panel : displayPanels_) panel->orderOut();
    displayPanels_.clear();
}

}  // namespace tallowmere
