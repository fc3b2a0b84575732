#include <functional>

#include "app/about_presenter.h"
#include "app/about_window_controller.h"
#include "localization/interface_language.h"
#include "platform/base/property_value.h"
#include "platform/desktop/window_level.h"
#include "platform/runtime/app_context.h"
#include "platform/system/bundle.h"
#include "platform/ui/button.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "platform/ui/window.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/gfx/pango_text_measurer.h"
#include "localization/product_identity.h"
#include <filesystem>
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

TEST_F(AboutWindowTest, LaysOutItsRowsInOrderAtTheirSizes) {
    InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
    AboutPresenter::show();
    auto content = aboutWindow()->contentView();
    content->layoutSubtreeIfNeeded();
    ASSERT_EQ(content->frame().size.width, 560);
    ASSERT_EQ(content->frame().size.height, 630);

    // Every label, picture and button with its frame in the content view,
    // measured from the top-left as a person reads the window.
    struct Shown {
        std::string what;
        platform::Rect frame;
    };
    std::vector<Shown> shown;
    std::function<void(const platform::View&)> walk = [&](const platform::View& view) {
        std::string what;
        if (auto button = dynamic_cast<const platform::Button*>(&view)) what = "button " + button->title();
        else if (auto label = dynamic_cast<const platform::Label*>(&view)) what = label->stringValue();
        else if (dynamic_cast<const platform::ImageView*>(&view)) what = "picture";
        if (!what.empty()) {
            const platform::Rect r = view.convert(view.bounds(), content.get());
            const double top = content->isFlipped() ? r.minY() : 630 - r.maxY();
            shown.push_back({what, platform::Rect{r.minX(), top, r.width(), r.height()}});
            return;
        }
        for (const auto& subview : view.subviews()) walk(*subview);
    };
    walk(*content);

    std::vector<std::string> order;
    for (const auto& item : shown) order.push_back(item.what);
    ASSERT_EQ(order.size(), 15u);
    EXPECT_EQ(order, (std::vector<std::string>{"picture", "塔洛梅百宝箱", "版本：", order[3], "关于我：", "你好。",
                                               "picture", "塔洛梅", "白你一眼", "picture", "售后微信", "picture",
                                               "墨爪", "含情脉脉看着你", "button 好"}));
    EXPECT_TRUE(order[3].ends_with("版构建）")) << order[3];
    auto at = [&](std::size_t index) { return shown[index].frame; };

    EXPECT_EQ(at(0).size, (platform::Size{108, 70})) << "header picture";
    EXPECT_EQ(at(0).minX(), 42);
    EXPECT_EQ(at(0).minY(), 58) << "below the transparent title bar";
    EXPECT_EQ(at(1).minX(), 42 + 108 + 16) << "the name beside the header picture";

    EXPECT_EQ(at(2).minX(), 42 + 132) << "detail rows are indented";
    EXPECT_EQ(at(2).width(), 92);
    EXPECT_EQ(at(3).minX(), 42 + 132 + 92 + 14);
    EXPECT_EQ(at(4).minX(), 42 + 132);
    EXPECT_GE(at(4).minY(), at(2).maxY() + 12);

    EXPECT_EQ(at(6).size, (platform::Size{96, 96})) << "cat";
    EXPECT_EQ(at(9).size, (platform::Size{168, 160})) << "support code";
    EXPECT_EQ(at(11).size, (platform::Size{96, 96})) << "cat";
    EXPECT_EQ(at(9).minX() - at(6).maxX(), 22) << "pictures row spacing (the cat is its column's widest item)";
    EXPECT_NEAR(at(9).midX(), 280, 0.5) << "the pictures row is centred";
    EXPECT_EQ(at(9).minY() - at(5).maxY(), 44) << "the wider gap after the detail rows";

    EXPECT_EQ(at(14).width(), 180);
    EXPECT_NEAR(at(14).midX(), 280, 0.5);
    EXPECT_GE(630 - at(14).maxY(), 30) << "the OK button stays clear of the bottom";
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

// With the program's own fonts the name fits its frame whole, and every
// picture comes from the bundle; the window is written as a picture for a
// person to look at.
TEST_F(AboutWindowTest, ShowsItsPicturesAndTheWholeNameWithTheProgramsFonts) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    for (auto language : {InterfaceLanguage::english, InterfaceLanguage::simplifiedChinese}) {
        SCOPED_TRACE(InterfaceLanguage(language).caseName());
        context().setShared<AboutWindowController>(nullptr);
        InterfaceLanguage::setCurrent(language);
        AboutPresenter::show();
        auto window = aboutWindow();
        ASSERT_TRUE(window);
        window->contentView()->layoutSubtreeIfNeeded();

        std::vector<const platform::ImageView*> pictures;
        std::vector<const platform::Label*> labels;
        std::function<void(const platform::View&)> walk = [&](const platform::View& view) {
            if (auto picture = dynamic_cast<const platform::ImageView*>(&view)) pictures.push_back(picture);
            if (auto label = dynamic_cast<const platform::Label*>(&view)) labels.push_back(label);
            for (const auto& subview : view.subviews()) walk(*subview);
        };
        walk(*window->contentView());
        ASSERT_EQ(pictures.size(), 4u);
        for (const auto* picture : pictures) EXPECT_TRUE(picture->image()) << "every picture frame shows its picture";

        const std::string name(ProductIdentity::localizedName());
        auto title = std::find_if(labels.begin(), labels.end(), [&](auto* label) { return label->stringValue() == name; });
        ASSERT_NE(title, labels.end());
        const double needed = platform::TextMeasurer::shared().measure(name, (*title)->font()).width;
        EXPECT_GE((*title)->frame().width() + 0.5, needed) << "the name is not cut off";
        const auto inWindow = (*title)->convert((*title)->bounds(), nullptr);
        EXPECT_LE(inWindow.maxX(), window->contentView()->bounds().maxX() - 42 + 0.5);

        const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings";
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(platform::ScreenSnapshot::writePng(folder / ("about_window_" + std::string(InterfaceLanguage(language).caseName()) + ".png")).ok());
        window->close();
    }
}

}  // namespace
}  // namespace tallowmere::testing
