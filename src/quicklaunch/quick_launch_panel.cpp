#include "quicklaunch/quick_launch_panel.h"

#include <algorithm>

#include "localization/interface_language.h"
#include "platform/base/format.h"
#include "platform/base/url.h"
#include "platform/desktop/pasteboard.h"
#include "platform/desktop/workspace.h"
#include "platform/gfx/symbol_image.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/visual_effect_view.h"
#include "quicklaunch/quick_launch_store.h"
#include "quicklaunch/quick_launch_tile_button.h"

namespace tallowmere {

using platform::Color;
using platform::FontWeight;
using platform::Rect;
using platform::ScreenRect;
using platform::Size;
using platform::SystemColor;
using platform::WindowStyleMask;

namespace {

constexpr double tileGap = 8;
constexpr double cornerButtonSide = 22;

// A website tile only ever hands a web address to the browser: a target
// edited by hand into another scheme (file:, a custom handler) is not run.
bool isWebAddress(const std::string& target) {
    const auto url = platform::Url::parse(target);
    if (!url || !url->host()) return false;
    std::string scheme = url->scheme();
    std::transform(scheme.begin(), scheme.end(), scheme.begin(), [](unsigned char c) { return std::tolower(c); });
    return scheme == "http" || scheme == "https";
}

platform::Image symbolOrBlank(std::string_view name, std::string_view description, double pointSize) {
    if (auto symbol = platform::symbolImage(name, description, {pointSize, FontWeight::medium})) return *symbol;
    return platform::Image::fromBitmap(platform::Bitmap(static_cast<int>(pointSize), static_cast<int>(pointSize)));
}

}  // namespace

QuickLaunchPanel::QuickLaunchPanel(std::shared_ptr<QuickLaunchStore> store)
    : store_(std::move(store)),
      panel_(platform::Window::make<platform::Panel>(ScreenRect{}, WindowStyleMask{WindowStyleMask::nonactivatingPanel})) {
    panel_->setFloatingPanel(true);
    panel_->becomesKeyOnlyIfNeeded = true;
    panel_->setOpaque(false);
    panel_->setBackgroundColor(Color::clear());
    panel_->setHasShadow(false);
    panel_->setHidesOnDeactivate(false);
    panel_->setLevel(platform::WindowLevel::popUpMenu);
    panel_->setCollectionBehavior({platform::WindowCollectionBehavior::canJoinAllSpaces |
                                   platform::WindowCollectionBehavior::stationary |
                                   platform::WindowCollectionBehavior::fullScreenAuxiliary});
}

Size QuickLaunchPanel::panelSize(std::size_t entryCount) {
    const std::size_t cells = entryCount + 1;
    const std::size_t columns = std::min<std::size_t>(cells, tilesPerRow);
    const std::size_t rows = std::max<std::size_t>(1, (cells + tilesPerRow - 1) / tilesPerRow);
    return {static_cast<double>(columns) * cellWidth + chrome, static_cast<double>(rows) * cellHeight + chrome};
}

bool QuickLaunchPanel::show(platform::ScreenPoint below, const std::shared_ptr<platform::Screen>& screen,
                            Trigger trigger) {
    // Quick launch is on unless it is stored as a boolean false.
    const bool enabled = platform::UserDefaults::standard().storedBoolean("quickLaunchEnabled").value_or(true);
    if (!enabled || (trigger == Trigger::longPress && allowsLongPress && !allowsLongPress())) {
        panel_->orderOut();
        return false;
    }
    const Size size = panelSize(store_ ? store_->entries().size() : 0);
    panel_->setContentView(makeContentView(size));

    double x = below.x - size.width / 2;
    double y = below.y - gapBelowPoint - size.height;
    if (screen) {
        // Raised first, then lowered: a panel taller than the frame keeps
        // its top on the screen, covering the pointer if it must.
        const ScreenRect visible = screen->visibleFrame();
        x = std::min(std::max(x, visible.minX() + edgeMargin), visible.maxX() - size.width - edgeMargin);
        y = std::min(std::max(y, visible.minY() + edgeMargin), visible.maxY() - size.height - edgeMargin);
    }
    panel_->setFrame({{x, y}, size}, true);
    panel_->orderFrontRegardless();
    return true;
}

std::shared_ptr<platform::View> QuickLaunchPanel::makeContentView(Size size) {
    auto content = platform::VisualEffectView::make({{0, 0}, size}, platform::VisualEffectMaterial::popover);
    content->blendingMode = platform::VisualEffectBlendingMode::withinWindow;
    content->state = platform::VisualEffectState::active;
    content->setWantsLayer(true);
    content->mutableLayer().cornerRadius = 22;
    content->mutableLayer().continuousCorners = true;
    content->mutableLayer().masksToBounds = true;

    std::vector<std::shared_ptr<platform::View>> tiles;
    for (const QuickLaunchEntry& entry : store_ ? store_->entries() : std::vector<QuickLaunchEntry>{}) {
        auto tile = QuickLaunchTileButton::make(entry);
        tile->onAction = [this](platform::Control& sender) { openEntry(sender); };
        tiles.push_back(tile);
    }
    tiles.push_back(makeAddTile());

    // Rows of five, each centred, the block of rows centred in the panel,
    // as stacks with 8-point spacing would place them.
    const Size tileSize = QuickLaunchTileButton::size;
    const std::size_t rows = (tiles.size() + tilesPerRow - 1) / tilesPerRow;
    const double blockHeight = static_cast<double>(rows) * (tileSize.height + tileGap) - tileGap;
    const double blockTop = (size.height + blockHeight) / 2;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        const std::size_t row = i / tilesPerRow;
        const std::size_t column = i % tilesPerRow;
        const std::size_t inRow = std::min<std::size_t>(tilesPerRow, tiles.size() - row * tilesPerRow);
        const double rowWidth = static_cast<double>(inRow) * (tileSize.width + tileGap) - tileGap;
        const double x = (size.width - rowWidth) / 2 + static_cast<double>(column) * (tileSize.width + tileGap);
        const double top = blockTop - static_cast<double>(row) * (tileSize.height + tileGap);
        tiles[i]->setFrame({{x, top - tileSize.height}, tileSize});
        content->addSubview(tiles[i]);
    }

    auto gear = compactOverlayButton("gearshape", L("打开设置"), [this](platform::Control&) { openSettings(); });
    const double buttonY = size.height - 4 - cornerButtonSide;
    const double gearX = size.width - 8 - cornerButtonSide;
    gear->setFrame({{gearX, buttonY}, {cornerButtonSide, cornerButtonSide}});
    gear->setIdentifier("openSettings");
    content->addSubview(gear);
    auto plus = compactOverlayButton("plus", L("添加"), [this](platform::Control& sender) { showAddMenu(sender); });
    plus->setFrame({{gearX - 2 - cornerButtonSide, buttonY}, {cornerButtonSide, cornerButtonSide}});
    plus->setIdentifier("addOverlay");
    content->addSubview(plus);
    return content;
}

std::shared_ptr<platform::Button> QuickLaunchPanel::makeAddTile() {
    const std::string title = L("添加");
    auto tile = platform::Button::makeImageButton(symbolOrBlank("plus", title, 25));
    tile->setFrame({{0, 0}, QuickLaunchTileButton::size});
    tile->setTitle({});
    tile->setBordered(false);
    tile->setImagePosition(platform::ImagePosition::imageOnly);
    tile->setContentTintColor(Color::system(SystemColor::secondaryLabel));
    tile->setToolTip(title);
    tile->setAccessibilityLabel(title);
    tile->setIdentifier("addTile");
    tile->setWantsLayer(true);
    tile->mutableLayer().cornerRadius = 14;
    tile->mutableLayer().continuousCorners = true;
    tile->mutableLayer().backgroundColor = Color::system(SystemColor::label).withAlphaComponent(0.055);
    tile->onAction = [this](platform::Control& sender) { showAddMenu(sender); };
    return tile;
}

std::shared_ptr<platform::Button> QuickLaunchPanel::compactOverlayButton(
    std::string_view symbol, std::string label, std::function<void(platform::Control&)> action) {
    auto button = platform::Button::makeImageButton(symbolOrBlank(symbol, label, 12));
    button->setBordered(false);
    button->setImagePosition(platform::ImagePosition::imageOnly);
    button->setContentTintColor(Color::system(SystemColor::secondaryLabel));
    button->setToolTip(std::move(label));
    button->onAction = std::move(action);
    return button;
}

void QuickLaunchPanel::showAddMenu(const platform::View& sender) {
    addMenu_ = platform::Menu::make(L("添加"));
    struct Choice {
        const char* title;
        const char* symbol;
        void (QuickLaunchPanel::*action)();
    };
    static constexpr Choice choices[] = {
        {"应用", "app", &QuickLaunchPanel::addApplication},
        {"网页", "globe", &QuickLaunchPanel::addWebsite},
        {"信息", "note.text", &QuickLaunchPanel::addInformation},
    };
    for (const Choice& choice : choices) {
        const std::string title = L(choice.title);
        auto item = addMenu_->addItem(title, [this, action = choice.action](platform::MenuItem&) { (this->*action)(); });
        item->setImage(platform::symbolImage(choice.symbol, title));
    }
    addMenu_->popUp(nullptr, platform::Point{0, sender.bounds().minY()}, sender);
}

void QuickLaunchPanel::addApplication() {
    panel_->orderOut();
    if (onAddApplication) onAddApplication();
}

void QuickLaunchPanel::addWebsite() {
    panel_->orderOut();
    if (onAddWebsite) onAddWebsite();
}

void QuickLaunchPanel::addInformation() {
    panel_->orderOut();
    if (onAddInformation) onAddInformation();
}

void QuickLaunchPanel::openSettings() {
    panel_->orderOut();
    if (onOpenSettings) onOpenSettings();
}

void QuickLaunchPanel::openEntry(const platform::View& sender) {
    if (!store_) return;
    const auto id = platform::Uuid::fromString(sender.identifier());
    if (!id) return;
    const auto& entries = store_->entries();
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const QuickLaunchEntry& e) { return e.id == *id; });
    if (entry == entries.end()) return;
    // Copied: running it may change the store.
    const QuickLaunchEntry chosen = *entry;
    panel_->orderOut();
    runEntry(chosen);
}

void QuickLaunchPanel::runEntry(const QuickLaunchEntry& entry) {
    auto& workspace = platform::Workspace::shared();
    switch (entry.kind) {
        case QuickLaunchKind::application: {
            std::optional<std::string> location;
            if (entry.bundleIdentifier) location = workspace.urlForApplication(*entry.bundleIdentifier);
            workspace.openApplication(location.value_or(entry.target), platform::OpenConfiguration{});
            return;
        }
        case QuickLaunchKind::website:
            if (isWebAddress(entry.target)) workspace.openURL(entry.target);
            return;
        case QuickLaunchKind::information: {
            auto& pasteboard = platform::Pasteboard::general();
            pasteboard.clearContents();
            pasteboard.setString(entry.target);
            return;
        }
        case QuickLaunchKind::file: workspace.openURL(platform::Url::fileUrl(entry.target).string()); return;
        case QuickLaunchKind::newFile: {
            const auto created = QuickLaunchStore::createBlankDesktopFile(entry.name, "txt");
            if (!onAction) return;
            if (created.ok()) {
                onAction(platform::formatTemplate(L("已在桌面创建文件：%@"), created.value().filename().string()));
            } else {
                onAction(created.error().message);
            }
            return;
        }
    }
}

}  // namespace tallowmere
