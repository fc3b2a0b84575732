#include "toys/symbol_library_controller.h"

#include <algorithm>

#include "localization/product_identity.h"
#include "platform/desktop/pasteboard.h"
#include "platform/runtime/app_context.h"
#include "platform/system/bundle.h"
#include "platform/ui/button.h"
#include "platform/ui/collection_view.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/visual_effect_view.h"
#include "platform/ui/window.h"
#include "mainwindow/second_page_gradient.h"
#include "toys/symbol_collection_item.h"

namespace tallowmere {
namespace {

using namespace platform;

const char* brand(const char* chinese, const char* english) {
    return ProductIdentity::usesChineseDisplayName() ? chinese : english;
}

constexpr double headerHeight = 32;
constexpr double headerGap = 12;  // between the tabs and the items beside them
constexpr double symbolFontSize = 34;

// The header row: the tabs centred, the status label right-aligned in the
// room to their left, the close button in the room to their right.
class HeaderRow : public View {
public:
    HeaderRow(std::shared_ptr<Label> status, std::shared_ptr<SegmentedControl> tabs, std::shared_ptr<Button> close)
        : View({}), status_(std::move(status)), tabs_(std::move(tabs)), close_(std::move(close)) {
        addSubview(status_);
        addSubview(tabs_);
        addSubview(close_);
        setFixedHeight(headerHeight);
    }

    void layout() override {
        const auto bounds = this->bounds();
        const auto centred = [&](double x, Size size) {
            return Rect{x, bounds.minY() + (bounds.height() - size.height) / 2, size.width, size.height};
        };
        const auto tabsSize = tabs_->fittingSize();
        const double tabsX = bounds.minX() + (bounds.width() - tabsSize.width) / 2;
        tabs_->setFrame(centred(tabsX, tabsSize));
        const double statusHeight = status_->fittingSize().height;
        status_->setFrame(centred(bounds.minX(), {std::max(0.0, tabsX - headerGap - bounds.minX()), statusHeight}));
        const auto closeSize = close_->fittingSize();
        close_->setFrame(centred(std::max(tabsX + tabsSize.width + headerGap, bounds.maxX() - closeSize.width), closeSize));
    }

private:
    std::shared_ptr<Label> status_;
    std::shared_ptr<SegmentedControl> tabs_;
    std::shared_ptr<Button> close_;
};

}  // namespace

SymbolLibraryController& SymbolLibraryController::shared() {
    return AppContext::current().shared<SymbolLibraryController>();
}

const std::vector<std::string>& SymbolLibraryController::allEmoji() {
    if (!allEmoji_) {
        const auto text = Bundle::main().resource("EmojiAll", "txt");
        allEmoji_ = text ? parseEmojiList(*text) : std::vector<std::string>{};
    }
    return *allEmoji_;
}

const GroupedEmoji& SymbolLibraryController::groupedEmoji() {
    if (!groupedEmoji_) groupedEmoji_ = groupSkinTones(allEmoji());
    return *groupedEmoji_;
}

const std::vector<SymbolLibraryController::Category>& SymbolLibraryController::categories() {
    if (!categories_) categories_ = makeSymbolCategories(groupedEmoji(), ProductIdentity::usesChineseDisplayName());
    return *categories_;
}

void SymbolLibraryController::showLibrary(MenuItem& /*sender*/) { presentLibrary(true); }

void SymbolLibraryController::showLibraryInWindow(MenuItem& /*sender*/) { presentLibrary(false); }

void SymbolLibraryController::presentLibrary(bool fullScreen) {
    if (!window_) makeWindow();
    window_->makeKeyAndOrderFront();
    if (fullScreen != window_->isFullScreen()) window_->toggleFullScreen();
}

void SymbolLibraryController::closeLibrary() {
    if (!window_) return;
    if (toneMenu_) toneMenu_->cancelTracking();
    if (window_->isFullScreen()) window_->toggleFullScreen();
    window_->orderOut();
}

void SymbolLibraryController::makeWindow() {
    window_ = Window::make(ScreenRect{0, 0, 1100, 720}, WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable |
                                                              WindowStyleMask::miniaturizable |
                                                              WindowStyleMask::resizable});
    window_->setTitle(brand("Emoji 与图标", "Emoji & Symbols"));
    window_->setMinSize({760, 520});
    window_->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::fullScreenPrimary});
    window_->setBackgroundColor(Color::system(SystemColor::windowBackground));

    std::vector<std::string> titles;
    for (const auto& category : categories()) titles.push_back(category.title);
    categoryControl_ = SegmentedControl::make(std::move(titles));
    categoryControl_->setSelectedSegment(0);
    categoryControl_->setControlSize(ControlSize::large);
    categoryControl_->onAction = [](Control& sender) {
        const auto selected = static_cast<SegmentedControl&>(sender).selectedSegment();
        if (selected) shared().rebuildGrid(static_cast<std::size_t>(*selected));
    };

    statusLabel_ = Label::make();
    statusLabel_->setFont(Font::systemFont(15));
    statusLabel_->setTextColor(Color::system(SystemColor::green));
    statusLabel_->setAlignment(TextAlignment::right);

    auto close = Button::make(brand("关闭", "Close"));
    close->setBezelStyle(BezelStyle::rounded);
    close->setControlSize(ControlSize::small);
    close->onAction = [](Control&) { shared().closeLibrary(); };

    auto header = std::make_shared<HeaderRow>(statusLabel_, categoryControl_, close);

    collectionView_ = CollectionView::make();
    collectionView_->itemSize = {66, 66};
    collectionView_->minimumInteritemSpacing = 10;
    collectionView_->minimumLineSpacing = 10;
    collectionView_->sectionInset = {4, 4, 18, 4};
    collectionView_->backgroundColor = Color::clear();
    collectionView_->numberOfItems = [] { return shared().currentSymbols().size(); };
    collectionView_->viewForItem = [](std::size_t index) { return shared().makeItem(index); };

    auto grid = ScrollView::make();
    grid->hasVerticalScroller = true;
    grid->drawsBackground = false;
    grid->setBorderType(BorderType::none);
    grid->setDocumentTracksWidth(true);
    grid->setDocumentView(collectionView_);
    grid->setContentHuggingPriority(1, LayoutAxis::vertical);

    auto stack = StackView::makeVertical({header, grid});
    stack->setAlignment(StackAlignment::leading);
    stack->setDistribution(StackDistribution::fill);
    stack->setSpacing(14);
    stack->setFillsCrossAxis(*header, true);
    stack->setFillsCrossAxis(*grid, true);
    stack->setPlacement(Placement::filling({30, 36, 30, 36}));

    auto background = VisualEffectView::make({}, VisualEffectMaterial::contentBackground);
    background->blendingMode = VisualEffectBlendingMode::behindWindow;
    background->state = VisualEffectState::active;
    background->addSubview(stack);
    window_->setContentView(background);
    window_->center();
    rebuildGrid(0);
}

const std::vector<std::string>& SymbolLibraryController::currentSymbols() {
    return categories()[currentCategory_].symbols;
}

void SymbolLibraryController::rebuildGrid(std::size_t categoryIndex) {
    if (categoryIndex >= categories().size()) return;
    currentCategory_ = categoryIndex;
    if (collectionView_) collectionView_->reloadData();
}

std::shared_ptr<View> SymbolLibraryController::makeItem(std::size_t index) {
    const auto& symbol = currentSymbols()[index];
    auto item = SymbolCollectionItem::make(symbol);
    item->setFont(Font::systemFont(symbolFontSize));
    const bool hasTones = groupedEmoji().variants.contains(symbol);
    item->setToolTip(hasTones ? brand("点击选择肤色", "Click to choose a skin tone") : "Click to copy");
    item->onAction = [index](Control&) { shared().selectSymbol(index); };
    return item;
}

void SymbolLibraryController::selectSymbol(std::size_t index) {
    const auto& symbols = currentSymbols();
    if (index >= symbols.size()) return;
    const auto& symbol = symbols[index];
    const auto& variants = groupedEmoji().variants;
    if (const auto found = variants.find(symbol); found != variants.end() && collectionView_) {
        if (const auto item = collectionView_->itemView(index)) {
            showToneChoice(found->second, *item);
            return;
        }
    }
    if (collectionView_) {
        if (auto item = std::dynamic_pointer_cast<SymbolCollectionItem>(collectionView_->itemView(index))) {
            item->playPress();
        }
    }
    copySymbol(symbol);
}

void SymbolLibraryController::showToneChoice(const std::vector<std::string>& variants, const View& item) {
    toneMenu_ = Menu::make();
    for (const auto& variant : variants) {
        toneMenu_->addItem(variant, [](MenuItem& sender) { shared().copySymbol(sender.title()); });
    }
    // Under the item, as a pop-up list would open.
    toneMenu_->popUp(nullptr, Point{0, item.isFlipped() ? item.bounds().height() : 0}, item);
}

void SymbolLibraryController::copySymbol(const std::string& symbol) {
    auto& pasteboard = Pasteboard::general();
    pasteboard.clearContents();
    pasteboard.setString(symbol, PasteboardType::string);
    if (statusLabel_) statusLabel_->setStringValue("Copied: " + symbol);
}

std::shared_ptr<View> SymbolLibraryController::makeCardView() {
    auto heading = Label::make("Emoji");
    heading->setFont(Font::systemFont(18, FontWeight::semibold));
    heading->setTextColor(Color::system(SystemColor::label));
    auto blurb = Label::makeWrapping(brand("完整浏览 Emoji、图标与符号，点击即可复制。",
                                           "Browse emoji, icons, and symbols. Click any item to copy it."));
    blurb->setFont(Font::systemFont(13));
    blurb->setTextColor(Color::system(SystemColor::secondaryLabel));
    auto sample = Label::make("☺︎   ✦   ↗︎   π   ♥");
    sample->setFont(Font::systemFont(24));
    sample->setTextColor(Color::system(SystemColor::label));

    auto inWindow = Button::make("Window Selection");
    inWindow->setBezelStyle(BezelStyle::rounded);
    inWindow->onAction = [](Control&) { shared().presentLibrary(false); };
    auto fullScreen = Button::make("Full Screen Selection");
    fullScreen->setBezelStyle(BezelStyle::rounded);
    fullScreen->onAction = [](Control&) { shared().presentLibrary(true); };
    auto buttons = StackView::makeHorizontal({inWindow, fullScreen});
    buttons->setAlignment(StackAlignment::centerY);
    buttons->setSpacing(8);

    auto column = StackView::makeVertical({heading, blurb, sample, buttons});
    column->setAlignment(StackAlignment::leading);
    column->setSpacing(8);
    column->setFillsCrossAxis(*blurb, true);
    column->setPlacement(Placement::filling({16, 18, 16, 18}));

    auto card = View::make();
    card->setIdentifier("SymbolLibraryCard");
    card->setWantsLayer(true);
    card->mutableLayer().backgroundColor = Color::system(SystemColor::controlBackground);
    card->mutableLayer().cornerRadius = 18;
    card->mutableLayer().continuousCorners = true;
    applySecondPageGradient(*card, Color::system(SystemColor::purple).withAlphaComponent(0.18),
                            Color::system(SystemColor::blue).withAlphaComponent(0.08));
    card->addSubview(column);
    return card;
}

}  // namespace tallowmere
