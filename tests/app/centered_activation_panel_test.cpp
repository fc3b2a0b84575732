#include "app/centered_activation_panel.h"

#include "localization/interface_language.h"
#include "platform/ui/application.h"
#include <functional>

#include "platform/ui/button.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"
#include "support/desktop/keyboard_driver.h"

namespace tallowmere::testing {
namespace {

using platform::Color;
using platform::SystemColor;

std::shared_ptr<CenteredActivationPanel> makeDialog(std::vector<std::string> buttons, std::string message = "说明",
                                                    std::shared_ptr<platform::View> content = nullptr) {
    return CenteredActivationPanel::make("标题", std::move(message), std::move(content), 64,
                                         Color::system(SystemColor::label), std::move(buttons));
}

class CenteredActivationPanelTest : public DesktopTest {};

TEST_F(CenteredActivationPanelTest, HeightFollowsMessageContentAndButtons) {
    const std::string fiftyTwo(52, 'a');
    std::string fiftyTwoFlags;
    for (int i = 0; i < 52; ++i) fiftyTwoFlags += "🇨🇳";
    struct Case {
        const char* name;
        std::string message;
        double contentHeight;
        std::size_t buttons;
        double height;
    } cases[] = {
        {"one button, no content: the minimum", "好", 0, 1, 228},
        {"52 characters keep the short message area", fiftyTwo, 0, 3, 34 + 114 + 144},
        {"53 characters get the tall one", fiftyTwo + "b", 0, 3, 54 + 114 + 144},
        {"a flag is one character", fiftyTwoFlags, 0, 3, 34 + 114 + 144},
        {"content and a long message", fiftyTwo + "b", 200, 3, 200 + 54 + 114 + 144},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::shared_ptr<platform::View> content;
        if (c.contentHeight > 0) content = platform::View::make({0, 0, 300, c.contentHeight});
        auto dialog = makeDialog(std::vector<std::string>(c.buttons, "按钮"), c.message, content);
        EXPECT_EQ(dialog->panel()->contentView()->frame().height(), c.height);
        EXPECT_EQ(dialog->panel()->contentView()->frame().width(), 560);
    }
}

TEST_F(CenteredActivationPanelTest, StacksIconTitleMessageContentAndButtonsInTheMiddle) {
    auto content = platform::View::make({0, 0, 300, 80});
    auto dialog = makeDialog({"保存", "不保存", "取消"}, "说明", content);
    auto root = dialog->panel()->contentView();
    root->layoutSubtreeIfNeeded();

    // Top-to-bottom frames in the panel's content view.
    auto frameOf = [&](const platform::View& view) {
        const platform::Rect r = view.convert(view.bounds(), root.get());
        const double top = root->isFlipped() ? r.minY() : root->frame().height() - r.maxY();
        return platform::Rect{r.minX(), top, r.width(), r.height()};
    };
    std::vector<platform::Rect> icons, labels;
    std::function<void(const platform::View&)> walk = [&](const platform::View& view) {
        if (dynamic_cast<const platform::ImageView*>(&view)) icons.push_back(frameOf(view));
        if (dynamic_cast<const platform::Label*>(&view)) labels.push_back(frameOf(view));
        for (const auto& subview : view.subviews()) walk(*subview);
    };
    walk(*root);
    ASSERT_EQ(icons.size(), 1u);
    ASSERT_EQ(labels.size(), 2u);
    const platform::Rect icon = icons[0], title = labels[0], message = labels[1];
    const platform::Rect shownContent = frameOf(*content);
    const platform::Rect first = frameOf(*dialog->buttons()[0]), second = frameOf(*dialog->buttons()[1]),
                         last = frameOf(*dialog->buttons()[2]);

    EXPECT_EQ(icon.size, (platform::Size{64, 64}));
    EXPECT_EQ(message.size, (platform::Size{500, 34}));
    EXPECT_EQ(shownContent.size, (platform::Size{300, 80})) << "the content keeps the size it was handed over with";
    EXPECT_NEAR(title.minY() - icon.maxY(), 10, 1e-9);
    EXPECT_NEAR(message.minY() - title.maxY(), 10, 1e-9);
    EXPECT_NEAR(shownContent.minY() - message.maxY(), 10, 1e-9);
    EXPECT_NEAR(first.minY() - shownContent.maxY(), 10, 1e-9);
    EXPECT_NEAR(second.minY() - first.maxY(), 5, 1e-9);
    EXPECT_NEAR(last.minY() - second.maxY(), 5, 1e-9);
    for (const platform::Rect& r : {icon, title, message, shownContent, first, last}) EXPECT_NEAR(r.midX(), 280, 1e-9);
    EXPECT_NEAR((icon.minY() + last.maxY()) / 2, root->frame().height() / 2, 0.5) << "centred top to bottom";
}

TEST_F(CenteredActivationPanelTest, ReturnAndEscapeGoToFirstAndCancelButtons) {
    struct Case {
        const char* name;
        InterfaceLanguage language;
        std::vector<std::string> titles;
        std::vector<std::string> keys;
    } cases[] = {
        {"action and cancel", InterfaceLanguage::simplifiedChinese, {"删除", "取消"}, {"\r", "\x1b"}},
        {"last button is no cancel", InterfaceLanguage::simplifiedChinese, {"删除", "稍后"}, {"\r", ""}},
        {"a lone cancel button takes Escape", InterfaceLanguage::simplifiedChinese, {"取消"}, {"\x1b"}},
        {"cancel compared in the interface language", InterfaceLanguage::english, {"Delete", "Cancel"}, {"\r", "\x1b"}},
        {"the source text is not the English cancel", InterfaceLanguage::english, {"Delete", "取消"}, {"\r", ""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InterfaceLanguage::setCurrent(c.language);
        auto dialog = makeDialog(c.titles);
        ASSERT_EQ(dialog->buttons().size(), c.keys.size());
        for (std::size_t index = 0; index < c.keys.size(); ++index) {
            EXPECT_EQ(dialog->buttons()[index]->keyEquivalent(), c.keys[index]) << "button " << index;
            EXPECT_EQ(dialog->buttons()[index]->sizeConstraints().width, 228);
        }
    }
}

TEST_F(CenteredActivationPanelTest, ModalRunAnswersThePressedButtonCentredOnItsWindow) {
    auto owner = platform::Window::make(platform::ScreenRect{200, 150, 900, 600}, platform::WindowStyleMask::titled);
    owner->makeKeyAndOrderFront();
    auto dialog = makeDialog({"保存", "不保存", "取消"});
    platform::ScreenRect shownAt;
    panels.actInModalWindow([&](platform::Window& window) {
        shownAt = window.frame();
        dialog->buttons()[1]->performClick();
    });

    EXPECT_EQ(dialog->runModal(owner), 1);

    EXPECT_EQ(shownAt.midX(), owner->frame().midX());
    EXPECT_EQ(shownAt.midY(), owner->frame().midY());
    EXPECT_FALSE(dialog->panel()->isVisible());
    EXPECT_EQ(dialog->selectedIndex(), 1);
}

TEST_F(CenteredActivationPanelTest, ReturnKeyPressesTheFirstButton) {
    auto dialog = makeDialog({"继续", "取消"});
    
    panels.actInModalWindow([&](platform::Window&) { keyboard.press(36, "\r"); });

    EXPECT_EQ(dialog->runModal(nullptr), 0);
}

TEST_F(CenteredActivationPanelTest, ModalRunWithoutAPressAnswersNothing) {
    auto dialog = makeDialog({"好"});
    panels.actInModalWindow([&](platform::Window&) { dialog->buttons()[0]->performClick(); });
    ASSERT_EQ(dialog->runModal(nullptr), 0);

    // Nobody at the Mac this time: the loop ends without a press, and the
    // earlier answer is not reported again.
    EXPECT_EQ(dialog->runModal(nullptr), std::nullopt);
    EXPECT_FALSE(dialog->panel()->isVisible());
}

TEST_F(CenteredActivationPanelTest, ModelessHandlerFiresOnceAndHidesThePanel) {
    auto dialog = makeDialog({"好", "取消"});
    std::vector<int> chosen;
    dialog->modelessSelectionHandler = [&](int index) { chosen.push_back(index); };
    dialog->centerOn(nullptr);
    dialog->panel()->makeKeyAndOrderFront();

    dialog->buttons()[1]->performClick();
    dialog->buttons()[0]->performClick();

    EXPECT_EQ(chosen, std::vector<int>{1});
    EXPECT_FALSE(dialog->panel()->isVisible());
    EXPECT_FALSE(application.isRunningModal());
}

}  // namespace
}  // namespace tallowmere::testing
