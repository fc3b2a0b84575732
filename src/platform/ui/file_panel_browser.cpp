#include "platform/ui/file_panel_browser.h"

#include <algorithm>
#include <set>

#include "platform/desktop/desktop.h"
#include "platform/desktop/simulated_application.h"
#include "platform/system/files.h"
#include "platform/system/hidden_flag.h"
#include "platform/system/paths.h"
#include "platform/gfx/color.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/label.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/table_view.h"
#include "platform/ui/text_field.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace fs = std::filesystem;

namespace {

constexpr double panelWidth = 640;
constexpr double margin = 16;
constexpr double lineHeight = 16;
constexpr double listHeight = 240;

// The simulated Mac's installed applications directly in `folder`: their
// bundles live in folders such as /Applications that this machine may not
// have, yet a person browsing there expects to find them.
std::vector<fs::path> installedApplicationsIn(const fs::path& folder) {
    std::vector<fs::path> bundles;
    for (const auto& application : DesktopLink::desktop().applications()) {
        const fs::path bundle = fs::path(application->bundlePath()).lexically_normal();
        if (bundle.parent_path() == folder && !Files::fileExists(bundle)) bundles.push_back(bundle);
    }
    std::sort(bundles.begin(), bundles.end());
    bundles.erase(std::unique(bundles.begin(), bundles.end()), bundles.end());
    return bundles;
}

bool isFolder(const fs::path& path) {
    bool directory = false;
    if (Files::fileExists(path, &directory)) return directory;
    return !installedApplicationsIn(fs::path(path).lexically_normal()).empty();
}

}  // namespace

FilePanelBrowser::FilePanelBrowser(std::shared_ptr<Window> window, Options options)
    : window_(std::move(window)), options_(std::move(options)) {}

FilePanelBrowser::~FilePanelBrowser() = default;

void FilePanelBrowser::show(std::optional<fs::path> folder) {
    build();
    open(folder && isFolder(*folder) ? *folder : Paths::home());
    // Typing goes to the name when saving, else to the path.
    window_->makeFirstResponder(nameField_ ? nameField_ : pathField_);
}

void FilePanelBrowser::build() {
    auto content = window_->contentView();
    const auto messageLines = options_.message.empty()
                                  ? 0
                                  : 1 + std::count(options_.message.begin(), options_.message.end(), '\n');
    const double messageHeight = static_cast<double>(messageLines) * lineHeight;
    const double nameHeight = options_.forSaving ? 32 : 0;
    const double height = margin + messageHeight + 8 + 28 + 8 + listHeight + 8 + nameHeight + 28 + margin;
    window_->setContentSize({panelWidth, height});
    double top = height - margin;

    if (messageLines > 0) {
        auto message = Label::makeWrapping(options_.message);
        message->setFrame({margin, top - messageHeight, panelWidth - 2 * margin, messageHeight});
        content->addSubview(message);
        labels_.push_back(message);
        top -= messageHeight + 8;
    }

    auto up = Button::make("\u2191");
    up->setFrame({margin, top - 26, 36, 26});
    up->onAction = [this](Control&) { openEnclosingFolder(); };
    pathField_ = TextField::make();
    pathField_->setFrame({margin + 44, top - 26, panelWidth - 2 * margin - 44, 24});
    pathField_->onAction = [this](Control& field) { goTo(static_cast<TextField&>(field).stringValue()); };
    content->addSubview(up);
    content->addSubview(pathField_);
    buttons_.push_back(up);
    top -= 28 + 8;

    table_ = TableView::make();
    TableColumn column("name", panelWidth - 2 * margin - 20);
    table_->addColumn(column);
    table_->setHeaderHidden(true);
    table_->allowsMultipleSelection = options_.allowsMultipleSelection;
    table_->numberOfRows = [this] { return items_.size(); };
    table_->viewForRow = [this](const TableColumn&, std::size_t row) -> std::shared_ptr<View> {
        const auto& item = items_[row];
        auto label = Label::make(item.filename().string() + (isFolder(item) ? "/" : ""));
        if (!isSelectable(item) && !isFolder(item)) label->setTextColor(Color::system(SystemColor::secondaryLabel));
        return label;
    };
    table_->shouldSelectRow = [this](std::size_t row) { return row < items_.size() && (isSelectable(items_[row]) || isFolder(items_[row])); };
    table_->onDoubleClick = [this](TableView&, std::size_t row) {
        if (row >= items_.size()) return;
        if (isFolder(items_[row]))
            open(items_[row]);
        else
            choose({items_[row]});
    };
    scroll_ = ScrollView::make({margin, top - listHeight, panelWidth - 2 * margin, listHeight});
    scroll_->setDocumentView(table_);
    content->addSubview(scroll_);
    top -= listHeight + 8;

    if (options_.forSaving) {
        auto label = Label::make("Save As:");
        label->setFrame({margin, top - 22, 70, 18});
        nameField_ = TextField::make(options_.initialName);
        nameField_->setFrame({margin + 76, top - 24, panelWidth - 2 * margin - 76, 24});
        content->addSubview(label);
        content->addSubview(nameField_);
        labels_.push_back(label);
    }

    const std::string prompt = !options_.prompt.empty() ? options_.prompt : options_.forSaving ? "Save" : "Open";
    auto confirmButton = Button::make(prompt);
    confirmButton->setKeyEquivalent("\r");
    const double confirmWidth = std::max(90.0, confirmButton->intrinsicContentSize().width + 24);
    confirmButton->setFrame({panelWidth - margin - confirmWidth, margin, confirmWidth, 28});
    confirmButton->onAction = [this](Control&) { confirm(); };
    auto cancelButton = Button::make("Cancel");
    cancelButton->setKeyEquivalent("\x1b");
    cancelButton->setFrame({panelWidth - margin - confirmWidth - 12 - 90, margin, 90, 28});
    cancelButton->onAction = [this](Control&) { cancel(); };
    content->addSubview(cancelButton);
    content->addSubview(confirmButton);
    buttons_.push_back(cancelButton);
    buttons_.push_back(confirmButton);
}

void FilePanelBrowser::open(const fs::path& folder) {
    if (!isFolder(folder)) return;
    folder_ = fs::path(folder).lexically_normal();
    if (!folder_.has_filename() && folder_ != folder_.root_path()) folder_ = folder_.parent_path();
    reload();
}

void FilePanelBrowser::reload() {
    items_ = Files::shownItemsOfFolder(folder_);
    // Folders first, then files by name, with the installed applications among the files.
    const auto firstFile = std::find_if(items_.begin(), items_.end(), [](const fs::path& item) { return !isFolder(item); });
    const auto filesStart = firstFile - items_.begin();
    for (auto& bundle : installedApplicationsIn(folder_)) items_.push_back(std::move(bundle));
    std::sort(items_.begin() + filesStart, items_.end());
    if (pathField_) pathField_->setStringValue(folder_.string());
    if (table_) {
        table_->deselectAll();
        table_->reloadData();
    }
}

void FilePanelBrowser::openEnclosingFolder() {
    if (folder_ != folder_.root_path()) open(folder_.parent_path());
}

fs::path FilePanelBrowser::resolved(const std::string& typed) const {
    if (typed == "~") return Paths::home();
    if (typed.starts_with("~/")) return Paths::home() / typed.substr(2);
    if (typed.starts_with('/')) return fs::path(typed).lexically_normal();
    return (folder_ / typed).lexically_normal();
}

void FilePanelBrowser::goTo(const std::string& typed) {
    if (typed.empty()) return;
    auto target = resolved(typed);
    if (!target.has_filename() && target != target.root_path()) target = target.parent_path();
    if (isFolder(target)) return open(target);
    if (options_.forSaving) {
        if (!isFolder(target.parent_path())) return;
        open(target.parent_path());
        setName(target.filename().string());
        confirm();
        return;
    }
    const auto installed = installedApplicationsIn(target.parent_path());
    if (Files::fileExists(target) || std::find(installed.begin(), installed.end(), target) != installed.end()) {
        choose({target});
    }
}

void FilePanelBrowser::select(const std::vector<std::string>& names) {
    std::set<std::size_t> rows;
    for (std::size_t row = 0; row < items_.size(); ++row) {
        if (std::find(names.begin(), names.end(), items_[row].filename().string()) != names.end() &&
            (isSelectable(items_[row]) || isFolder(items_[row])))
            rows.insert(row);
    }
    if (!options_.allowsMultipleSelection && rows.size() > 1) rows = {*rows.begin()};
    table_->selectRowIndexes(rows);
}

void FilePanelBrowser::setName(const std::string& name) {
    if (nameField_) nameField_->setStringValue(name);
}

bool FilePanelBrowser::isSelectable(const fs::path& item) const {
    return !options_.accepts || options_.accepts({item});
}

bool FilePanelBrowser::confirm() {
    if (options_.forSaving) {
        const std::string name = nameField_ ? nameField_->stringValue() : std::string();
        if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") return false;
        return choose({folder_ / name});
    }
    std::vector<fs::path> selected;
    for (auto row : table_->selectedRowIndexes()) {
        if (row < items_.size()) selected.push_back(items_[row]);
    }
    // Nothing selected chooses the folder shown, where folders may be chosen.
    if (selected.empty()) selected.push_back(folder_);
    return choose(std::move(selected));
}

bool FilePanelBrowser::choose(std::vector<fs::path> items) {
    if (!options_.forSaving && options_.accepts && !options_.accepts(items)) {
        // A folder that cannot be chosen is opened instead, as a double click would.
        if (items.size() == 1 && isFolder(items.front())) open(items.front());
        return false;
    }
    choice_ = std::move(items);
    Application::shared().stopModal(ModalResponses::ok);
    return true;
}

void FilePanelBrowser::cancel() {
    choice_.reset();
    Application::shared().stopModal(ModalResponses::cancel);
}

}  // namespace tallowmere::platform
