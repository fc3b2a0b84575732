#include "selection/selvane_exclusions_view.h"

#include "platform/gfx/font.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/window.h"
#include "quicklaunch/application_bundle.h"

namespace tallowmere {

using platform::Font;
using platform::Placement;

namespace {

constexpr const char* removeColumn = "remove";
constexpr double headerHeight = 24;

// The name a person knows a chosen bundle by: its folder name without ".app".
std::string bundleDisplayName(const std::filesystem::path& path) {
    auto name = path.filename().string();
    if (name.empty()) name = path.parent_path().filename().string();
    if (name.size() > 4 && name.ends_with(".app")) name.resize(name.size() - 4);
    return name;
}

}  // namespace

struct SelvaneExclusionsView::Private {};

std::shared_ptr<SelvaneExclusionsView> SelvaneExclusionsView::make(double height) {
    auto view = std::make_shared<SelvaneExclusionsView>(Private{}, height);
    view->build(height);
    return view;
}

SelvaneExclusionsView::SelvaneExclusionsView(Private, double height) : View({0, 0, 420, height}) {}

SelvaneExclusionsView::~SelvaneExclusionsView() {
    if (observer_ && platform::AppContext::hasCurrent()) {
        platform::AppContext::current().notificationCenter().removeObserver(*observer_);
    }
}

void SelvaneExclusionsView::build(double height) {
    auto title = platform::Label::make("排除应用列表");
    title->setFont(Font::systemFont(13, platform::FontWeight::medium));
    addButton_ = platform::Button::make("添加应用");
    addButton_->setBezelStyle(platform::BezelStyle::rounded);
    addButton_->setControlSize(platform::ControlSize::small);
    std::weak_ptr<SelvaneExclusionsView> weak = std::static_pointer_cast<SelvaneExclusionsView>(shared_from_this());
    addButton_->onAction = [weak](platform::Control&) {
        if (auto self = weak.lock()) self->addApplications();
    };
    auto header = platform::StackView::makeHorizontal({title, platform::View::make(), addButton_});
    header->setFixedHeight(headerHeight);
    header->setPlacement(Placement{.leading = 0, .trailing = 0, .top = 0, .bottom = std::nullopt, .centerX = std::nullopt, .centerY = std::nullopt});
    addSubview(header);

    table_ = platform::TableView::make();
    platform::TableColumn application("application", 150);
    application.minWidth = 70;
    platform::TableColumn remove(removeColumn, 48);
    remove.minWidth = 48;
    remove.maxWidth = 48;
    remove.resizesWithTable = false;
    table_->addColumn(application);
    table_->addColumn(remove);
    table_->setHeaderHidden(true);
    table_->setRowHeight(30);
    table_->columnAutoresizing = platform::ColumnAutoresizing::firstColumnOnly;
    table_->backgroundColor = platform::Color::clear();
    table_->numberOfRows = [weak] {
        auto self = weak.lock();
        return self ? self->entries_.size() : std::size_t{0};
    };
    table_->viewForRow = [weak](const platform::TableColumn& column, std::size_t row) -> std::shared_ptr<platform::View> {
        auto self = weak.lock();
        return self ? self->cell(column, row) : nullptr;
    };

    auto scroll = platform::ScrollView::make();
    scroll->hasVerticalScroller = true;
    scroll->autohidesScrollers = true;
    scroll->drawsBackground = false;
    scroll->setBorderType(platform::BorderType::none);
    scroll->setDocumentView(table_);
    scroll->setDocumentTracksWidth(true);
    scroll->setPlacement(Placement::filling({headerHeight + 5, 0, 0, 0}));
    addSubview(scroll);

    emptyLabel_ = platform::Label::make("暂无排除应用");
    emptyLabel_->setFont(Font::systemFont(12));
    emptyLabel_->setTextColor(platform::Color::system(platform::SystemColor::secondaryLabel));
    emptyLabel_->setPlacement(Placement::centered());
    scroll->addSubview(emptyLabel_);

    setFixedHeight(height);

    observer_ = platform::AppContext::current().notificationCenter().addObserver(
        std::string(SelvaneExclusions::changed), nullptr, [weak](const platform::Notification&) {
            if (auto self = weak.lock()) self->reload();
        });
    reload();
}

void SelvaneExclusionsView::reload() {
    entries_ = SelvaneExclusions::entries();
    table_->reloadData();
    emptyLabel_->setHidden(!entries_.empty());
}

std::shared_ptr<platform::View> SelvaneExclusionsView::cell(const platform::TableColumn& column, std::size_t row) {
    if (row >= entries_.size()) return nullptr;
    const auto& entry = entries_[row];
    if (column.identifier == removeColumn) {
        auto button = platform::Button::make("移除");
        button->setBordered(false);
        button->setFont(Font::systemFont(12));
        button->setContentTintColor(platform::Color::system(platform::SystemColor::blue));
        button->setIdentifier(entry.id);
        std::weak_ptr<SelvaneExclusionsView> weak = std::static_pointer_cast<SelvaneExclusionsView>(shared_from_this());
        button->onAction = [weak](platform::Control& sender) {
            if (auto self = weak.lock()) self->removeApplication(sender);
        };
        return button;
    }
    auto label = platform::Label::make(entry.name);
    label->setFont(Font::systemFont(12));
    label->setLineBreakMode(platform::LineBreakMode::byTruncatingTail);
    label->setToolTip(entry.id);
    return label;
}

void SelvaneExclusionsView::removeApplication(const platform::View& sender) {
    SelvaneExclusions::remove(sender.identifier());
}

void SelvaneExclusionsView::addApplications() {
    auto host = window();
    if (!host || SelvaneExclusions::isChoosingApplication()) return;
    auto panel = platform::OpenPanel::make();
    panel->title = "选择要排除的应用";
    panel->prompt = "添加";
    panel->directoryURL = std::filesystem::path("/Applications");
    panel->allowedFileTypes = {"app"};
    panel->canChooseFiles = true;
    panel->canChooseDirectories = false;
    panel->treatsFilePackagesAsDirectories = false;
    panel->allowsMultipleSelection = true;
    SelvaneExclusions::setChoosingApplication(true);
    panel->beginSheetModal(host, [panel](platform::ModalResponse response) {
        SelvaneExclusions::setChoosingApplication(false);
        if (response != platform::ModalResponses::ok) return;
        for (const auto& url : panel->urls()) {
            auto bundle = ApplicationBundle::open(url);
            auto identifier = bundle ? bundle->bundleIdentifier() : std::nullopt;
            if (!identifier || identifier->empty()) continue;  // not an application: skipped
            SelvaneExclusions::add(*identifier, bundleDisplayName(url));
        }
    });
}

}  // namespace tallowmere
