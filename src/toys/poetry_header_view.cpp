#include "toys/poetry_header_view.h"

#include <algorithm>

#include "localization/interface_language.h"
#include "platform/base/text.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/notification_center.h"
#include "platform/ui/animation.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/tracking_area.h"
#include "platform/ui/window.h"
#include "toys/poetry_collection.h"
#include "toys/poetry_fonts.h"
#include "toys/poetry_history_panel.h"
#include "toys/poetry_review_button.h"
#include "toys/poetry_review_record.h"
#include "toys/poetry_reviewed_seal_view.h"

namespace tallowmere {

namespace {

using namespace platform;

constexpr double arrowSide = 30;
constexpr double actionsHeight = 30;
constexpr double actionsSpacing = 8;

// The excerpt above its attribution, centred, as one block that fades.
class PoetryTextStack : public View {
public:
    PoetryTextStack(std::shared_ptr<Label> body, std::shared_ptr<Label> metadata)
        : View({}), body_(std::move(body)), metadata_(std::move(metadata)) {
        setWantsLayer(true);
        addSubview(body_);
        addSubview(metadata_);
    }

    double neededHeight(double width) {
        return lineHeight(*body_, width) + spacing + lineHeight(*metadata_, width);
    }

    void layout() override {
        const auto bounds = this->bounds();
        const double metadataHeight = lineHeight(*metadata_, bounds.width());
        const double bodyHeight = std::max(0.0, std::min(lineHeight(*body_, bounds.width()),
                                                         bounds.height() - spacing - metadataHeight));
        const double blockHeight = bodyHeight + spacing + metadataHeight;
        const double top = bounds.maxY() - std::max(0.0, (bounds.height() - blockHeight) / 2);
        body_->setFrame({bounds.minX(), top - bodyHeight, bounds.width(), bodyHeight});
        metadata_->setFrame({bounds.minX(), top - bodyHeight - spacing - metadataHeight, bounds.width(), metadataHeight});
    }

private:
    static constexpr double spacing = 2;
    static double lineHeight(Label& label, double width) {
        if (label.preferredMaxLayoutWidth() != width) label.setPreferredMaxLayoutWidth(width);
        return label.fittingSize().height;
    }
    std::shared_ptr<Label> body_;
    std::shared_ptr<Label> metadata_;
};

std::shared_ptr<Button> arrowButton(const char* symbol, const char* description) {
    auto image = symbolImage(symbol, description, SymbolConfiguration{17, FontWeight::medium});
    auto button = image ? Button::makeImageButton(*image) : Button::make();
    button->setTitle({});
    button->setImagePosition(ImagePosition::imageOnly);
    button->setContentTintColor(Color::calibratedRGB(0.82, 0.10, 0.08, 1.0));
    button->setBordered(false);
    button->setBezelStyle(BezelStyle::recessed);  // 7
    button->setWantsLayer(true);
    auto& layer = button->mutableLayer();
    layer.backgroundColor = Color::clear();
    layer.cornerRadius = 15;
    layer.continuousCorners = true;
    button->setAlphaValue(0);
    button->setHidden(true);
    button->setEnabled(false);
    return button;
}

bool hits(const std::shared_ptr<View>& view, const Event& event) {
    return view && !view->isHidden() && view->bounds().contains(view->locationInView(event));
}

}  // namespace

std::shared_ptr<PoetryHeaderView> PoetryHeaderView::make(Rect frame) {
    auto view = std::make_shared<PoetryHeaderView>(frame);
    // Callbacks hold the header weakly: they must not keep it alive.
    std::weak_ptr<PoetryHeaderView> weak = view;
    const auto call = [weak](void (PoetryHeaderView::*action)()) {
        return [weak, action](Control&) {
            if (auto header = weak.lock()) (header.get()->*action)();
        };
    };
    view->previousButton_->onAction = call(&PoetryHeaderView::showPreviousPoem);
    view->nextButton_->onAction = call(&PoetryHeaderView::showNextPoem);
    view->reviewButton_->onAction = call(&PoetryHeaderView::markCurrentPoemAsReviewed);
    view->historyButton_->onAction = call(&PoetryHeaderView::showReviewHistory);
    view->reviewedSeal_->onChangeStyle = [weak] {
        if (auto header = weak.lock()) header->changeCurrentSealStyle();
    };
    return view;
}

PoetryHeaderView::PoetryHeaderView(Rect frame)
    : View(frame),
      bodyLabel_(Label::make()),
      metadataLabel_(Label::make()),
      reviewButton_(PoetryReviewButton::make("已赏阅")),
      historyButton_(PoetryReviewButton::make("鉴赏录")),
      reviewedSeal_(PoetryReviewedSealView::make()),
      previousButton_(arrowButton("arrow.left", "上一首")),
      nextButton_(arrowButton("arrow.right", "下一首")) {
    currentIndex_ = PoetryReviewRecord::loadIndex();
    reviewedIndices_ = PoetryReviewRecord::loadReviewed();
    sealStyles_ = PoetryReviewRecord::loadSealStyles();

    bodyLabel_->setFont(PoetryFonts::kaiti(22));
    bodyLabel_->setAlignment(TextAlignment::center);
    // Each excerpt carries its own line break (at most one): the two lines
    // are kept as written, centred as one block, never re-wrapped.
    bodyLabel_->setLineBreakMode(LineBreakMode::byClipping);
    bodyLabel_->setMaximumNumberOfLines(2);
    metadataLabel_->setFont(PoetryFonts::kaiti(17));
    metadataLabel_->setAlignment(TextAlignment::center);
    metadataLabel_->setLineBreakMode(LineBreakMode::byTruncatingMiddle);
    metadataLabel_->setMaximumNumberOfLines(1);
    textStack_ = std::make_shared<PoetryTextStack>(bodyLabel_, metadataLabel_);
    applyTextColours();

    reviewButton_->setHidden(true);
    historyButton_->setHidden(true);
    reviewedSeal_->setHidden(true);

    addSubview(previousButton_);
    addSubview(textStack_);
    addSubview(nextButton_);
    addSubview(reviewedSeal_);
    addSubview(reviewButton_);
    addSubview(historyButton_);
    setToolTip("使用正文两侧按钮切换诗词");
    setCursor(CursorShape::pointingHand);
    refreshText();
}

PoetryHeaderView::~PoetryHeaderView() {
    for (auto& [view, animation] : alphaAnimations_) animation->cancel();
    if (historyPanel_) historyPanel_->close();
}

std::string PoetryHeaderView::localizedScript(const std::string& text) {
    const auto language = InterfaceLanguage::current();
    const bool traditional = language == InterfaceLanguage::traditionalChineseTaiwan ||
                             language == InterfaceLanguage::traditionalChineseHongKong ||
                             language == InterfaceLanguage::cantonese;
    auto converted = traditional ? Text::simplifiedToTraditional(text) : Text::traditionalToSimplified(text);
    return converted.empty() ? text : converted;
}

void PoetryHeaderView::refreshText() {
    const auto& entries = PoetryCollection::entries();
    if (currentIndex_ < 0 || currentIndex_ >= static_cast<int>(entries.size())) {
        bodyLabel_->setStringValue({});
        metadataLabel_->setStringValue({});
        return;
    }
    const auto& entry = entries[static_cast<std::size_t>(currentIndex_)];
    bodyLabel_->setStringValue(localizedScript(entry.excerpt));
    metadataLabel_->setStringValue("——" + localizedScript(entry.author) + "《" + localizedScript(entry.title) + "》");
    setNeedsLayout(true);
    refreshReviewState();
}

void PoetryHeaderView::showNextPoem() {
    currentIndex_ = (currentIndex_ + 1) % PoetryCollection::count;
    persistAndRefresh();
}

void PoetryHeaderView::showPreviousPoem() {
    currentIndex_ = (currentIndex_ + PoetryCollection::count - 1) % PoetryCollection::count;
    persistAndRefresh();
}

void PoetryHeaderView::persistAndRefresh() {
    PoetryReviewRecord::storeIndex(currentIndex_);
    fadeIn(textStack_, "poetryTextFade", textFadeSeconds);
    fadeIn(reviewedSeal_, "poetrySealFade", textFadeSeconds);
    refreshText();
}

// --- Review ---------------------------------------------------------------------

void PoetryHeaderView::refreshReviewState() {
    const bool reviewed = reviewedIndices_.contains(currentIndex_);
    const bool inRange = currentIndex_ >= 0 && currentIndex_ < static_cast<int>(sealStyles_.size());
    const int style = inRange ? sealStyles_[static_cast<std::size_t>(currentIndex_)] : 0;
    if (style != reviewedSeal_->styleIndex()) {
        reviewedSeal_->setStyleIndex(style);
        fadeIn(reviewedSeal_, "sealStyleFade", 0.6);
    }
    reviewedSeal_->setHidden(!reviewed);
    const int generation = ++buttonAnimationGeneration_;
    setReviewActionButton(reviewButton_, isHovering_ && !reviewed, generation);
    setReviewActionButton(historyButton_, isHovering_, generation);
}

void PoetryHeaderView::setReviewActionButton(const std::shared_ptr<Button>& button, bool visible, int generation) {
    button->setEnabled(visible);
    if (!window()) {
        if (auto running = alphaAnimations_.find(button.get()); running != alphaAnimations_.end()) {
            running->second->cancel();
            alphaAnimations_.erase(running);
        }
        button->setAlphaValue(visible ? 1 : 0);
        button->setHidden(!visible);
        return;
    }
    if (visible) {
        if (button->isHidden()) {
            button->setAlphaValue(0);
            button->setHidden(false);
        }
        animateAlpha(button, 1, reviewButtonInSeconds);
    } else if (!button->isHidden()) {
        std::weak_ptr<PoetryHeaderView> weak = std::static_pointer_cast<PoetryHeaderView>(shared_from_this());
        std::weak_ptr<Button> weakButton = button;
        animateAlpha(button, 0, reviewButtonOutSeconds, [weak, weakButton, generation] {
            auto header = weak.lock();
            auto shown = weakButton.lock();
            // A later refresh (the pointer came back) owns the button now.
            if (header && shown && header->buttonAnimationGeneration_ == generation) shown->setHidden(true);
        });
    }
}

void PoetryHeaderView::markCurrentPoemAsReviewed() {
    reviewedIndices_.insert(currentIndex_);
    PoetryReviewRecord::storeReviewed(reviewedIndices_);
    reviewedSeal_->setAlphaValue(0);
    refreshReviewState();
    animateAlpha(reviewedSeal_, 1, 0.9);
}

void PoetryHeaderView::changeCurrentSealStyle() {
    if (!reviewedIndices_.contains(currentIndex_)) return;
    if (currentIndex_ < 0 || currentIndex_ >= static_cast<int>(sealStyles_.size())) return;
    auto& style = sealStyles_[static_cast<std::size_t>(currentIndex_)];
    style = (style + 1) % 2;
    PoetryReviewRecord::storeSealStyles(sealStyles_);
    refreshReviewState();
}

void PoetryHeaderView::showReviewHistory() {
    if (historyPanel_) historyPanel_->close();
    std::weak_ptr<PoetryHeaderView> weak = std::static_pointer_cast<PoetryHeaderView>(shared_from_this());
    historyPanel_ = PoetryHistoryPanel::make(reviewedIndices_, [weak] {
        if (auto header = weak.lock()) header->closeReviewHistory();
    });
    if (auto owner = window()) {
        const auto frame = owner->frame();
        const auto size = historyPanel_->frame().size;
        historyPanel_->setFrameOrigin({frame.midX() - size.width / 2, frame.midY() - size.height / 2});
    } else {
        historyPanel_->center();
    }
    historyPanel_->makeKeyAndOrderFront();
}

void PoetryHeaderView::closeReviewHistory() {
    if (!historyPanel_) return;
    historyPanel_->close();
    historyPanel_.reset();
}

// --- Hover and clicks -------------------------------------------------------------

void PoetryHeaderView::updateTrackingAreas() {
    if (hoverTrackingArea_) removeTrackingArea(hoverTrackingArea_);
    hoverTrackingArea_ = TrackingArea::make(bounds(), TrackingOption::mouseEnteredAndExited |
                                                         TrackingOption::activeAlways | TrackingOption::inVisibleRect);
    addTrackingArea(hoverTrackingArea_);
}

void PoetryHeaderView::setArrowsShown(bool shown) {
    std::weak_ptr<PoetryHeaderView> weak = std::static_pointer_cast<PoetryHeaderView>(shared_from_this());
    for (const auto& arrow : {previousButton_, nextButton_}) {
        arrow->setEnabled(shown);
        if (shown) {
            arrow->setHidden(false);
            animateAlpha(arrow, 1, arrowsInSeconds);
        } else {
            std::weak_ptr<Button> weakArrow = arrow;
            animateAlpha(arrow, 0, arrowsOutSeconds, [weak, weakArrow] {
                auto header = weak.lock();
                auto button = weakArrow.lock();
                if (header && button && !header->isHovering_) button->setHidden(true);
            });
        }
    }
}

void PoetryHeaderView::mouseEntered(const Event&) {
    isHovering_ = true;
    setArrowsShown(true);
    AppContext::current().notificationCenter().post(hoverStateDidChangeNotification, this, {{isHoveringKey, true}});
    refreshReviewState();
}

void PoetryHeaderView::mouseExited(const Event&) {
    isHovering_ = false;
    setArrowsShown(false);
    AppContext::current().notificationCenter().post(hoverStateDidChangeNotification, this, {{isHoveringKey, false}});
    refreshReviewState();
}

void PoetryHeaderView::viewDidChangeEffectiveAppearance() {
    View::viewDidChangeEffectiveAppearance();
    applyTextColours();
}

void PoetryHeaderView::applyTextColours() {
    const bool dark = effectiveAppearance() == Appearance::dark;
    bodyLabel_->setTextColor(dark ? Color::sRGB(0.95, 0.92, 0.86) : Color::black());
    metadataLabel_->setTextColor(dark ? Color::sRGB(0.76, 0.72, 0.66) : Color::calibratedWhite(0.25, 1));
}

void PoetryHeaderView::mouseDown(const Event& event) {
    if (hits(reviewButton_, event)) {
        markCurrentPoemAsReviewed();
    } else if (hits(historyButton_, event)) {
        showReviewHistory();
    } else if (hits(reviewedSeal_, event)) {
        changeCurrentSealStyle();
    } else {
        View::mouseDown(event);
    }
}

void PoetryHeaderView::layout() {
    const auto bounds = this->bounds();
    const double top = bounds.maxY() - 2;
    const double textRoomBottom = bounds.minY() + actionsHeight + 2;
    const double actionsWidth = 74 * 2 + actionsSpacing;
    const double nextX = bounds.maxX() - arrowSide;
    const double sealX = nextX - 4 - PoetryReviewedSealView::side;
    const double textX = bounds.minX() + arrowSide + 4;
    const double textWidth = std::max(0.0, sealX - 8 - textX);
    auto* stack = static_cast<PoetryTextStack*>(textStack_.get());
    const double textHeight = std::min(stack->neededHeight(textWidth), std::max(0.0, top - textRoomBottom));
    textStack_->setFrame({textX, top - textHeight, textWidth, textHeight});
    const double centreY = top - textHeight / 2;
    previousButton_->setFrame({bounds.minX(), centreY - arrowSide / 2, arrowSide, arrowSide});
    nextButton_->setFrame({nextX, centreY - arrowSide / 2, arrowSide, arrowSide});
    reviewedSeal_->setFrame({sealX, centreY - PoetryReviewedSealView::side / 2, PoetryReviewedSealView::side,
                             PoetryReviewedSealView::side});
    const double actionsX = nextX - 4 - actionsWidth;
    reviewButton_->setFrame({actionsX, bounds.minY(), 74, actionsHeight});
    historyButton_->setFrame({actionsX + 74 + actionsSpacing, bounds.minY(), 74, actionsHeight});
}

// --- Animation ------------------------------------------------------------------------

void PoetryHeaderView::animateAlpha(const std::shared_ptr<View>& view, double to, double seconds,
                                    std::function<void()> completion) {
    if (auto running = alphaAnimations_.find(view.get()); running != alphaAnimations_.end()) {
        running->second->cancel();
        alphaAnimations_.erase(running);
    }
    const double from = view->alphaValue();
    std::weak_ptr<View> weakView = view;
    auto animation = Animation::make({seconds, TimingFunction::easeInEaseOut}, [weakView, from, to](double progress) {
        if (auto shown = weakView.lock()) shown->setAlphaValue(from + (to - from) * progress);
    });
    std::weak_ptr<PoetryHeaderView> weak = std::static_pointer_cast<PoetryHeaderView>(shared_from_this());
    const View* key = view.get();
    animation->onComplete = [weak, key, completion = std::move(completion)] {
        if (auto header = weak.lock()) header->alphaAnimations_.erase(key);
        if (completion) completion();
    };
    alphaAnimations_[key] = animation;
    animation->start();
}

void PoetryHeaderView::fadeIn(const std::shared_ptr<View>& view, const std::string& /*key*/, double seconds) {
    if (!window() || view->isHidden()) return;
    view->setAlphaValue(0);
    animateAlpha(view, 1, seconds);
}

}  // namespace tallowmere
