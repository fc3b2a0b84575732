#include "platform/ui/alert.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
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
    const double height = baseHeight + accessoryHeight + (showsSuppressionButton ? 24 : 0);
    auto content = window_->contentView();
    if (accessoryView && accessoryView->superview() != content) {
        content->addSubview(accessoryView);
    }
    if (accessoryView) accessoryView->setFrameOrigin({20.0, showsSuppressionButton ? 84.0 : 60.0});
    window_->setTitle(messageText);
    window_->setContentSize({alertWidth, height});
    window_->center();
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
