#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/view.h"

namespace tallowmere {

namespace platform {
class Animation;
class Button;
class Label;
class Panel;
class TrackingArea;
}  // namespace platform

class PoetryReviewButton;
class PoetryReviewedSealView;

// The main window's header: one classical poem excerpt at a time with its
// attribution, arrows to step through the 365 (shown only while the pointer
// is over the header), and the appreciation seal with its two actions
// ("已赏阅" marks the poem, "鉴赏录" lists the marked ones). The position,
// the marked poems and each poem's seal style are kept in the preferences.
class PoetryHeaderView : public platform::View {
public:
    static constexpr const char* hoverStateDidChangeNotification = "poetryHeaderHoverStateDidChange";
    static constexpr const char* isHoveringKey = "isHovering";
    static constexpr double arrowsInSeconds = 0.45;
    static constexpr double arrowsOutSeconds = 0.3;
    static constexpr double reviewButtonInSeconds = 0.85;
    static constexpr double reviewButtonOutSeconds = 0.7;
    static constexpr double textFadeSeconds = 0.9;

    static std::shared_ptr<PoetryHeaderView> make(platform::Rect frame);
    explicit PoetryHeaderView(platform::Rect frame);
    ~PoetryHeaderView() override;

    // Texts in the script of the interface language: Traditional for Taiwan,
    // Hong Kong and Cantonese, Simplified for every other language.
    static std::string localizedScript(const std::string& text);

    void showPreviousPoem();
    void showNextPoem();
    // Shows the entry at the current index (empty labels outside 0...364).
    void refreshText();

    // Marks the shown poem, stamps its seal and stores the marked set.
    void markCurrentPoemAsReviewed();
    // Toggles the shown poem's seal style; only for a marked poem.
    void changeCurrentSealStyle();
    // The "鉴赏录" panel, centred on the header's window.
    void showReviewHistory();
    void closeReviewHistory();

    // --- State ------------------------------------------------------------------
    int currentIndex() const { return currentIndex_; }
    bool isHovering() const { return isHovering_; }
    const std::set<int>& reviewedIndices() const { return reviewedIndices_; }
    const std::vector<int>& sealStyles() const { return sealStyles_; }
    int buttonAnimationGeneration() const { return buttonAnimationGeneration_; }

    // --- What is shown --------------------------------------------------------------
    std::shared_ptr<platform::Label> bodyLabel() const { return bodyLabel_; }
    std::shared_ptr<platform::Label> metadataLabel() const { return metadataLabel_; }
    std::shared_ptr<platform::Button> previousButton() const { return previousButton_; }
    std::shared_ptr<platform::Button> nextButton() const { return nextButton_; }
    std::shared_ptr<PoetryReviewButton> reviewButton() const { return reviewButton_; }
    std::shared_ptr<PoetryReviewButton> historyButton() const { return historyButton_; }
    std::shared_ptr<PoetryReviewedSealView> reviewedSeal() const { return reviewedSeal_; }
    std::shared_ptr<platform::Panel> historyPanel() const { return historyPanel_; }

    // --- View -------------------------------------------------------------------------
    void layout() override;
    void updateTrackingAreas() override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;
    void mouseDown(const platform::Event& event) override;
    void viewDidChangeEffectiveAppearance() override;

private:
    // Ink on the light card; on the dark card a warm paper white, so the
    // poem reads as well as in light mode.
    void applyTextColours();
    void persistAndRefresh();
    void refreshReviewState();
    void setReviewActionButton(const std::shared_ptr<platform::Button>& button, bool visible, int generation);
    void setArrowsShown(bool shown);
    // Fades `view` in from clear over `seconds` (a cross-fade of its new
    // content), replacing a fade under the same key still running.
    void fadeIn(const std::shared_ptr<platform::View>& view, const std::string& key, double seconds);
    // Animates the view's alpha; the completion runs only if not replaced.
    void animateAlpha(const std::shared_ptr<platform::View>& view, double to, double seconds,
                      std::function<void()> completion = {});

    std::shared_ptr<platform::Label> bodyLabel_;
    std::shared_ptr<platform::Label> metadataLabel_;
    std::shared_ptr<platform::View> textStack_;
    std::shared_ptr<PoetryReviewButton> reviewButton_;
    std::shared_ptr<PoetryReviewButton> historyButton_;
    std::shared_ptr<PoetryReviewedSealView> reviewedSeal_;
    std::shared_ptr<platform::Button> previousButton_;
    std::shared_ptr<platform::Button> nextButton_;

    int currentIndex_ = 0;
    std::set<int> reviewedIndices_;
    std::vector<int> sealStyles_;
    bool isHovering_ = false;
    std::shared_ptr<platform::TrackingArea> hoverTrackingArea_;
    std::shared_ptr<platform::Panel> historyPanel_;
    int buttonAnimationGeneration_ = 0;
    // Running alpha animations, by the view they move.
    std::map<const platform::View*, std::shared_ptr<platform::Animation>> alphaAnimations_;
};

}  // namespace tallowmere
