#include "app/about_presenter.h"
#include "app/about_window_controller.h"
#include "localization/interface_language.h"
#include "platform/base/property_value.h"
#include "platform/desktop/window_level.h"
#include "platform/runtime/app_context.h"
#include "platform/system/bundle.h"
#include "platform/ui/label.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"
#include "support/desktop/keyboard_driver.h"

namespace tallowmere::testing {
namespace {

using platform::PropertyValue;

// Every text the window shows, in tree order.
void collectTexts(const platform::View& view, std::vector<std::string>& texts) {
    if (auto label = dynamic_cast<const platform::Label*>(&view)) texts.push_back(label->stringValue());
    for (const auto& subview : view.subviews()) collectTexts(*subview, texts);
}

class AboutWindowTest : public DesktopTest {
protected:
    std::shared_ptr<platform::Window> aboutWindow() {
        auto* controller = context().sharedIfMade<AboutWindowController>();
        return controller ? controller->window() : nullptr;
    }
    std::vector<std::string> shownTexts() {
        std::vector<std::string> texts;
        collectTexts(*aboutWindow()->contentView(), texts);
        return texts;
    }
    bool shows(const std::string& text) {
        auto texts = shownTexts();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

TEST_F(AboutWindowTest, ShowsTheProductInTheLanguageOfItsFirstShowing) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    AboutPresenter::show();
    auto window = aboutWindow();
    ASSERT_TRUE(window);

    EXPECT_EQ(window->title(), L("关于") + " Tallowmere Sparkwell");
    EXPECT_TRUE(shows("Tallowmere Sparkwell"));
    EXPECT_TRUE(shows("About me:"));
    EXPECT_TRUE(shows("Hello."));
    EXPECT_TRUE(shows(L("版本：")));
    const auto& info = platform::Bundle::main().infoDictionary();
    EXPECT_TRUE(shows(*info.at("CFBundleShortVersionString").asString() + "（第" +
                      *info.at("CFBundleVersion").asString() + "版构建）"))
        << "the version and build of the program's own bundle";
    EXPECT_TRUE(shows("白你一眼")) << "the cats' captions are never translated";
    EXPECT_EQ(window->level(), platform::WindowLevel::modalPanel);

    InterfaceLanguage::setCurrent(InterfaceLanguage::traditionalChineseHongKong);
    window->close();
    AboutPresenter::show();
    EXPECT_EQ(aboutWindow(), window) << "built once, then reused";
    EXPECT_EQ(window->title(), InterfaceLanguage::text("关于", InterfaceLanguage::english) + " Tallowmere Sparkwell");
    EXPECT_TRUE(shows("About me:"));
}

TEST_F(AboutWindowTest, ReturnClosesAndTheMenuBringsItBackInFront) {
    
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    ASSERT_TRUE(editor);
    AboutPresenter::show();
    ASSERT_TRUE(aboutWindow()->isKeyWindow());

    keyboard.press(36, "\r");
    EXPECT_FALSE(aboutWindow()->isVisible());

    desktop.activate(*editor);
    aboutWindow()->setFrameOrigin({10, 10});
    AboutPresenter::show();

    auto window = aboutWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isKeyWindow());
    EXPECT_TRUE(application.isActive());
    EXPECT_NEAR(window->frame().midX(), desktop.screens().primaryScreen()->visibleFrame().midX(), 1)
        << "re-centred";
}

TEST(AboutVersionText, FallsBackForWhatTheBundleLacks) {
    struct Case {
        std::optional<PropertyValue> shortVersion;
        std::optional<PropertyValue> build;
        const char* expected;
    } cases[] = {
        {std::nullopt, std::nullopt, "1.0.0（第-版构建）"},
        {PropertyValue("2.3"), std::nullopt, "2.3（第-版构建）"},
        {PropertyValue("2.3"), PropertyValue("45"), "2.3（第45版构建）"},
        {PropertyValue(2), PropertyValue(45), "1.0.0（第-版构建）"},  // not text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(aboutVersionText(c.shortVersion ? &*c.shortVersion : nullptr, c.build ? &*c.build : nullptr),
                  c.expected);
    }
}

}  // namespace
}  // namespace tallowmere::testing
