// The editor window of HostsEditorController: building it, the sidebar, the
// editor's loads and saves, and adding and renaming rows.
#include <algorithm>

#include "hosts/hosts_editor_controller.h"
#include "hosts/hosts_editor_layout.h"
#include "platform/base/text.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/system/files.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "platform/ui/outline_view.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"

namespace tallowmere {

using platform::Color;
using platform::Font;
using platform::FontWeight;
using platform::SystemColor;

namespace {

constexpr std::string_view systemKey = "system";
constexpr std::string_view categoryPrefix = "category-";
constexpr std::string_view profilePrefix = "profile-";

Color secondary() { return Color::system(SystemColor::secondaryLabel); }

std::shared_ptr<HostsSidebarNode> nodeOf(const platform::OutlineView::Item& item) {
    return std::static_pointer_cast<HostsSidebarNode>(item);
}

std::shared_ptr<platform::Label> makeLabel(std::string text, Font font, std::optional<Color> color = std::nullopt) {
    auto label = platform::Label::make(std::move(text));
    label->setFont(font);
    if (color) label->setTextColor(*color);
    return label;
}

std::shared_ptr<platform::Button> makeSidebarButton(std::string title) {
    auto button = platform::Button::make(std::move(title));
    button->setBezelStyle(platform::BezelStyle::rounded);
    button->setControlSize(platform::ControlSize::small);
    button->setFont(Font::systemFont(11, FontWeight::medium));
    return button;
}

// The uuid after `prefix` in a sidebar key.
std::optional<platform::Uuid> idAfter(std::string_view key, std::string_view prefix) {
    if (!key.starts_with(prefix)) return std::nullopt;
    return platform::Uuid::fromString(std::string(key.substr(prefix.size())));
}

}  // namespace

// --- Window ---------------------------------------------------------------------------

void HostsEditorController::show() {
    loadLibraryIfNeeded();
    const bool firstShow = !windowController;
    if (firstShow) buildWindow();
    rebuildSidebar(selectedNode ? selectedNode->key : std::string(systemKey));
    if (firstShow && libraryNotice_) setStatus(libraryNotice_->first, libraryNotice_->second);
    libraryNotice_.reset();
    auto window = windowController->window();
    window->center();
    window->makeKeyAndOrderFront();
    platform::Application::shared().activate(true);
}

void HostsEditorController::buildWindow() {
    using Mask = platform::WindowStyleMask;
    auto window = platform::Window::make(platform::ScreenRect{0, 0, 1040, 700},
                                         Mask{Mask::titled | Mask::closable | Mask::miniaturizable | Mask::resizable |
                                              Mask::fullSizeContentView});
    window->setTitle("Hosts 编辑");
    window->titlebarAppearsTransparent = true;
    window->showsTitlebarSeparator = false;
    window->setMinSize({820, 540});
    window->isReleasedWhenClosed = false;

    auto content = platform::View::make();
    content->setWantsLayer(true);
    content->mutableLayer().backgroundColor = Color::system(SystemColor::windowBackground);
    auto sidebar = makeSidebar();
    sidebar->setFixedWidth(250);
    sidebar->setPlacement(platform::Placement{0.0, std::nullopt, 0.0, 0.0, std::nullopt, std::nullopt});
    auto pane = makeEditorPane();
    pane->setPlacement(platform::Placement{250.0, 0.0, 0.0, 0.0, std::nullopt, std::nullopt});
    content->addSubview(sidebar);
    content->addSubview(pane);
    window->setContentView(content);
    windowController = platform::WindowController::make(window);
}

std::shared_ptr<platform::View> HostsEditorController::makeSidebar() {
    const std::weak_ptr<HostsEditorController> weak = weak_from_this();
    auto action = [weak](void (HostsEditorController::*method)()) {
        return [weak, method](platform::Control&) {
            if (auto self = weak.lock()) ((*self).*method)();
        };
    };

    auto sidebar = HostsSidebarView::make();
    sidebar->blendingMode = platform::VisualEffectBlendingMode::behindWindow;
    sidebar->state = platform::VisualEffectState::active;

    sidebar->header = makeLabel("HOSTS 方案", Font::systemFont(11, FontWeight::semibold), secondary());

    configureOutline();
    auto scroll = platform::ScrollView::make();
    scroll->setBorderType(platform::BorderType::none);
    scroll->drawsBackground = false;
    scroll->hasVerticalScroller = true;
    scroll->autohidesScrollers = true;
    scroll->setDocumentView(outlineView);
    scroll->setDocumentTracksWidth(true);
    sidebar->outlineScroll = scroll;

    auto addCategoryButton = makeSidebarButton("+ 分类");
    addCategoryButton->onAction = action(&HostsEditorController::addCategory);
    auto addProfileButton = makeSidebarButton("+ Hosts");
    addProfileButton->onAction = action(&HostsEditorController::addHostsProfile);
    auto buttons = platform::StackView::makeHorizontal({addCategoryButton, addProfileButton});
    buttons->setDistribution(platform::StackDistribution::fillEqually);
    buttons->setSpacing(6);
    sidebar->buttonRow = buttons;

    auto restore = platform::Button::make("还原备份");
    restore->setImage(platform::symbolImage("clock.arrow.circlepath", "还原备份"));
    restore->setImagePosition(platform::ImagePosition::imageLeading);
    restore->setAlignment(platform::TextAlignment::left);
    restore->setBordered(false);
    restore->setFont(Font::systemFont(12, FontWeight::medium));
    restore->onAction = action(&HostsEditorController::showRestoreBackups);
    sidebar->restoreButton = restore;

    auto note = platform::Label::makeWrapping("应用和还原前均会强制备份当前系统 Hosts。");
    note->setFont(Font::systemFont(10.5));
    note->setTextColor(Color::system(SystemColor::tertiaryLabel));
    sidebar->note = note;

    sidebar->install();
    return sidebar;
}

std::shared_ptr<platform::View> HostsEditorController::makeEditorPane() {
    const std::weak_ptr<HostsEditorController> weak = weak_from_this();
    auto action = [weak](void (HostsEditorController::*method)()) {
        return [weak, method](platform::Control&) {
            if (auto self = weak.lock()) ((*self).*method)();
        };
    };

    titleLabel->setFont(Font::systemFont(22, FontWeight::semibold));
    subtitleLabel->setFont(Font::monospacedSystemFont(11));
    subtitleLabel->setTextColor(secondary());
    auto titles = platform::StackView::makeVertical({titleLabel, subtitleLabel});
    titles->setAlignment(platform::StackAlignment::leading);
    titles->setSpacing(3);

    auto reload = platform::Button::make("重新载入");
    reload->setImage(platform::symbolImage("arrow.clockwise", "重新载入"));
    reload->setImagePosition(platform::ImagePosition::imageLeading);
    reload->setBezelStyle(platform::BezelStyle::rounded);
    reload->onAction = action(&HostsEditorController::reloadCurrent);
    for (const auto& button : {saveButton, applyButton}) {
        button->setBezelStyle(platform::BezelStyle::rounded);
        button->setBezelColor(Color::system(SystemColor::controlAccent));
    }
    saveButton->onAction = action(&HostsEditorController::saveCurrent);
    applyButton->onAction = action(&HostsEditorController::applyCurrentProfile);
    auto buttons = platform::StackView::makeHorizontal({reload, saveButton, applyButton});
    buttons->setSpacing(8);
    auto header = platform::StackView::makeHorizontal({titles, platform::View::make(), buttons});
    header->setAlignment(platform::StackAlignment::centerY);
    header->setSpacing(12);

    textView->isRichText = false;
    textView->isAutomaticQuoteSubstitutionEnabled = false;
    textView->isAutomaticDashSubstitutionEnabled = false;
    textView->isAutomaticSpellingCorrectionEnabled = false;
    textView->isContinuousSpellCheckingEnabled = false;
    textView->setFont(Font::monospacedSystemFont(14));
    textView->setTextContainerInset({16, 14});
    textView->setBackgroundColor(Color::system(SystemColor::textBackground));
    textView->onTextDidChange = [weak](platform::TextView&) {
        if (auto self = weak.lock()) self->textDidChange();
    };
    auto scroll = platform::ScrollView::make();
    scroll->hasVerticalScroller = true;
    scroll->autohidesScrollers = true;
    scroll->setBorderType(platform::BorderType::none);
    scroll->setDocumentView(textView);
    scroll->setDocumentTracksWidth(true);
    scroll->setWantsLayer(true);
    auto& layer = scroll->mutableLayer();
    layer.cornerRadius = 12;
    layer.borderWidth = 1;
    layer.borderColor = Color::system(SystemColor::separator).withAlphaComponent(0.55);
    layer.masksToBounds = true;

    statusLabel->setFont(Font::systemFont(12, FontWeight::medium));
    auto footer = platform::StackView::makeHorizontal(
        {statusLabel, platform::View::make(),
         makeLabel("系统写入时才请求管理员授权。", Font::systemFont(11), Color::system(SystemColor::tertiaryLabel))});
    footer->setAlignment(platform::StackAlignment::centerY);

    auto pane = HostsEditorPane::make();
    pane->header = header;
    pane->editorScroll = scroll;
    pane->footer = footer;
    pane->install();
    return pane;
}

void HostsEditorController::configureOutline() {
    const std::weak_ptr<HostsEditorController> weak = weak_from_this();
    platform::TableColumn column("HostsSidebarColumn");
    outlineView->addColumn(column);
    outlineView->outlineColumnIdentifier = "HostsSidebarColumn";
    outlineView->setHeaderHidden(true);
    outlineView->setRowHeight(32);
    outlineView->indentationPerLevel = 14;
    outlineView->selectionHighlightStyle = platform::SelectionHighlightStyle::sourceList;
    outlineView->backgroundColor = Color::clear();
    outlineView->childrenOf = [weak](const platform::OutlineView::Item& parent) {
        std::vector<platform::OutlineView::Item> items;
        auto self = weak.lock();
        if (!self) return items;
        const auto& nodes = parent ? nodeOf(parent)->children : self->rootNodes;
        items.assign(nodes.begin(), nodes.end());
        return items;
    };
    outlineView->isItemExpandable = [](const platform::OutlineView::Item& item) {
        return !nodeOf(item)->children.empty();
    };
    outlineView->shouldSelectItem = [weak](const platform::OutlineView::Item&) {
        auto self = weak.lock();
        return self && !self->isSaving;
    };
    outlineView->onSelectionDidChange = [weak](platform::TableView&) {
        auto self = weak.lock();
        if (!self || self->rebuildingSidebar_) return;
        if (auto item = self->outlineView->selectedItem()) self->select(nodeOf(item));
    };
    outlineView->viewForItem = [weak](const platform::TableColumn&, const platform::OutlineView::Item& item) {
        auto self = weak.lock();
        return self ? self->makeCell(*nodeOf(item)) : platform::View::make();
    };
    outlineView->onDoubleClick = [weak](platform::TableView&, std::size_t) {
        if (auto self = weak.lock()) self->renameSelectedSidebarItem();
    };
}

std::shared_ptr<platform::View> HostsEditorController::makeCell(const HostsSidebarNode& node) {
    struct Look {
        const char* symbol;
        Color tint;
        Font font;
    };
    const bool isActive = [&] {
        const auto* profile = std::get_if<HostsSidebarNode::Profile>(&node.kind);
        return profile && library.activeProfileID == profile->profileID;
    }();
    const Look look = std::holds_alternative<HostsSidebarNode::Category>(node.kind)
                          ? Look{"folder", secondary(), Font::systemFont(12, FontWeight::semibold)}
                      : std::holds_alternative<HostsSidebarNode::System>(node.kind)
                          ? Look{"network", Color::system(SystemColor::controlAccent),
                                 Font::systemFont(12.5, FontWeight::semibold)}
                      : isActive ? Look{"checkmark.circle.fill", Color::system(SystemColor::green),
                                        Font::systemFont(12.5, FontWeight::semibold)}
                                 : Look{"doc.plaintext", secondary(), Font::systemFont(12.5)};

    auto cell = platform::View::make();
    auto image = platform::ImageView::make(platform::symbolImage(look.symbol, node.title));
    image->setContentTintColor(look.tint);
    image->setFixedSize({15, 15});
    image->setPlacement(platform::Placement{4.0, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0.0});
    cell->addSubview(image);

    auto label = makeLabel(node.title, look.font);
    label->setIdentifier(node.key);
    label->setBordered(false);
    label->setDrawsBackground(false);
    label->showsFocusRing = false;
    label->setLineBreakMode(platform::LineBreakMode::byTruncatingTail);
    // Editable only while renaming: at rest a click selects the row.
    label->setEditable(false);
    label->setSelectable(false);
    const std::weak_ptr<HostsEditorController> weak = weak_from_this();
    label->onTextDidEndEditing = [weak](platform::TextField& field) {
        if (!field.isEditable()) return;
        field.setEditable(false);
        if (auto self = weak.lock()) self->controlTextDidEndEditing(field);
    };
    label->setPlacement(platform::Placement{26.0, 5.0, std::nullopt, std::nullopt, std::nullopt, 0.0});
    cell->addSubview(label);
    return cell;
}

// --- Sidebar --------------------------------------------------------------------------

void HostsEditorController::rebuildSidebar(const std::string& key) {
    std::vector<std::shared_ptr<HostsSidebarNode>> nodes{HostsSidebarNode::makeSystem()};
    for (const auto& category : library.categories) {
        std::vector<std::shared_ptr<HostsSidebarNode>> profiles;
        for (const auto& profile : category.profiles) {
            profiles.push_back(HostsSidebarNode::makeProfile(category.id, profile.id, profile.name));
        }
        nodes.push_back(HostsSidebarNode::makeCategory(category.id, category.name, std::move(profiles)));
    }
    rootNodes = std::move(nodes);

    rebuildingSidebar_ = true;
    outlineView->reloadData();
    for (const auto& node : rootNodes) {
        if (!node->children.empty()) outlineView->expandItem(node);
    }
    const std::size_t row = rowForNode(key).value_or(0);
    outlineView->selectRow(row);
    rebuildingSidebar_ = false;
    outlineView->scrollRowToVisible(row);
    select(nodeOf(outlineView->itemAtRow(row)));
}

std::optional<std::size_t> HostsEditorController::rowForNode(const std::string& key) const {
    for (std::size_t row = 0; row < outlineView->rowCount(); ++row) {
        if (nodeOf(outlineView->itemAtRow(row))->key == key) return row;
    }
    return std::nullopt;
}

void HostsEditorController::select(const std::shared_ptr<HostsSidebarNode>& node) {
    if (!node) return;
    platform::Result<void> stored;
    if (selectedNode && selectedNode->key != node->key && textView->string() != loadedContent) {
        if (const auto* profile = std::get_if<HostsSidebarNode::Profile>(&selectedNode->kind)) {
            stored = storeProfile(profile->categoryID, profile->profileID, textView->string());
        }
    }
    selectedNode = node;
    loadNode(*node);
    reportLibraryWriteFailure(stored);
}

void HostsEditorController::showEditor(std::string text, bool editable) {
    loadedContent = std::move(text);
    textView->setString(loadedContent);
    textView->setEditable(editable);
}

void HostsEditorController::loadSystemHosts() {
    auto text = platform::Files::readText(systemHostsFile());
    if (!text || !platform::Text::isValidUtf8(*text)) {
        // The editor may still hold a profile's text; the save button here
        // writes the system file, so nothing of it may stay editable.
        showEditor({}, false);
        titleLabel->setStringValue("当前系统 Hosts");
        subtitleLabel->setStringValue("/private/etc/hosts");
        setStatus("无法读取系统 Hosts", Color::system(SystemColor::red));
        saveButton->setTitle("保存并应用");
        saveButton->setEnabled(false);
        applyButton->setHidden(true);
        return;
    }
    showEditor(std::move(*text), true);
    titleLabel->setStringValue("当前系统 Hosts");
    subtitleLabel->setStringValue("/private/etc/hosts");
    setStatus("已载入当前系统配置", secondary());
    saveButton->setTitle("保存并应用");
    saveButton->setEnabled(false);
    applyButton->setHidden(true);
}

void HostsEditorController::loadProfile(const platform::Uuid& categoryID, const platform::Uuid& profileID) {
    auto* category = library.category(categoryID);
    auto* profile = category ? library.profile(categoryID, profileID) : nullptr;
    if (!profile) return;
    showEditor(profile->content, true);
    titleLabel->setStringValue(profile->name);
    subtitleLabel->setStringValue(category->name);
    if (library.activeProfileID == profile->id) {
        setStatus("当前系统正在使用此方案", Color::system(SystemColor::green));
    } else {
        setStatus("本地方案，尚未应用到系统", secondary());
    }
    saveButton->setTitle("保存方案");
    saveButton->setEnabled(false);
    applyButton->setHidden(false);
    applyButton->setEnabled(true);
}

void HostsEditorController::loadCategory(const platform::Uuid& categoryID) {
    const auto* category = library.category(categoryID);
    if (!category) return;
    showEditor({}, false);
    titleLabel->setStringValue(category->name);
    subtitleLabel->setStringValue(std::to_string(category->profiles.size()) + " 个 Hosts 方案");
    setStatus("点击 + Hosts 可直接在此分类中新建", secondary());
    saveButton->setEnabled(false);
    applyButton->setHidden(true);
}

void HostsEditorController::textDidChange() {
    if (isSaving) return;
    const bool dirty = textView->string() != loadedContent;
    saveButton->setEnabled(dirty);
    if (dirty) setStatus("有未保存的更改", Color::system(SystemColor::orange));
}

void HostsEditorController::saveCurrent() {
    if (!selectedNode) return;
    const std::string text = textView->string();
    if (std::holds_alternative<HostsSidebarNode::System>(selectedNode->kind)) {
        applyToSystem(text, std::nullopt, "已保存并应用");
        return;
    }
    const auto* profile = std::get_if<HostsSidebarNode::Profile>(&selectedNode->kind);
    if (!profile) return;
    if (auto message = validate(text)) {
        presentAlert("Hosts 格式有误", *message);
        return;
    }
    if (auto stored = storeProfile(profile->categoryID, profile->profileID, text); !stored) {
        // Kept in memory but not on disk: the person must not be told it is saved.
        setStatus("方案未能保存", Color::system(SystemColor::red));
        presentAlert("无法保存 Hosts", stored.error().message);
        return;
    }
    loadedContent = text;
    saveButton->setEnabled(false);
    setStatus("方案已保存", Color::system(SystemColor::green));
}

void HostsEditorController::reloadCurrent() {
    if (const auto node = selectedNode) loadNode(*node);
}

void HostsEditorController::loadNode(const HostsSidebarNode& node) {
    std::visit(
        [this](const auto& kind) {
            using Kind = std::decay_t<decltype(kind)>;
            if constexpr (std::is_same_v<Kind, HostsSidebarNode::System>) loadSystemHosts();
            else if constexpr (std::is_same_v<Kind, HostsSidebarNode::Category>) loadCategory(kind.categoryID);
            else loadProfile(kind.categoryID, kind.profileID);
        },
        node.kind);
}

void HostsEditorController::reportLibraryWriteFailure(const platform::Result<void>& written) {
    if (!written) setStatus("Hosts 方案库保存失败：" + written.error().message, Color::system(SystemColor::red));
}

// --- Adding and renaming ----------------------------------------------------------------

std::string HostsEditorController::uniqueName(const std::string& base, const std::vector<std::string>& existing) {
    auto taken = [&](const std::string& name) { return std::find(existing.begin(), existing.end(), name) != existing.end(); };
    if (!taken(base)) return base;
    for (std::size_t number = 2;; ++number) {
        std::string candidate = base + " " + std::to_string(number);
        if (!taken(candidate)) return candidate;
    }
}

void HostsEditorController::addCategory() {
    std::vector<std::string> names;
    for (const auto& category : library.categories) names.push_back(category.name);
    const auto id = platform::Uuid::random();
    library.categories.push_back({id, uniqueName("新分类", names), {}});
    const auto written = persistLibrary();
    const std::string key = std::string(categoryPrefix) + id.uuidString();
    rebuildSidebar(key);
    reportLibraryWriteFailure(written);
    beginRenaming(key);
}

void HostsEditorController::addHostsProfile() {
    if (library.categories.empty()) library.categories.push_back({platform::Uuid::random(), "我的 Hosts", {}});
    platform::Uuid target = library.categories.front().id;
    if (selectedNode) {
        if (const auto* category = std::get_if<HostsSidebarNode::Category>(&selectedNode->kind)) {
            target = category->categoryID;
        } else if (const auto* profile = std::get_if<HostsSidebarNode::Profile>(&selectedNode->kind)) {
            target = profile->categoryID;
        }
    }
    auto* category = library.category(target);
    if (!category) return;
    std::vector<std::string> names;
    for (const auto& profile : category->profiles) names.push_back(profile.name);
    const std::string name = uniqueName("新 Hosts", names);
    const auto id = platform::Uuid::random();
    category->profiles.push_back({id, name, "# " + name + "\n127.0.0.1 localhost\n::1 localhost\n",
                                  platform::AppContext::current().clock().now()});
    const auto written = persistLibrary();
    const std::string key = std::string(profilePrefix) + id.uuidString();
    rebuildSidebar(key);
    reportLibraryWriteFailure(written);
    beginRenaming(key);
}

void HostsEditorController::beginRenaming(const std::string& key) {
    const std::weak_ptr<HostsEditorController> weak = weak_from_this();
    platform::AppContext::current().mainQueue().async([weak, key] {
        auto self = weak.lock();
        if (!self) return;
        if (auto row = self->rowForNode(key)) self->editRow(*row);
    });
}

void HostsEditorController::renameSelectedSidebarItem() {
    const auto row = outlineView->clickedRow() ? outlineView->clickedRow() : outlineView->selectedRow();
    if (!row) return;
    if (std::holds_alternative<HostsSidebarNode::System>(nodeOf(outlineView->itemAtRow(*row))->kind)) return;
    editRow(*row);
}

void HostsEditorController::editRow(std::size_t row) {
    auto item = outlineView->itemAtRow(row);
    if (!item || std::holds_alternative<HostsSidebarNode::System>(nodeOf(item)->kind)) return;
    auto cell = outlineView->viewAt(0, row);
    auto field = cell ? std::dynamic_pointer_cast<platform::TextField>(cell->findView(nodeOf(item)->key)) : nullptr;
    auto window = windowController ? windowController->window() : nullptr;
    if (!field || !window) return;
    field->setEditable(true);
    if (!window->makeFirstResponder(field)) field->setEditable(false);
}

void HostsEditorController::controlTextDidEndEditing(platform::TextField& field) {
    const std::string key = field.identifier();
    if (key.empty()) return;
    const std::string name = platform::Text::trimmingWhitespaceAndNewlines(field.stringValue());
    if (name.empty()) {
        rebuildSidebar(selectedNode ? selectedNode->key : std::string(systemKey));
        return;
    }
    if (auto id = idAfter(key, categoryPrefix)) {
        if (auto* category = library.category(*id)) category->name = name;
    } else if (auto profileID = idAfter(key, profilePrefix)) {
        for (auto& category : library.categories) {
            auto found = std::find_if(category.profiles.begin(), category.profiles.end(),
                                      [&](const HostsProfile& profile) { return profile.id == *profileID; });
            if (found == category.profiles.end()) continue;
            found->name = name;
            found->updatedAt = platform::AppContext::current().clock().now();
            break;
        }
    }
    const auto written = persistLibrary();
    rebuildSidebar(key);
    reportLibraryWriteFailure(written);
}

}  // namespace tallowmere
