#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toys/emoji_list.h"
#include "toys/symbol_categories.h"

namespace tallowmere {

namespace platform {
class Button;
class CollectionView;
class Label;
class Menu;
class MenuItem;
class SegmentedControl;
class View;
class Window;
}  // namespace platform

// The emoji and symbol library: a window of category tabs over a grid of
// symbols; a click copies a symbol to the general pasteboard, or, for an
// emoji with skin tones, offers its forms first. One per process (`shared()`);
// the emoji list and the tabs are read once and kept, the window is made
// once and reused.
class SymbolLibraryController {
public:
    using Category = SymbolCategory;

    static SymbolLibraryController& shared();

    SymbolLibraryController() = default;
    SymbolLibraryController(const SymbolLibraryController&) = delete;
    SymbolLibraryController& operator=(const SymbolLibraryController&) = delete;

    // The bundle's "EmojiAll.txt", one entry per line (empty when missing).
    const std::vector<std::string>& allEmoji();
    const GroupedEmoji& groupedEmoji();
    // The seven tabs, titled in the interface language of the first use.
    const std::vector<Category>& categories();

    // Opens the library full screen.
    void showLibrary(platform::MenuItem& sender);
    // Opens the library in a normal window (the status menu's "Emoji").
    void showLibraryInWindow(platform::MenuItem& sender);
    void presentLibrary(bool fullScreen);
    // Hides the library, leaving full screen first.
    void closeLibrary();
    // The main window's card: a line on the library, a sample, and its two
    // ways of opening it ("Window Selection", "Full Screen Selection").
    std::shared_ptr<platform::View> makeCardView();

    // Shows the tab at `categoryIndex` in the grid.
    void rebuildGrid(std::size_t categoryIndex);
    // What a click on the grid's item `index` does: copies its symbol, or
    // opens the choice of its skin tones.
    void selectSymbol(std::size_t index);
    // Puts `symbol` on the general pasteboard and says so in the header.
    void copySymbol(const std::string& symbol);

    // --- What is shown (none before the first presentation) ---------------------
    std::shared_ptr<platform::Window> window() const { return window_; }
    std::shared_ptr<platform::SegmentedControl> categoryControl() const { return categoryControl_; }
    std::shared_ptr<platform::CollectionView> collectionView() const { return collectionView_; }
    std::shared_ptr<platform::Label> statusLabel() const { return statusLabel_; }
    // The open choice of skin tones, if any.
    std::shared_ptr<platform::Menu> toneMenu() const { return toneMenu_; }
    std::size_t currentCategoryIndex() const { return currentCategory_; }

private:
    void makeWindow();
    std::shared_ptr<platform::View> makeItem(std::size_t index);
    void showToneChoice(const std::vector<std::string>& variants, const platform::View& item);
    const std::vector<std::string>& currentSymbols();

    std::optional<std::vector<std::string>> allEmoji_;
    std::optional<GroupedEmoji> groupedEmoji_;
    std::optional<std::vector<Category>> categories_;

    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<platform::SegmentedControl> categoryControl_;
    std::shared_ptr<platform::CollectionView> collectionView_;
    std::shared_ptr<platform::Label> statusLabel_;
    std::shared_ptr<platform::Menu> toneMenu_;
    std::size_t currentCategory_ = 0;
};

}  // namespace tallowmere
