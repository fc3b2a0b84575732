#include "quicklaunch/emoji_picker_button.h"

#include <gtest/gtest.h>

#include "localization/interface_language.h"
#include "platform/ui/application.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere {
namespace {

class EmojiPickerButtonTest : public testing::DesktopTest {};

TEST_F(EmojiPickerButtonTest, TooltipFollowsTheLanguagesScript) {
    struct Case {
        InterfaceLanguage language;
        const char* tooltip;
    } cases[] = {
        {InterfaceLanguage::simplifiedChinese, "选择 Emoji"},
        {InterfaceLanguage::cantonese, "选择 Emoji"},
        {InterfaceLanguage::shandongFish, "选择 Emoji"},
        {InterfaceLanguage::english, "Choose Emoji"},
        {InterfaceLanguage::japanese, "Choose Emoji"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.language.rawValue());
        InterfaceLanguage::setCurrent(c.language);
        auto button = EmojiPickerButton::make(platform::TextField::make());
        EXPECT_EQ(button->toolTip(), c.tooltip);
        EXPECT_EQ(button->title(), "😊");
    }
}

TEST_F(EmojiPickerButtonTest, PutsTheKeysInTheFieldAndOpensThePalette) {
    auto window = platform::Window::make<platform::Window>(platform::ScreenRect{{100, 100}, {300, 100}},
                                                           platform::WindowStyleMask{platform::WindowStyleMask::titled});
    window->setContentView(platform::View::make({{0, 0}, {300, 100}}));
    auto field = platform::TextField::make();
    field->setEditable(true);
    field->setFrame({10, 10, 100, 22});
    window->contentView()->addSubview(field);
    auto button = EmojiPickerButton::make(field);
    auto& application = platform::Application::shared();
    const int before = application.characterPaletteOpenings();

    button->performClick();
    EXPECT_EQ(window->firstResponder(), field);
    EXPECT_EQ(application.characterPaletteOpenings(), before + 1);

    field->removeFromSuperview();
    field.reset();
    button->performClick();
    EXPECT_EQ(application.characterPaletteOpenings(), before + 2) << "a field that has gone still opens the palette";
}

}  // namespace
}  // namespace tallowmere
