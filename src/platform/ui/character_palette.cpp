#include "platform/ui/character_palette.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/desktop/window_level.h"
#include "platform/gfx/font.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/ui/button.h"
#include "platform/ui/collection_view.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

using CharacterPaletteCatalogue::Category;

constexpr double tabsHeight = 24;
constexpr double margin = 8;
// From the pointer to the panel's nearest corner.
constexpr double pointerGap = 16;

std::size_t indexOf(Category category) { return static_cast<std::size_t>(category); }

}  // namespace

CharacterPalette& CharacterPalette::shared() { return AppContext::current().shared<CharacterPalette>(); }

void CharacterPalette::show() {
    if (!panel_) makePanel();
    const ScreenPoint pointer = DesktopLink::desktop().input().mouseLocation();
    const ScreenRect visible = DesktopLink::screenContaining(pointer)->visibleFrame();
    const ScreenRect frame = panel_->frameRectForContentRect({0, 0, width, height});
    // Below and to the right of the pointer, as far as the screen allows.
    double x = pointer.x + pointerGap;
    double y = pointer.y - pointerGap - frame.height();
    x = std::max(visible.minX(), std::min(x, visible.maxX() - frame.width()));
    y = std::max(visible.minY(), std::min(y, visible.maxY() - frame.height()));
    panel_->setFrameOrigin({x, y});
    panel_->orderFrontRegardless();
}

void CharacterPalette::close() {
    if (panel_) panel_->orderOut();
}

bool CharacterPalette::isVisible() const { return panel_ && panel_->isVisible(); }

const std::vector<std::string>& CharacterPalette::characters() {
    auto& list = lists_[indexOf(category_)];
    if (list.empty()) list = CharacterPaletteCatalogue::characters(category_);
    return list;
}

void CharacterPalette::selectCategory(Category category) {
    category_ = category;
    if (tabs_) tabs_->setSelectedSegment(static_cast<int>(indexOf(category)));
    if (grid_) grid_->reloadData();
}

void CharacterPalette::type(const std::string& character) {
    // After the click that chose it has been handled, so the character
    // arrives as typing does, at the focused field of the frontmost
    // application.
    AppContext::current().mainQueue().async([character] {
        auto& desktop = DesktopLink::desktop();
        desktop.post(Event::key(EventType::keyDown, KeyCode::textInput, character));
        desktop.post(Event::key(EventType::keyUp, KeyCode::textInput, character));
    });
}

void CharacterPalette::makePanel() {
    panel_ = Window::make<Panel>(ScreenRect{0, 0, width, height},
                                 WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable |
                                                 WindowStyleMask::utilityWindow | WindowStyleMask::nonactivatingPanel});
    panel_->setTitle("Emoji & Symbols");
    panel_->setFloatingPanel(true);
    // Above the dialogs it types into.
    panel_->setLevel(WindowLevel::status);
    panel_->becomesKeyOnlyIfNeeded = true;
    panel_->worksWhenModal = true;
    panel_->setHidesOnDeactivate(false);

    std::vector<std::string> titles;
    for (Category category : CharacterPaletteCatalogue::allCategories) {
        titles.emplace_back(CharacterPaletteCatalogue::title(category));
    }
    tabs_ = SegmentedControl::make(std::move(titles));
    tabs_->setFrame({margin, height - margin - tabsHeight, width - 2 * margin, tabsHeight});
    tabs_->setSelectedSegment(static_cast<int>(indexOf(category_)));
    tabs_->onAction = [this](Control& sender) {
        const auto selected = static_cast<SegmentedControl&>(sender).selectedSegment();
        if (selected && *selected >= 0 && static_cast<std::size_t>(*selected) < CharacterPaletteCatalogue::allCategories.size()) {
            selectCategory(CharacterPaletteCatalogue::allCategories[static_cast<std::size_t>(*selected)]);
        }
    };

    grid_ = CollectionView::make();
    grid_->itemSize = {36, 36};
    grid_->minimumInteritemSpacing = 2;
    grid_->minimumLineSpacing = 2;
    grid_->sectionInset = {6, 6, 6, 6};
    grid_->numberOfItems = [this] { return characters().size(); };
    grid_->viewForItem = [this](std::size_t index) -> std::shared_ptr<View> {
        const std::string character = characters()[index];
        auto item = Button::make(character);
        item->setBordered(false);
        item->setFont(Font::systemFont(22));
        item->setToolTip(character);
        item->onAction = [this, character](Control&) { type(character); };
        return item;
    };
    auto scroll = ScrollView::make({0, 0, width, height - tabsHeight - 2 * margin});
    scroll->hasVerticalScroller = true;
    scroll->setBorderType(BorderType::none);
    scroll->setDocumentTracksWidth(true);
    scroll->setDocumentView(grid_);

    auto content = View::make();
    content->addSubview(tabs_);
    content->addSubview(scroll);
    panel_->setContentView(content);
    grid_->reloadData();
}

}  // namespace tallowmere::platform
