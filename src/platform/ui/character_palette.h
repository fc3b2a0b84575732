#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/character_palette_catalogue.h"

namespace tallowmere::platform {

class CollectionView;
class Panel;
class SegmentedControl;

// The system's emoji and symbols viewer on the simulated desktop: a small
// floating panel of characters by category. A click on one types it where
// the person is typing: the frontmost application's focused text, the key
// window's field when that is the program. It never takes the keys itself,
// so the field keeps its selection, and it answers while a dialog is modal.
// One per AppContext; the panel is made on first showing and then reused.
class CharacterPalette {
public:
    static constexpr double width = 352;
    static constexpr double height = 400;

    static CharacterPalette& shared();
    CharacterPalette() = default;
    CharacterPalette(const CharacterPalette&) = delete;
    CharacterPalette& operator=(const CharacterPalette&) = delete;

    // Shows the panel beside the pointer, kept inside the visible frame.
    void show();
    void close();
    bool isVisible() const;

    CharacterPaletteCatalogue::Category category() const { return category_; }
    void selectCategory(CharacterPaletteCatalogue::Category category);
    // The characters shown now, in order.
    const std::vector<std::string>& characters();
    // Types the character as a key press without a key, as text input does.
    void type(const std::string& character);

    const std::shared_ptr<Panel>& panel() const { return panel_; }
    const std::shared_ptr<CollectionView>& grid() const { return grid_; }

private:
    void makePanel();

    std::shared_ptr<Panel> panel_;
    std::shared_ptr<SegmentedControl> tabs_;
    std::shared_ptr<CollectionView> grid_;
    CharacterPaletteCatalogue::Category category_ = CharacterPaletteCatalogue::Category::emoji;
    // Each category's characters, made when first shown.
    std::vector<std::vector<std::string>> lists_{CharacterPaletteCatalogue::allCategories.size()};
};

}  // namespace tallowmere::platform
