#pragma once

#include <memory>

#include "platform/ui/stack_view.h"

namespace tallowmere {

// A row of a settings card: an icon and a text column at the left, the
// row's controls at its right edge, all on one centre line. Where the
// controls would leave the text less room than its longest word, they go
// onto a line of their own under the text, still at the right edge, and the
// row grows, so no language's words are broken or cut.
class SettingRowView : public platform::View {
public:
    struct Gaps {
        double afterIcon = 10;
        // The least room between the text and the controls.
        double beforeControls = 16;
        // Between the text's line and the controls' line once they wrap.
        double betweenLines = 6;
    };

    static std::shared_ptr<SettingRowView> make(std::shared_ptr<platform::View> icon,
                                                std::shared_ptr<platform::StackView> text,
                                                std::shared_ptr<platform::View> controls, Gaps gaps,
                                                double minimumHeight);

    // Whether the controls sit under the text when the row is `width` wide.
    bool wrapsControls(double width) const;

    bool isFlipped() const override { return true; }
    void layout() override;

protected:
    SettingRowView(std::shared_ptr<platform::View> icon, std::shared_ptr<platform::StackView> text,
                   std::shared_ptr<platform::View> controls, Gaps gaps, double minimumHeight);

    platform::Size measureFittingSize() const override;
    double measureFittingHeightForWidth(double width) const override;

private:
    struct Frames {
        platform::Rect icon, text, controls;
        double height = 0;
    };
    // Where the parts go in a row `width` wide (y down from the top).
    Frames arrange(double width) const;
    // The width of the text's longest word, with the labels' side room.
    double narrowestTextWidth() const;

    std::shared_ptr<platform::View> icon_;
    std::shared_ptr<platform::StackView> text_;
    std::shared_ptr<platform::View> controls_;
    Gaps gaps_;
    double minimumHeight_;
};

}  // namespace tallowmere
