#include "toys/scientific_decision_controller.h"

#include "platform/gfx/attributed_string.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/text_field.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "toys/decision_certificate.h"

namespace tallowmere {
namespace {

using namespace platform;

constexpr const char* windowTitle = "塔洛梅科学决策机制高手";
const Color badgeRed = Color::calibratedRGB(0.73, 0.19, 0.12);

// The round letter before an outcome's field.
class LetterBadge : public View {
public:
    explicit LetterBadge(std::string letter) : View({0, 0, 24, 24}), letter_(std::move(letter)) {
        setFixedSize({24, 24});
    }
    void draw(Canvas& canvas, Rect) override {
        canvas.setFillColor(badgeRed);
        canvas.fill(Path::roundedRect(bounds(), 11, 11));
        const AttributedString text(letter_, {.font = Font::boldSystemFont(14), .foregroundColor = Color::white()});
        canvas.drawText(text, Point{bounds().midX() - 5, bounds().midY() - 8});
    }

private:
    std::string letter_;
};

std::shared_ptr<Label> label(std::string text, const Font& font, const Color& color) {
    auto made = Label::make(std::move(text));
    made->setFont(font);
    made->setTextColor(color);
    return made;
}

}  // namespace

ScientificDecisionController& ScientificDecisionController::shared() {
    return AppContext::current().shared<ScientificDecisionController>();
}

void ScientificDecisionController::open() {
    if (!window_) makeWindow();
    window_->makeKeyAndOrderFront();
    Application::shared().activate(true);
    window_->makeFirstResponder(peopleField_);
}

void ScientificDecisionController::makeWindow() {
    window_ = Window::make(ScreenRect{0, 0, 600, 620}, WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable |
                                                                       WindowStyleMask::miniaturizable});
    window_->setTitle(windowTitle);
    window_->isReleasedWhenClosed = false;
    window_->setBackgroundColor(Color::calibratedRGB(0.965, 0.945, 0.89));

    const auto fieldLabelFont = Font::boldSystemFont(14);
    const auto fieldLabelColor = Color::calibratedRGB(0.29, 0.2, 0.1);
    auto heading = label(windowTitle, Font::systemFont(27, FontWeight::bold), Color::calibratedRGB(0.29, 0.2, 0.1));
    auto subtitle = label("久议不决，就让随机机制认真裁定。", Font::systemFont(16), Color::calibratedRGB(0.48, 0.36, 0.2));

    peopleField_ = TextField::make();
    peopleField_->setFont(Font::systemFont(16));
    peopleField_->setPlaceholderString("例如：小王、小李、小张、小赵（用顿号分隔）");
    peopleField_->setFixedHeight(32);

    matterView_ = TextView::make();
    matterView_->setFont(Font::systemFont(16));
    matterView_->setTextContainerInset({10, 9});
    matterView_->setFixedHeight(86);
    matterView_->setWantsLayer(true);
    matterView_->mutableLayer().cornerRadius = 9;
    matterView_->mutableLayer().borderWidth = 1;
    matterView_->mutableLayer().borderColor = Color::calibratedRGB(0.8, 0.74, 0.62);

    auto stack = StackView::makeVertical();
    stack->setAlignment(StackAlignment::leading);
    stack->setSpacing(8);
    stack->setEdgeInsets({22, 28, 18, 28});
    const auto add = [&](std::shared_ptr<View> view, double after = 8) {
        stack->addArrangedSubview(view);
        stack->setFillsCrossAxis(*view, true);
        stack->setCustomSpacing(after, *view);
    };
    add(heading, 4);
    add(subtitle, 18);
    add(label("纷争人", fieldLabelFont, fieldLabelColor));
    add(peopleField_, 14);
    add(label("事情概述", fieldLabelFont, fieldLabelColor));
    add(matterView_, 14);
    add(label("候选结果", fieldLabelFont, fieldLabelColor));
    constexpr std::array<const char*, 4> letters{"A", "B", "C", "D"};
    constexpr std::array<const char*, 4> placeholders{"必填结果 A", "必填结果 B", "可选结果 C", "可选结果 D"};
    for (std::size_t i = 0; i < letters.size(); ++i) {
        resultFields_[i] = TextField::make();
        resultFields_[i]->setFont(Font::systemFont(15));
        resultFields_[i]->setPlaceholderString(placeholders[i]);
        resultFields_[i]->setFixedHeight(30);
        auto row = StackView::makeHorizontal({std::make_shared<LetterBadge>(letters[i]), resultFields_[i]});
        row->setAlignment(StackAlignment::centerY);
        row->setSpacing(10);
        row->setDistribution(StackDistribution::fill);
        resultFields_[i]->setContentHuggingPriority(1, LayoutAxis::horizontal);
        add(row, i + 1 == letters.size() ? 16 : 8);
    }
    resultLabel_ = label("等待科学决策……", Font::systemFont(18, FontWeight::bold), Color::calibratedRGB(0.68, 0.14, 0.1));
    add(resultLabel_, 14);

    decideButton_ = Button::make("随机决策并生成证书");
    decideButton_->setBezelColor(Color::calibratedRGB(0.78, 0.34, 0.12));
    decideButton_->onAction = [](Control&) { shared().decide(); };
    saveButton_ = Button::make("另存证书图片");
    saveButton_->setEnabled(false);
    saveButton_->onAction = [](Control&) { shared().saveAs(); };
    auto buttons = StackView::makeHorizontal({decideButton_, saveButton_});
    buttons->setSpacing(12);
    stack->addArrangedSubview(buttons);

    window_->setContentView(stack);
    window_->center();
}

void ScientificDecisionController::decide() {
    if (!window_) return;
    DecisionForm form{peopleField_->stringValue(), matterView_->string(), {}};
    for (std::size_t i = 0; i < resultFields_.size(); ++i) form.outcomes[i] = resultFields_[i]->stringValue();
    auto drawn = drawDecision(form, AppContext::current().clock().now(), randomIndex);
    if (auto* problem = std::get_if<std::string>(&drawn)) {
        showAlert("还不能开始决策", *problem);
        return;
    }
    record_ = std::get<ScientificDecisionRecord>(std::move(drawn));
    const auto image = DecisionCertificate::certificateImage(*record_);
    resultLabel_->setStringValue(decisionResultLine(*record_));
    saveButton_->setEnabled(true);
    const auto saved = DecisionCertificate::saveToDesktop(*record_, image);
    if (const auto* error = std::get_if<CertificateError>(&saved)) {
        showAlert("证书未能保存到桌面", error->localizedDescription);
    }
}

void ScientificDecisionController::saveAs() {
    if (!record_) return;
    auto panel = SavePanel::make();
    panel->title = "保存科学决策证书";
    panel->nameFieldStringValue = DecisionCertificate::certificateFileName(record_->date);
    panel->allowedFileTypes = {"png"};
    if (panel->runModal() != ModalResponses::ok || !panel->url()) return;
    if (const auto error = DecisionCertificate::save(DecisionCertificate::certificateImage(*record_), *panel->url())) {
        showAlert("证书保存失败", error->localizedDescription);
    }
}

void ScientificDecisionController::showAlert(const std::string& title, const std::string& message) {
    auto alert = Alert::make();
    alert->messageText = title;
    alert->informativeText = message;
    alert->addButton("好");
    (void)alert->runModal();
}

}  // namespace tallowmere
