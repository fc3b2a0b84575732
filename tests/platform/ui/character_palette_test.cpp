#include "platform/ui/character_palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/desktop/window_level.h"
#include "platform/gfx/png.h"
#include "platform/ui/application.h"
#include "platform/ui/collection_view.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

using Category = CharacterPaletteCatalogue::Category;

// Written for a person to look at:
//   renderings/platform/character_palette.png   the palette over a field being typed in
const std::filesystem::path renderings = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings" / "platform";

class CharacterPaletteTest : public testing::DesktopTest {
protected:
    CharacterPalette& palette() { return CharacterPalette::shared(); }

    // A window being typed in: key, with `field` taking the keys.
    std::shared_ptr<TextField> editedField(std::shared_ptr<Window>& window) {
        window = Window::make(ScreenRect{100, 500, 300, 100}, WindowStyleMask::titled);
        window->setContentView(View::make({{0, 0}, {300, 100}}));
        auto field = TextField::make();
        field->setEditable(true);
        field->setFrame({10, 10, 200, 22});
        window->contentView()->addSubview(field);
        window->makeKeyAndOrderFront();
        application.activate(true);
        EXPECT_TRUE(window->makeFirstResponder(field));
        return field;
    }

    // The person clicks the palette's `index`th character.
    void pick(std::size_t index) {
        palette().panel()->contentView()->layoutSubtreeIfNeeded();
        auto item = palette().grid()->itemView(index);
        ASSERT_TRUE(item);
        mouse.click(item->convertToScreen(item->bounds().center()));
        runUntilIdle();
    }
};

TEST_F(CharacterPaletteTest, PickedCharactersAreTypedIntoTheFieldThatKeepsTheKeys) {
    std::shared_ptr<Window> window;
    auto field = editedField(window);
    field->insertText("old");
    mouse.moveTo({400, 450});
    application.orderFrontCharacterPalette();
    ASSERT_TRUE(palette().isVisible());
    EXPECT_EQ(palette().panel()->level(), WindowLevel::status) << "above the dialogs it types into";

    const auto& emoji = palette().characters();
    ASSERT_GE(emoji.size(), 2u);
    EXPECT_EQ(emoji[0], "😀") << "faces come first";
    pick(0);
    pick(1);
    EXPECT_EQ(field->stringValue(), "old" + emoji[0] + emoji[1]);
    std::filesystem::create_directories(renderings);
    auto picture = ScreenSnapshot::render();
    ASSERT_TRUE(picture);
    ASSERT_TRUE(writePng(*picture, renderings / "character_palette.png"));
    EXPECT_EQ(application.keyWindow(), window) << "the palette never takes the keys";
    EXPECT_EQ(window->firstResponder(), field);

    palette().selectCategory(Category::currency);
    const auto& signs = palette().characters();
    const auto euro = std::find(signs.begin(), signs.end(), "€");
    ASSERT_NE(euro, signs.end());
    pick(static_cast<std::size_t>(euro - signs.begin()));
    EXPECT_EQ(field->stringValue(), "old" + emoji[0] + emoji[1] + "€");
}

TEST_F(CharacterPaletteTest, EachCategoryHoldsItsKindOfCharacter) {
    struct Case {
        Category category;
        std::vector<std::string> holds;
        std::vector<std::string> lacks;
        std::size_t atLeast;
    } cases[] = {
        {Category::emoji, {"😀", "👍", "👨‍👩‍👧", "1️⃣"}, {"👍🏽", "🇨🇳", "→"}, 1000},
        {Category::flags, {"🇨🇳", "🇫🇷", "🏴󠁧󠁢󠁳󠁣󠁴󠁿"}, {"😀"}, 250},
        {Category::arrows, {"←", "→", "⟶"}, {"∑"}, 100},
        {Category::math, {"∑", "∞", "≠"}, {"→"}, 200},
        {Category::currency, {"$", "¥", "€", "₩"}, {"😀"}, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(CharacterPaletteCatalogue::title(c.category)));
        const auto list = CharacterPaletteCatalogue::characters(c.category);
        EXPECT_GE(list.size(), c.atLeast);
        for (const auto& wanted : c.holds) EXPECT_NE(std::find(list.begin(), list.end(), wanted), list.end()) << wanted;
        for (const auto& unwanted : c.lacks) EXPECT_EQ(std::find(list.begin(), list.end(), unwanted), list.end()) << unwanted;
    }
}

TEST_F(CharacterPaletteTest, OpensBesideThePointerInsideTheScreen) {
    struct Case {
        ScreenPoint pointer;
        const char* where;
    } cases[] = {{{300, 600}, "room below and right"}, {{1430, 30}, "bottom-right corner"}, {{5, 880}, "top-left"}};
    const ScreenRect visible = desktop.screens().primaryScreen()->visibleFrame();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        mouse.moveTo(c.pointer);
        palette().show();
        const ScreenRect frame = palette().panel()->frame();
        EXPECT_GE(frame.minX(), visible.minX());
        EXPECT_GE(frame.minY(), visible.minY());
        EXPECT_LE(frame.maxX(), visible.maxX());
        EXPECT_LE(frame.maxY(), visible.maxY());
    }
    mouse.moveTo({300, 600});
    palette().show();
    EXPECT_EQ(palette().panel()->frame().minX(), 316) << "16 points right of the pointer";
    EXPECT_EQ(palette().panel()->frame().maxY(), 584) << "16 points below it";
}

}  // namespace
}  // namespace tallowmere::platform
