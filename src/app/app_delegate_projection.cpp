// Projection mode: every display mirrors the main one, or each shows its own
// desktop again, switched in one display-configuration transaction.
#include "app/app_delegate.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/alert.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu_item.h"

namespace tallowmere {

using namespace platform;

namespace {

std::string brand(std::string_view chinese, std::string_view english) {
    return ProductIdentity::localizedBrand(chinese, english);
}

}  // namespace

void AppDelegate::setProjectionModeFromMenu(const MenuItem& sender) {
    auto& screens = DesktopLink::desktop().screens();
    const auto displays = onlineDisplayIDs();
    if (displays.size() < 2) {
        showProjectionModeError(brand("请先连接第二台显示器，再切换投屏模式。",
                                      "Connect a second display before switching projection mode."));
        return;
    }
    const bool wantMirror = sender.tag() == 1;
    bool mirroring = false;
    for (DisplayID id : displays) {
        auto screen = screens.screen(id);
        if (screen && screen->isMirrored()) mirroring = true;
    }
    if (mirroring == wantMirror) return;

    // The main display is the primary screen: the one with the menu bar.
    auto primary = screens.primaryScreen();
    if (!primary) return;
    const DisplayID main = primary->displayID();
    std::vector<DisplayID> others;
    for (DisplayID id : displays) {
        if (id != main) others.push_back(id);
    }
    if (others.empty()) return;

    auto configuration = screens.beginConfiguration();
    if (!configuration) {
        showProjectionModeError(brand("无法开始显示器配置，请稍后再试。",
                                      "Unable to begin display configuration. Try again later."));
        return;
    }
    for (DisplayID id : others) {
        // Nothing is applied until the whole configuration completes, so a
        // step that fails leaves every display as it was.
        if (!configuration->configureMirror(id, wantMirror ? main : 0)) {
            showProjectionModeError(brand("当前显示器不支持所选投屏模式。",
                                          "The connected display does not support the selected projection mode."));
            return;
        }
    }
    if (!screens.completeConfiguration(std::move(*configuration))) {
        showProjectionModeError(brand("投屏模式切换失败，请关闭全屏应用后重试。",
                                      "Projection mode could not be changed. Close full-screen apps and try again."));
    }
}

void AppDelegate::showProjectionModeError(const std::string& message) {
    Application::shared().activate(true);
    auto alert = Alert::make();
    alert->alertStyle = AlertStyle::warning;
    alert->messageText = brand("投屏模式切换失败", "Projection Mode");
    alert->informativeText = message;
    alert->addButton(L("好"));
    alert->runModal();
}

}  // namespace tallowmere
