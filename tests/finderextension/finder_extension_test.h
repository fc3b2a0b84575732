#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "finderextension/tallowby_finder_sync.h"
#include "platform/desktop/desktop.h"
#include "platform/ui/finder_sync_extension_host.h"
#include "platform/ui/menu.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {

// The extension as Finder holds it, on the simulated desktop, with real
// files under the temporary HOME. Its bundle lies where the program's
// bundle keeps it.
class FinderExtensionTest : public DesktopTest {
protected:
    using Path = std::filesystem::path;
    using Kind = platform::FinderSyncMenuKind;

    static constexpr const char* programBundle = "/Applications/Tallowmere Sparkwell.app";

    FinderExtensionTest() {
        sync.setBundleURL(platform::Url::fileUrl(std::string(programBundle) + "/" +
                                                     platform::FinderSyncExtensionHost::bundleLocation,
                                                 true));
    }

    Path makeFolder(const Path& path) {
        std::filesystem::create_directories(path);
        return path;
    }
    Path makeFile(const Path& path, const std::string& contents = "") {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    // Finder's selection and target as it hands them over for one menu.
    std::shared_ptr<platform::Menu> menuFor(Kind kind, const std::vector<Path>& selected,
                                            const std::optional<Path>& targeted) {
        std::vector<platform::Url> urls;
        for (const auto& item : selected) urls.push_back(platform::Url::fileUrl(item.string(), std::filesystem::is_directory(item)));
        desktop.finderSync().setMenuContext(urls, targeted ? std::optional(platform::Url::fileUrl(targeted->string(), true))
                                                           : std::nullopt);
        auto menu = sync.menuFor(kind);
        desktop.finderSync().clearMenuContext();
        return menu;
    }

    // The item with this title anywhere in the menu.
    static std::shared_ptr<platform::MenuItem> item(const platform::Menu& menu, const std::string& title) {
        for (const auto& candidate : menu.items()) {
            if (candidate->title() == title) return candidate;
            if (candidate->submenu()) {
                if (auto inner = item(*candidate->submenu(), title)) return inner;
            }
        }
        return nullptr;
    }

    // The payload under an item's tag, as text: a path list "[a, b]", or a
    // request "action=… directory=… [type=…] [paths=a|b]"; "" for none.
    std::string payloadText(const platform::MenuItem& menuItem) const {
        const auto found = sync.menuPayloads().find(menuItem.tag());
        if (found == sync.menuPayloads().end()) return "";
        if (const auto* paths = std::get_if<std::vector<std::string>>(&found->second)) {
            std::string text = "[";
            for (const auto& path : *paths) text += (text.size() > 1 ? ", " : "") + path;
            return text + "]";
        }
        const auto& request = std::get<std::map<std::string, std::string>>(found->second);
        std::string text;
        for (const char* key : {"action", "directory", "type", "paths"}) {
            const auto value = request.find(key);
            if (value == request.end()) continue;
            std::string shown = value->second;
            std::replace(shown.begin(), shown.end(), TallowbyFinderSync::pathSeparator, '|');
            text += (text.empty() ? "" : " ") + std::string(key) + "=" + shown;
        }
        return text;
    }

    TallowbyFinderSync sync;
};

}  // namespace tallowmere::testing
