#include <gtest/gtest.h>

#include "main_window_fixture.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/ui/alert.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/text_field.h"

namespace tallowmere {
namespace {

using platform::Color;
using platform::Label;
using platform::StackView;
using platform::View;

class CardBuildersTest : public testing::MainWindowTest {
protected:
    // The card's content stack: its header row (if any), then the views.
    std::shared_ptr<StackView> contentOf(const View& card) {
        return std::dynamic_pointer_cast<StackView>(card.subviews().front());
    }
};

TEST_F(CardBuildersTest, AHeaderRowNeedsATitleOrAHeaderControl) {
    auto body = View::make();
    auto accessory = View::make();
    auto control = View::make();
    struct Case {
        const char* what;
        std::string title;
        std::shared_ptr<View> headerControl, accessory;
        std::size_t arranged;
    } cases[] = {
        {"title only", "卡片", nullptr, nullptr, 2},
        {"no title, no control", "", nullptr, nullptr, 1},
        {"no title, a control", "", control, nullptr, 2},
        {"no title, an accessory only: not shown", "", nullptr, accessory, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto card = controller().makeCard(c.title, {body}, c.headerControl, c.accessory);
        auto content = contentOf(*card);
        ASSERT_TRUE(content);
        EXPECT_EQ(content->arrangedSubviews().size(), c.arranged);
        EXPECT_EQ(content->arrangedSubviews().back(), body);
    }

    auto card = controller().makeCard("", {body});
    card->setFrame({0, 0, 300, 200});
    card->layoutSubtreeIfNeeded();
    EXPECT_EQ(body->convert(body->bounds(), card.get()).maxY(), 200 - 12) << "the first view starts at the top inset";
}

TEST_F(CardBuildersTest, RowsAreThirtyFourHighWithoutADetailAndFortyFourWithOne) {
    struct Case {
        std::string detail;
        std::optional<double> height;
        double expected;
    } cases[] = {{"", std::nullopt, 34}, {"说明", std::nullopt, 44}, {"说明", 80.0, 80}, {"", 60.0, 60}};
    for (const auto& c : cases) {
        auto row = controller().makeSettingRow("power", "标题", c.detail, View::make(), c.height);
        EXPECT_EQ(row->fittingSize().height, c.expected) << c.detail;
    }
}

TEST_F(CardBuildersTest, ARowPutsItsControlUnderTheTextWhenBesideItAWordWouldBreak) {
    struct Case {
        const char* what;
        double controlWidth;
        bool under;
    } cases[] = {
        {"a small control: beside the text", 100, false},
        {"the text wraps, its longest word still fits: beside", 300, false},
        {"not even the longest word fits beside: under", 420, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto control = View::make();
        control->setFixedSize({c.controlWidth, 22});
        auto row = controller().makeSettingRow("power", "Recommended: turn off a system setting", "", control);
        row->setFrame({0, 0, 464, row->fittingHeightForWidth(464)});
        row->layoutSubtreeIfNeeded();
        const auto text = row->subviews()[1]->frame();
        EXPECT_EQ(control->frame().maxX(), 464) << "the control keeps to the right edge";
        if (c.under) {
            EXPECT_GE(control->frame().minY(), text.maxY()) << "the control sits under the text (the row is flipped)";
            EXPECT_GT(row->frame().height(), 34);
        } else {
            EXPECT_LE(text.maxX() + 16, control->frame().minX());
        }
    }
}

TEST_F(CardBuildersTest, TheAuthorisationNoteIsBlueUntilTrustAndThenLeftOut) {
    auto label = Label::make();
    const std::string title = "窗口记忆（需授权）";
    controller().applyAuthorizationTitleStyle(*label, title, platform::Font::systemFont(16));
    ASSERT_TRUE(label->attributedStringValue());
    const auto& shown = *label->attributedStringValue();
    EXPECT_EQ(shown.text(), title);
    EXPECT_EQ(shown.attributesAt(title.find("（")).foregroundColor, Color::system(platform::SystemColor::blue));
    EXPECT_EQ(shown.attributesAt(0).foregroundColor, Color::system(platform::SystemColor::label));

    setup.grantAccessibility();
    controller().applyAuthorizationTitleStyle(*label, title, platform::Font::systemFont(16));
    EXPECT_EQ(label->attributedStringValue()->text(), "窗口记忆");
}

TEST_F(CardBuildersTest, TheNamePromptGivesTheDefaultForBlanksAndNothingWhenCancelled) {
    alerts.answerWith([](platform::Alert& alert) {
        std::static_pointer_cast<platform::TextField>(alert.accessoryView)->setStringValue("  \n ");
        return platform::ModalResponses::alertFirstButton;
    });
    EXPECT_EQ(controller().promptForName("重命名", "默认"), "默认");

    alerts.answerWith([](platform::Alert& alert) {
        std::static_pointer_cast<platform::TextField>(alert.accessoryView)->setStringValue(" 新名字 ");
        return platform::ModalResponses::alertFirstButton;
    });
    EXPECT_EQ(controller().promptForName("重命名", "默认"), "新名字");

    alerts.answer(platform::ModalResponses::alertSecondButton);
    EXPECT_EQ(controller().promptForName("重命名", "默认"), std::nullopt);
}

TEST_F(CardBuildersTest, LinkButtonsOpenOnlyTheirOwnTableRow) {
    auto& workspace = desktop.workspace();
    const auto openedBefore = workspace.openedURLs().size();
    auto music = controller().makeWorkSceneMusicButton("安静工作", 3);
    music->performClick();
    auto ai = controller().makeAINavigationButton("Kimi", -1, "AIKimi", "ico");
    ai->performClick();
    EXPECT_EQ(workspace.openedURLs().size(), openedBefore) << "tags outside the tables open nothing";

    controller().makeWorkSceneMusicButton("被裁员了", 2)->performClick();
    controller().makeAINavigationButton("Kimi", 5, "AIKimi", "ico")->performClick();
    ASSERT_EQ(workspace.openedURLs().size(), openedBefore + 2);
    EXPECT_EQ(workspace.openedURLs().back().rfind("https://www.kimi.com", 0), 0u);

    controller().openAllAINavigation();
    EXPECT_EQ(workspace.openedURLs().size(), openedBefore + 2 + 6);
}

TEST_F(CardBuildersTest, MusicButtonsShowTheirIconBeforeTheTitle) {
    const auto title = controller().makeWorkSceneMusicButton("安静工作", 0)->attributedTitle();
    ASSERT_TRUE(title);
    const auto attachments = title->attachments();
    ASSERT_EQ(attachments.size(), 1u);
    EXPECT_EQ(attachments.front().first, 0u) << "the icon leads";
    EXPECT_EQ(attachments.front().second->bounds, (platform::Rect{0, -3, 15, 15}));
    EXPECT_EQ(title->text().substr(platform::AttributedString::attachmentCharacter.size()), "  安静工作");
}

}  // namespace
}  // namespace tallowmere
