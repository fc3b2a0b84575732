#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/url.h"
#include "platform/gfx/image.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

// Which of Finder's menus an extension is asked for; the numbers are the
// ones Finder passes.
enum class FinderSyncMenuKind {
    contextualMenuForItems = 0,      // a secondary click on selected items
    contextualMenuForContainer = 1,  // on a window's background
    contextualMenuForSidebar = 2,    // on a sidebar entry
    toolbarItemMenu = 3,             // the extension's toolbar button
};

// What Finder shares with a Finder Sync extension: the folders the extension
// watches (it sets them), and, while Finder builds one of its menus, the
// items selected and the item the menu is about. Finder fills the menu's
// context in just before it asks the extension, and clears it afterwards.
// Main thread only.
class FinderSyncController {
public:
    // The controller of the current desktop's Finder.
    static FinderSyncController& defaultController();

    const std::vector<Url>& directoryURLs() const { return directoryURLs_; }
    void setDirectoryURLs(std::vector<Url> urls) { directoryURLs_ = std::move(urls); }
    // Whether `folder` is one of the watched folders or inside one.
    bool observes(const std::filesystem::path& folder) const;

    // File URLs in Finder's order; empty outside a menu's building.
    const std::vector<Url>& selectedItemURLs() const { return selected_; }
    // The folder the window shows, the sidebar entry clicked, or none.
    const std::optional<Url>& targetedURL() const { return targeted_; }

    // Finder's side: the context of the menu about to be built.
    void setMenuContext(std::vector<Url> selected, std::optional<Url> targeted);
    void clearMenuContext() { setMenuContext({}, std::nullopt); }

    // The extension's toolbar button, as Finder shows it in its windows.
    struct ToolbarItem {
        std::string name;
        std::string toolTip;
        Image image;
    };
    // Finder's way to its extension, installed by whoever hosts it. Finder
    // loads the extension when it first needs it.
    class Extension {
    public:
        virtual ~Extension() = default;
        // True once the extension runs (loading it the first time).
        virtual bool load() = 0;
        virtual std::optional<ToolbarItem> toolbarItem() = 0;
        // Builds the menu of `kind` from the context set and shows it.
        virtual void showMenu(FinderSyncMenuKind kind, ScreenPoint location) = 0;
    };
    void setExtension(std::weak_ptr<Extension> extension);

    // Finder asks its extension for the menu of `kind` about `folder` (a
    // window's folder), with the selection and target given, and shows it
    // at `location`. Nothing happens without an extension, or for a folder
    // the extension does not watch.
    void showExtensionMenu(FinderSyncMenuKind kind, ScreenPoint location, const std::filesystem::path& folder,
                           std::vector<Url> selected, std::optional<Url> targeted);
    // The button Finder shows in a window of `folder`, if any. Finder asks
    // its extension once and keeps the answer: windows are drawn many times
    // a second, and an extension may draw its image anew on every ask.
    std::optional<ToolbarItem> toolbarItemFor(const std::filesystem::path& folder);

private:
    std::vector<Url> directoryURLs_;
    std::vector<Url> selected_;
    std::optional<Url> targeted_;
    std::weak_ptr<Extension> extension_;
    std::optional<ToolbarItem> toolbarItem_;
};

}  // namespace tallowmere::platform
