#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere {

namespace platform {
class Button;
class Label;
}  // namespace platform

// The second page's card for the scientific decision tool: its title, a
// line on what it does and the button that opens it. Its texts are the
// same in every interface language.
class SeriousBusinessToolsView : public platform::View {
public:
    static std::shared_ptr<SeriousBusinessToolsView> make(platform::Rect frame = {});

    // Opens (or brings forward) the decision tool's window.
    void openScientificDecision();

    std::shared_ptr<platform::View> card() const { return card_; }
    std::shared_ptr<platform::Label> titleLabel() const { return titleLabel_; }
    std::shared_ptr<platform::Label> descriptionLabel() const { return descriptionLabel_; }
    std::shared_ptr<platform::Button> openButton() const { return openButton_; }

protected:
    explicit SeriousBusinessToolsView(platform::Rect frame);

private:
    std::shared_ptr<platform::View> card_;
    std::shared_ptr<platform::Label> titleLabel_;
    std::shared_ptr<platform::Label> descriptionLabel_;
    std::shared_ptr<platform::Button> openButton_;
};

}  // namespace tallowmere
