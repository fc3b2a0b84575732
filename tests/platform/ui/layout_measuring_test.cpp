#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/deterministic_text_measurer.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

// The deterministic measurer, counting the texts it is asked to measure.
class CountingTextMeasurer final : public TextMeasurer {
public:
    LineMetrics lineMetrics(const Font& font) const override { return measurer_.lineMetrics(font); }
    Size measure(const AttributedString& text, std::optional<double> wrapWidth = std::nullopt) const override {
        ++counts[text.text()];
        return measurer_.measure(text, wrapWidth);
    }
    using TextMeasurer::measure;

    mutable std::map<std::string, int> counts;

private:
    DeterministicTextMeasurer measurer_;
};

class LayoutMeasuringTest : public testing::TallowmereTest {
protected:
    LayoutMeasuringTest() { context().setShared<TextMeasurer>(measurer); }

    // Six levels of stacks (page, section, group, row, cell, title line),
    // with one-line and wrapping labels and every alignment the pages use.
    std::shared_ptr<StackView> makePage() {
        auto page = StackView::makeVertical();
        page->setAlignment(StackAlignment::leading);
        for (int s = 0; s < 2; ++s) {
            auto section = StackView::makeVertical({label("Section " + std::to_string(s))});
            section->setAlignment(StackAlignment::fill);
            for (int g = 0; g < 2; ++g) {
                auto group = StackView::makeVertical();
                for (int r = 0; r < 3; ++r) {
                    const std::string n = std::to_string(s) + "." + std::to_string(g) + "." + std::to_string(r);
                    auto title = StackView::makeHorizontal({label("• " + n), label("Title " + n)});
                    auto cell = StackView::makeVertical({title, wrapping("Details of row " + n + " run on")});
                    cell->setAlignment(StackAlignment::leading);
                    group->addArrangedSubview(StackView::makeHorizontal({cell, View::make(), label("Value " + n)}));
                }
                section->addArrangedSubview(group);
            }
            page->addArrangedSubview(section);
        }
        return page;
    }

    std::shared_ptr<Label> label(const std::string& text) {
        auto made = Label::make(text);
        labels[text] = made;
        return made;
    }
    std::shared_ptr<Label> wrapping(const std::string& text) {
        auto made = Label::makeWrapping(text);
        labels[text] = made;
        return made;
    }

    static void layOut(StackView& page, double width) {
        page.setFrame({0, 0, width, page.fittingHeightForWidth(width)});
        page.layoutSubtreeIfNeeded();
    }

    std::shared_ptr<CountingTextMeasurer> measurer = std::make_shared<CountingTextMeasurer>();
    std::map<std::string, std::shared_ptr<Label>> labels;
};

TEST_F(LayoutMeasuringTest, EachLabelOfADeepTreeIsMeasuredAtMostTwicePerPass) {
    auto page = makePage();
    for (double width : {400.0, 120.0}) {
        SCOPED_TRACE(width);
        for (auto& [text, view] : labels) view->invalidateIntrinsicContentSize();  // each width starts afresh
        measurer->counts.clear();
        layOut(*page, width);
        ASSERT_FALSE(measurer->counts.empty());
        for (const auto& [text, count] : measurer->counts) EXPECT_LE(count, 2) << "\"" << text << "\"";
    }
}

TEST_F(LayoutMeasuringTest, ChangingOneLabelMeasuresOnlyThatLabelAgainAndItsAncestorsFollow) {
    auto page = makePage();
    layOut(*page, 400);
    auto changed = labels.at("Value 1.0.2");
    const double widthBefore = changed->frame().width();
    const double titleBefore = labels.at("Title 1.0.2")->frame().width();

    measurer->counts.clear();
    changed->setStringValue("A much longer value 1.0.2");
    layOut(*page, 400);

    EXPECT_EQ(measurer->counts.size(), 1u) << "only the changed label is measured again";
    EXPECT_LE(measurer->counts["A much longer value 1.0.2"], 2);
    EXPECT_GT(changed->frame().width(), widthBefore + 50) << "the row and its stacks gave the longer text room";
    EXPECT_LT(labels.at("Title 1.0.2")->frame().width() + labels.at("Details of row 1.0.2 run on")->frame().width(),
              titleBefore + 400)
        << "the neighbours keep their measured sizes";
}

// What the remembered sizes must not hide: a change of content, font,
// constraints, visibility or arrangement shows in the next layout.
TEST_F(LayoutMeasuringTest, ChangesReachTheNextLayoutThroughTheRememberedSizes) {
    struct Case {
        const char* name;
        void (*change)(StackView& row, Label& label);
        bool widens;
    } cases[] = {
        {"text", [](StackView&, Label& label) { label.setStringValue("A longer text than before"); }, true},
        {"font", [](StackView&, Label& label) { label.setFont(Font::systemFont(26)); }, true},
        {"fixed width", [](StackView&, Label& label) { label.setFixedWidth(300); }, true},
        {"hidden neighbour", [](StackView& row, Label&) { row.arrangedSubviews().front()->setHidden(true); }, false},
        {"spacing", [](StackView& row, Label&) { row.setSpacing(100); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto label = Label::make("Short");
        auto row = StackView::makeHorizontal({Label::make("Left"), label});
        auto page = StackView::makeVertical({row});
        page->setAlignment(StackAlignment::leading);
        layOut(*page, 600);
        const double before = row->frame().width();
        c.change(*row, *label);
        layOut(*page, 600);
        if (c.widens) {
            EXPECT_GT(row->frame().width(), before);
        } else {
            EXPECT_LT(row->frame().width(), before);
        }
    }
}

}  // namespace
}  // namespace tallowmere::platform
