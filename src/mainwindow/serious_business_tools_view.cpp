#include "mainwindow/serious_business_tools_view.h"

#include "mainwindow/second_page_gradient.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "toys/scientific_decision_controller.h"

namespace tallowmere {

using platform::Color;
using platform::Font;
using platform::FontWeight;
using platform::SystemColor;

std::shared_ptr<SeriousBusinessToolsView> SeriousBusinessToolsView::make(platform::Rect frame) {
    return std::shared_ptr<SeriousBusinessToolsView>(new SeriousBusinessToolsView(frame));
}

SeriousBusinessToolsView::SeriousBusinessToolsView(platform::Rect frame) : View(frame) {
    card_ = View::make();
    auto& look = card_->mutableLayer();
    look.backgroundColor = Color::system(SystemColor::controlBackground);
    look.cornerRadius = 18;
    look.continuousCorners = true;
    applySecondPageGradient(*card_, Color::system(SystemColor::indigo).withAlphaComponent(0.22),
                            Color::system(SystemColor::blue).withAlphaComponent(0.08));

    titleLabel_ = platform::Label::make("塔洛梅科学决策机制高手");
    titleLabel_->setFont(Font::systemFont(19, FontWeight::semibold));
    descriptionLabel_ = platform::Label::makeWrapping("填写纷争人与 A–D 结果，随机裁定并生成楷体盖章证书。");
    descriptionLabel_->setFont(Font::systemFont(13));
    descriptionLabel_->setTextColor(Color::system(SystemColor::secondaryLabel));
    descriptionLabel_->setMaximumNumberOfLines(2);

    openButton_ = platform::Button::make("开始科学决策");
    openButton_->setBezelStyle(platform::BezelStyle::rounded);
    openButton_->setControlSize(platform::ControlSize::large);
    openButton_->setBezelColor(Color::system(SystemColor::blue));
    openButton_->onAction = [this](platform::Control&) { openScientificDecision(); };

    auto text = platform::StackView::makeVertical({titleLabel_, descriptionLabel_});
    text->setAlignment(platform::StackAlignment::leading);
    text->setSpacing(4);
    text->setFillsCrossAxis(*descriptionLabel_, true);
    auto outer = platform::StackView::makeVertical({text, openButton_});
    outer->setAlignment(platform::StackAlignment::leading);
    outer->setSpacing(8);
    // The texts take the card's width; the button keeps its own.
    outer->setFillsCrossAxis(*text, true);
    outer->setPlacement(platform::Placement{20.0, 20.0, 20.0, std::nullopt, std::nullopt, std::nullopt});
    card_->addSubview(outer);
    card_->setPlacement(platform::Placement::filling());
    addSubview(card_);
}

void SeriousBusinessToolsView::openScientificDecision() { ScientificDecisionController::shared().open(); }

}  // namespace tallowmere
