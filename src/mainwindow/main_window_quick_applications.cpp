// Adding an application to quick launch: a menu of the applications that
// run now, or the chooser on /Applications, then the name prompt.
#include "localization/interface_language.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/quick_launch_application_offer.h"
#include "platform/base/format.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/file_panel.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/window.h"
#include "quicklaunch/application_bundle.h"
#include "quicklaunch/quick_launch_store.h"

namespace tallowmere {

using namespace platform;

namespace {

std::string menuTitle(const RunningApplication& application) {
    if (auto name = application.localizedName(); name && !name->empty()) return *name;
    return std::filesystem::path(application.bundlePath().value_or("")).stem().string();
}

}  // namespace

void MainWindowController::addQuickApplication(View& sender) {
    auto menu = Menu::make(L("当前运行的应用"));
    const auto offered = applicationsToOffer(DesktopLink::desktop().workspace().runningApplications());
    if (offered.empty()) {
        auto none = MenuItem::make(L("暂无其他运行中应用"));
        none->setEnabled(false);
        menu->addItem(none);
    }
    std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
    for (const auto& application : offered) {
        auto item = MenuItem::make(menuTitle(*application), [weak](MenuItem& chosen) {
            if (auto self = weak.lock()) self->selectRunningApplication(chosen);
        });
        item->setRepresentedObject(*application->bundlePath());
        if (auto icon = application->icon()) {
            icon->setSize({18, 18});
            item->setImage(std::move(icon));
        }
        menu->addItem(item);
    }
    menu->addItem(MenuItem::separator());
    auto browse = MenuItem::make(L("选择其他应用…"), [weak](MenuItem&) {
        if (auto self = weak.lock()) self->browseQuickApplication();
    });
    browse->setImage(symbolImage("folder", L("选择其他应用")));
    menu->addItem(browse);
    showQuickApplicationMenu(menu, sender);
}

void MainWindowController::showQuickApplicationMenu(const std::shared_ptr<Menu>& menu, View& sender) {
    // The quick-launch panel asks with a button that lies in no window:
    // the menu then opens where the person is pointing.
    if (!sender.window()) {
        menu->popUp(nullptr, DesktopLink::desktop().input().mouseLocation());
        return;
    }
    const Rect bounds = sender.bounds();
    const double below = sender.isFlipped() ? bounds.maxY() + 4 : bounds.minY() - 4;
    menu->popUp(nullptr, Point{bounds.minX(), below}, sender);
}

void MainWindowController::selectRunningApplication(const MenuItem& item) {
    const auto* path = item.representedObjectAs<std::string>();
    if (!path) return;
    finishAddingApplication(*path);
}

void MainWindowController::browseQuickApplication() {
    auto host = window();
    if (!host) return;
    auto panel = OpenPanel::make();
    panel->title = L("选择要快捷启动的应用");
    panel->prompt = L("添加");
    panel->directoryURL = std::filesystem::path("/Applications");
    panel->canChooseFiles = true;
    panel->canChooseDirectories = false;
    panel->allowsMultipleSelection = false;
    panel->allowedFileTypes = {"app"};
    std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
    std::weak_ptr<OpenPanel> weakPanel = panel;
    panel->beginSheetModal(host, [weak, weakPanel](ModalResponse response) {
        if (response != ModalResponses::ok) return;
        auto chosen = weakPanel.lock();
        auto url = chosen ? chosen->url() : std::nullopt;
        if (!url) return;
        AppContext::current().mainQueue().async([weak, path = *url] {
            if (auto self = weak.lock()) self->finishAddingApplication(path);
        });
    });
}

void MainWindowController::finishAddingApplication(const std::filesystem::path& bundlePath) {
    if (!quickLaunchStore_) return;
    const std::string defaultName = preferredApplicationName(bundlePath);
    const Image icon = DesktopLink::desktop().workspace().iconForFile(bundlePath.string());
    auto name = promptForName(L("应用显示名称"), defaultName, icon);
    if (!name) return;
    if (auto added = quickLaunchStore_->addApplication(bundlePath, *name); !added) {
        reportStoreError(added.error());
        return;
    }
    refreshQuickLaunchEntries();
    statusLabel->setStringValue(formatTemplate(L("已添加快捷应用：%@"), *name));
}

}  // namespace tallowmere
