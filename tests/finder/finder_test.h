#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "finder/finder_extension_bridge.h"
#include "platform/base/url.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::testing {

// The simulated desktop with real folders under the temporary HOME, and
// requests sent as the Finder extension sends them.
class FinderTest : public DesktopTest {
protected:
    using Path = std::filesystem::path;

    Path makeFolder(const Path& path) {
        std::filesystem::create_directories(path);
        return path;
    }
    Path makeFile(const Path& path, const std::string& contents = "") {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    // "tallowmere-finder://<action>?directory=...&path=...", escaped as the
    // extension escapes it.
    static std::string requestURL(const std::string& action, const std::string& directory,
                                  const std::vector<std::string>& paths = {}, const std::string& type = "") {
        platform::Url url;
        url.setScheme("tallowmere-finder");
        url.setHost(action);
        std::vector<platform::UrlQueryItem> items;
        if (!type.empty()) items.push_back({"type", type});
        items.push_back({"directory", directory});
        for (const auto& path : paths) items.push_back({"path", path});
        url.setQueryItems(items);
        return url.string();
    }

    // Hands the URL to the bridge and lets every queue run.
    void send(const std::string& text) {
        auto url = platform::Url::parse(text);
        ASSERT_TRUE(url) << text;
        FinderExtensionBridge::shared().handle(*url);
        runUntilIdle();
    }

    // The informative texts of the alerts shown, in order.
    std::vector<std::string> alertMessages() const {
        std::vector<std::string> messages;
        for (const auto& alert : alerts.shown()) messages.push_back(alert.informativeText);
        return messages;
    }

    static std::string readFile(const Path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

}  // namespace tallowmere::testing
