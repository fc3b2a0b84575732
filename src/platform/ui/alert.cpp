#include "platform/ui/alert.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "platform/desktop/screen.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

constexpr std::array<std::string_view, 16> cancelTitles{
    "Cancel", "取消", "キャンセル", "취소", "Annuler", "Abbrechen", "Cancelar", "Отмена",
    "ยกเลิก", "İptal", "Vazgeç", "إلغاء", "Скасувати", "Annulla", "Avbryt", "Cancel…"};

constexpr double alertWidth = 420;
constexpr double baseHeight = 160;
constexpr double margin = 20;
constexpr double buttonGap = 12;
constexpr double minimumButtonWidth = 82;
// A short message and informative text keep these heights, so small alerts
// all look alike; longer texts make the panel grow.
constexpr double messageHeight = 18;
constexpr double informativeHeight = 54;
constexpr double messageGap = 8;
// Widths tried, in order, when a long text would make the panel taller than
// the screen: wider lines before a cut-off text.
constexpr std::array<double, 3> widerWidths{560, 720, 880};

std::string buttonList(const std::vector<Alert::Button>& buttons) {
    std::string text = "[";
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i) text += ", ";
        text += quotedForTrace(buttons[i].title);
    }
    return text + "]";
}

}  // namespace

bool isCancelButtonTitle(const std::string& title) {
    return std::find(cancelTitles.begin(), cancelTitles.end(), title) != cancelTitles.end();
}

struct Alert::Private {};

Alert::Alert(Private) {}

std::shared_ptr<Alert> Alert::make() {
    auto alert = std::make_shared<Alert>(Private{});
    alert->window_ = Window::make<Panel>(ScreenRect{0, 0, alertWidth, baseHeight},
                                         WindowStyleMask::titled);
    alert->window_->setLevel(WindowLevel::modalPanel);
    alert->window_->setTracesOrdering(false);
    alert->window_->setHidesOnDeactivate(false);
    alert->window_->setContentView(View::make(Rect{0, 0, alertWidth, baseHeight}));
    return alert;
}

Alert::Button& Alert::addButton(std::string title) {
    Button button;
    button.response = ModalResponses::alertFirstButton + static_cast<ModalResponse>(buttons_.size());
    if (buttons_.empty()) button.keyEquivalent = "\r";
    if (isCancelButtonTitle(title)) button.keyEquivalent = "\x1b";
    button.title = std::move(title);
    buttons_.push_back(std::move(button));
    return buttons_.back();
}

namespace {

// A wide accessory (a form of fields) widens the panel rather than being cut off.
double panelWidth(const std::shared_ptr<View>& accessory) {
    return accessory ? std::max(alertWidth, accessory->frame().width() + 2 * margin) : alertWidth;
}

}  // namespace

ModalResponse Alert::cancelResponse() const {
    for (const auto& button : buttons_) {
        if (button.keyEquivalent == "\x1b") return button.response;
    }
    if (buttons_.empty()) return ModalResponses::alertFirstButton;
    return buttons_.back().response;
}

std::shared_ptr<Window> Alert::window() const { return window_; }

void Alert::prepare() {
    if (buttons_.empty()) addButton("OK");
    // The accessory view sits above the buttons; the panel grows with it.
    const double accessoryHeight = accessoryView ? accessoryView->frame().height() + 12 : 0;
    const double contentBottom = showsSuppressionButton ? 84.0 : 60.0;
    auto content = window_->contentView();
    if (accessoryView && accessoryView->superview() != content) {
        content->addSubview(accessoryView);
    }
    if (accessoryView) accessoryView->setFrameOrigin({margin, contentBottom});
    // The message is shown in the panel, as an alert's is; the title stays
    // for whoever lists windows by name.
    window_->setTitle(messageText);
    window_->titleVisibility = WindowTitleVisibility::hidden;
    placeControls(contentBottom, accessoryHeight);
    window_->center();
}

void Alert::placeControls(double contentBottom, double accessoryHeight) {
    auto content = window_->contentView();
    for (const auto& control : controls_) control->removeFromSuperview();
    controls_.clear();

    auto message = Label::makeWrapping(messageText);
    message->setFont(Font::boldSystemFont(Font::systemFontSize));
    auto informative = Label::makeWrapping(informativeText);
    informative->setFont(Font::systemFont(Font::smallSystemFontSize));

    // Both texts wrap to the panel's width and the panel is as tall as they
    // need, so a long guide is read whole rather than cut off.
    struct Fit {
        double width, messageHeight, informativeHeight, height;
    };
    auto fitAt = [&](double width) {
        const double textWidth = width - 2 * margin;
        Fit fit{width, std::max(messageHeight, message->fittingHeightForWidth(textWidth)),
                std::max(informativeHeight, informative->fittingHeightForWidth(textWidth)), 0};
        fit.height = contentBottom + accessoryHeight + fit.informativeHeight + messageGap + fit.messageHeight + margin;
        return fit;
    };
    // The buttons stand in one row, so the panel is at least as wide as it.
    std::vector<std::shared_ptr<platform::Button>> buttons;
    double buttonsWidth = 2 * margin - buttonGap;
    for (const auto& spec : buttons_) {
        auto button = platform::Button::make(spec.title);
        button->setKeyEquivalent(spec.keyEquivalent);
        const double width = std::max(minimumButtonWidth, button->intrinsicContentSize().width + 24);
        button->setFrame({0, 16, width, 28});
        button->onAction = [response = spec.response](Control&) { Application::shared().stopModal(response); };
        buttonsWidth += width + buttonGap;
        buttons.push_back(std::move(button));
    }
    Fit fit = fitAt(std::max(panelWidth(accessoryView), std::ceil(buttonsWidth)));
    if (auto screen = DesktopLink::mainScreen()) {
        const double room = screen->visibleFrame().height() - Window::titleBarHeight;
        for (double wider : widerWidths) {
            if (fit.height <= room || wider > screen->visibleFrame().width() - 2 * margin) break;
            if (wider > fit.width) fit = fitAt(wider);
        }
    }
    window_->setContentSize({fit.width, fit.height});
    const double textWidth = fit.width - 2 * margin;

    message->setFrame({margin, fit.height - margin - fit.messageHeight, textWidth, fit.messageHeight});
    controls_.push_back(message);
    informative->setFrame({margin, contentBottom + accessoryHeight, textWidth, fit.informativeHeight});
    controls_.push_back(informative);

    if (showsSuppressionButton) {
        auto box = platform::Button::makeCheckBox("Do not show this message again", isSuppressed);
        box->setFrame({margin, 58, textWidth, 20});
        std::weak_ptr<Alert> weak = shared_from_this();
        box->onAction = [weak](Control& sender) {
            if (auto alert = weak.lock()) alert->isSuppressed = static_cast<platform::Button&>(sender).isOn();
        };
        controls_.push_back(box);
    }

    // The first button on the right, the others leftwards; a click or the
    // button's key ends the session with its response.
    double right = fit.width - margin;
    for (const auto& button : buttons) {
        const double width = button->frame().width();
        button->setFrameOrigin({right - width, 16});
        right -= width + buttonGap;
        controls_.push_back(button);
    }
    for (const auto& control : controls_) content->addSubview(control);
}

ModalResponse Alert::ask(const std::string& how) {
    auto keepAlive = shared_from_this();
    auto& application = Application::shared();
    UiTrace::shared().record("alert " + how + quotedForTrace(messageText) + " " + quotedForTrace(informativeText) +
                             " " + buttonList(buttons_));
    Application::ModalSession session(application, window_);
    window_->makeKeyAndOrderFront();
    session.runPendingWork();

    std::optional<ModalResponse> answer;
    if (auto responder = application.modalResponder()) answer = responder->answerAlert(*this);
    const bool valid = answer && *answer >= ModalResponses::alertFirstButton &&
                       *answer < ModalResponses::alertFirstButton + static_cast<ModalResponse>(buttons_.size());
    if (answer && !valid) {
        UiTrace::shared().record("alert answer " + std::to_string(*answer) + " is not one of its buttons");
    }
    const ModalResponse response = valid ? *answer : cancelResponse();
    const auto& chosen = buttons_[static_cast<std::size_t>(response - ModalResponses::alertFirstButton)];
    UiTrace::shared().record(std::string(valid ? "alert answered " : "alert answered without a person ") +
                             quotedForTrace(chosen.title) + " (" + std::to_string(response) + ")");
    window_->orderOut();
    return response;
}

ModalResponse Alert::runModal() {
    prepare();
    return ask("shown ");
}

void Alert::beginSheetModal(const std::shared_ptr<Window>& parent, std::function<void(ModalResponse)> completion) {
    prepare();
    if (parent) {
        const auto frame = parent->frame();
        const auto size = window_->frame().size;
        window_->setFrameOrigin({frame.midX() - size.width / 2, frame.maxY() - Window::titleBarHeight - size.height});
    }
    const std::string how = "shown as a sheet on " + quotedForTrace(parent ? parent->title() : std::string{}) + " ";
    auto self = shared_from_this();
    AppContext::current().mainQueue().async([self, how, completion = std::move(completion)] {
        const auto response = self->ask(how);
        if (completion) completion(response);
    });
}

}  // namespace tallowmere::platform
