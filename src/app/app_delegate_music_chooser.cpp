// The music-application chooser: shown by the player button while no
// player is known, instead of opening one blindly.
#include <filesystem>

#include "app/app_delegate.h"
#include "localization/product_identity.h"
#include "menubar/music_application_choice.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/system/paths.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"

namespace tallowmere {

using namespace platform;

namespace {

// An application bundle in a folder, as the simulated Mac has it installed
// or as a real file (a person's own Applications folder).
bool holdsApplication(const std::filesystem::path& folder, std::string_view name) {
    const auto bundle = folder / (std::string(name) + ".app");
    std::error_code error;
    return DesktopLink::desktop().applicationAtPath(bundle.string()) || std::filesystem::exists(bundle, error);
}

}  // namespace

std::optional<std::string> AppDelegate::installedMusicApplicationURL(const MusicApplicationChoice& choice) const {
    auto& workspace = DesktopLink::desktop().workspace();
    for (const auto identifier : choice.bundleIdentifiers) {
        if (const auto location = workspace.urlForApplication(std::string(identifier))) {
            return Url::fileUrl(*location).string();
        }
    }
    for (const auto& folder : {std::filesystem::path("/Applications"), Paths::home() / "Applications"}) {
        for (const auto name : choice.applicationNames) {
            if (holdsApplication(folder, name)) {
                return Url::fileUrl((folder / (std::string(name) + ".app")).string()).string();
            }
        }
    }
    return std::nullopt;
}

void AppDelegate::showMusicApplicationMenu() {
    auto menu = Menu::make(ProductIdentity::localizedBrand("选择音乐应用", "Choose a Music App"));
    menu->autoenablesItems = false;
    for (const auto& choice : musicApplicationChoices()) {
        const auto location = choice.isMemorial ? std::nullopt : installedMusicApplicationURL(choice);
        std::string title(choice.name);
        if (!choice.isMemorial && !location) title += ProductIdentity::localizedBrand("（未安装）", " (not installed)");
        const bool openable = location.has_value();
        auto item = MenuItem::make(title, openable ? action(&AppDelegate::openMusicApplicationFromMenu) : MenuItem::Action{});
        item->setEnabled(openable);
        if (openable) {
            item->setRepresentedObject(*location);
            Image icon = DesktopLink::desktop().workspace().iconForFile(*Url::parse(*location)->fileSystemPath());
            icon.setSize({18, 18});
            icon.setTemplate(false);
            item->setImage(icon);
        }
        menu->addItem(item);
    }
    menu->popUp(nullptr, DesktopLink::desktop().input().mouseLocation());
}

}  // namespace tallowmere
