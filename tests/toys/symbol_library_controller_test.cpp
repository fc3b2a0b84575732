// Also writes pictures a person can look at, under the build folder:
//   renderings/toys/symbol_library_emoji.png   the Emoji tab after a copy
//   renderings/toys/symbol_library_math.png    the Math tab
#include "toys/symbol_library_controller.h"

#include <filesystem>
#include <functional>

#include "platform/desktop/pasteboard.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/gfx/png.h"
#include "platform/system/bundle.h"
#include "platform/ui/button.h"
#include "platform/ui/collection_view.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/window.h"
#include "toys/symbol_collection_item.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {
namespace {

using platform::Bundle;
using platform::Pasteboard;

const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "toys";

class SymbolLibraryTest : public DesktopTest {
protected:
    SymbolLibraryController& library() { return SymbolLibraryController::shared(); }

    void open() {
        library().presentLibrary(false);
        library().window()->contentView()->layoutSubtreeIfNeeded();
        runUntilIdle();
    }

    // The grid's item `index` on the screen, as a person sees it.
    platform::ScreenPoint itemCentre(std::size_t index) {
        auto item = library().collectionView()->itemView(index);
        EXPECT_TRUE(item) << "no item " << index;
        const auto bounds = item->bounds();
        return item->convertToScreen(platform::Point{bounds.midX(), bounds.midY()});
    }

    std::size_t indexOf(const std::string& symbol) {
        const auto& symbols = library().categories()[library().currentCategoryIndex()].symbols;
        const auto found = std::find(symbols.begin(), symbols.end(), symbol);
        EXPECT_NE(found, symbols.end()) << symbol << " is not shown";
        return static_cast<std::size_t>(found - symbols.begin());
    }

    void showTab(int segment) {
        library().categoryControl()->performClick(segment);
        library().window()->contentView()->layoutSubtreeIfNeeded();
    }

    void write(const char* name) {
        std::filesystem::create_directories(renderings);
        const auto& window = *library().window();
        const auto frame = window.frame();
        auto made = platform::CairoCanvas::make({frame.width(), frame.height()}, 1);
        ASSERT_TRUE(made.ok());
        auto& canvas = **made;
        canvas.translate(-frame.minX(), -frame.minY());
        platform::ScreenSnapshot::drawOwnWindow(canvas, window);
        ASSERT_TRUE(platform::writePng(canvas.bitmap(), renderings / name).ok());
    }
};

TEST_F(SymbolLibraryTest, ReadsTheBundledListAndGroupsItsSkinTones) {
    const auto& all = library().allEmoji();
    EXPECT_GT(all.size(), 3000u);
    const auto& grouped = library().groupedEmoji();
    EXPECT_LT(grouped.symbols.size(), all.size());
    ASSERT_TRUE(grouped.variants.contains("👋"));
    EXPECT_EQ(grouped.variants.at("👋").size(), 6u);
    EXPECT_EQ(library().categories().front().symbols, grouped.symbols);
}

TEST_F(SymbolLibraryTest, WithoutTheResourceTheEmojiTabIsEmptyAndTheRestWhole) {
    Bundle::main().setResource("EmojiAll", "txt", std::nullopt);
    open();
    const auto& categories = library().categories();
    ASSERT_EQ(categories.size(), 7u);
    EXPECT_TRUE(categories[0].symbols.empty());
    EXPECT_EQ(library().collectionView()->itemCount(), 0u);
    EXPECT_EQ(categories[4].symbols.size(), 44u);
    showTab(4);
    EXPECT_EQ(library().collectionView()->itemCount(), 44u);
}

TEST_F(SymbolLibraryTest, NotUtf8ResourceGivesAnEmptyEmojiTab) {
    Bundle::main().setResource("EmojiAll", "txt", std::string("😀\n\xC3\x28\n"));
    EXPECT_TRUE(library().allEmoji().empty());
    EXPECT_EQ(library().categories()[1].symbols.size(), 38u);
}

TEST_F(SymbolLibraryTest, AClickCopiesTheSymbolAndSaysSo) {
    Bundle::main().setResource("EmojiAll", "txt", std::string("😀\n👋\n👋🏽\n"));
    open();
    Pasteboard::general().setString("earlier");
    mouse.click(itemCentre(indexOf("😀")));
    EXPECT_EQ(Pasteboard::general().string(), "😀");
    EXPECT_EQ(library().statusLabel()->stringValue(), "Copied: 😀");
    EXPECT_FALSE(menus.isOpen());

    showTab(4);
    mouse.click(itemCentre(indexOf("π")));
    EXPECT_EQ(Pasteboard::general().string(), "π");
    EXPECT_EQ(library().statusLabel()->stringValue(), "Copied: π");
}

TEST_F(SymbolLibraryTest, AnEmojiWithTonesOffersEveryFormAndCopiesTheChosenOne) {
    Bundle::main().setResource("EmojiAll", "txt", std::string("😀\n👋\n👋🏻\n👋🏽\n"));
    open();
    Pasteboard::general().setString("earlier");
    const auto item = library().collectionView()->itemView(indexOf("👋"));
    EXPECT_NE(item->toolTip(), library().collectionView()->itemView(indexOf("😀"))->toolTip());
    mouse.click(itemCentre(indexOf("👋")));
    ASSERT_TRUE(menus.isOpen());
    EXPECT_EQ(menus.itemTitles(), (std::vector<std::string>{"👋", "👋🏻", "👋🏽"}));
    EXPECT_EQ(Pasteboard::general().string(), "earlier");  // nothing copied yet
    menus.choose("👋🏽");
    EXPECT_EQ(Pasteboard::general().string(), "👋🏽");
    EXPECT_EQ(library().statusLabel()->stringValue(), "Copied: 👋🏽");
}

TEST_F(SymbolLibraryTest, ACopyPressesTheItemAndAToneChoiceDoesNot) {
    Bundle::main().setResource("EmojiAll", "txt", std::string("😀\n👋\n👋🏽\n"));
    open();
    auto plain = std::dynamic_pointer_cast<SymbolCollectionItem>(library().collectionView()->itemView(indexOf("😀")));
    auto toned = std::dynamic_pointer_cast<SymbolCollectionItem>(library().collectionView()->itemView(indexOf("👋")));
    ASSERT_TRUE(plain && toned);
    EXPECT_EQ(plain->identifier(), "SymbolCollectionItem");
    mouse.click(itemCentre(indexOf("😀")));
    advance(SymbolCollectionItem::pressSeconds / 2);
    EXPECT_TRUE(plain->isPressing());
    EXPECT_LT(plain->scale(), 0.9) << "half way through the press the symbol is smaller";
    advance(SymbolCollectionItem::pressSeconds);
    EXPECT_EQ(plain->scale(), 1) << "and back to its size after";
    EXPECT_FALSE(plain->isPressing());

    mouse.click(itemCentre(indexOf("👋")));
    advance(SymbolCollectionItem::pressSeconds / 2);
    EXPECT_FALSE(toned->isPressing()) << "choosing a tone is not a copy";
    menus.dismiss();
}

TEST_F(SymbolLibraryTest, TheCardOpensTheLibraryBothWays) {
    auto card = library().makeCardView();
    ASSERT_TRUE(card->layer().gradients.size() == 1) << "the second page's wash";
    std::vector<std::shared_ptr<platform::Button>> buttons;
    std::function<void(const std::shared_ptr<platform::View>&)> walk = [&](const std::shared_ptr<platform::View>& view) {
        if (auto button = std::dynamic_pointer_cast<platform::Button>(view)) buttons.push_back(button);
        for (const auto& child : view->subviews()) walk(child);
    };
    walk(card);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0]->title(), "Window Selection");
    EXPECT_EQ(buttons[1]->title(), "Full Screen Selection");
    buttons[0]->performClick();
    ASSERT_TRUE(library().window());
    EXPECT_TRUE(library().window()->isVisible());
    EXPECT_FALSE(library().window()->isFullScreen());
    buttons[1]->performClick();
    EXPECT_TRUE(library().window()->isFullScreen());
    library().closeLibrary();
}

TEST_F(SymbolLibraryTest, OpeningTwiceReusesTheWindow) {
    open();
    const auto first = library().window();
    ASSERT_TRUE(first->isVisible());
    EXPECT_EQ(first->contentLayoutRect().size, (platform::Size{1100, 720}));
    EXPECT_EQ(first->minSize(), (platform::Size{760, 520}));
    showTab(2);
    library().closeLibrary();
    EXPECT_FALSE(first->isVisible());
    open();
    EXPECT_EQ(library().window(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(library().currentCategoryIndex(), 2u);  // where the person left it

    library().presentLibrary(true);
    EXPECT_EQ(library().window(), first);
    EXPECT_TRUE(first->isFullScreen());
    library().closeLibrary();
    EXPECT_FALSE(first->isFullScreen());
    EXPECT_FALSE(first->isVisible());
}

TEST_F(SymbolLibraryTest, HeaderKeepsItsSideItemsClearOfTheTabs) {
    open();
    const auto tabs = library().categoryControl()->frame();
    const auto status = library().statusLabel()->frame();
    EXPECT_LE(status.maxX(), tabs.minX() - 12);
    EXPECT_NEAR(tabs.midX(), library().categoryControl()->superview()->bounds().midX(), 0.5);
    const auto grid = library().collectionView();
    EXPECT_EQ(grid->itemView(0)->frame().size, (platform::Size{66, 66}));
}

TEST_F(SymbolLibraryTest, RendersTheEmojiAndMathTabs) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    open();
    library().copySymbol("👋");
    write("symbol_library_emoji.png");
    showTab(4);
    write("symbol_library_math.png");
    EXPECT_TRUE(std::filesystem::exists(renderings / "symbol_library_math.png"));
}

}  // namespace
}  // namespace tallowmere::testing
