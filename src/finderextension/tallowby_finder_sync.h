#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/base/url.h"
#include "platform/ui/finder_sync.h"

namespace tallowmere::platform {
class MenuItem;
}

namespace tallowmere {

// The Finder extension's principal object: Finder's context menus and the
// toolbar button's menu, each item either copying paths at once or sending
// a request URL to the program, which does the file work. What an item
// acts on is kept in a registry of payloads under the item's tag.
class TallowbyFinderSync final : public platform::FinderSync {
public:
    // A list of paths ("复制路径" copying at once), or the items of a
    // request: "action", "directory", and "type" or "paths" where they apply.
    using Payload = std::variant<std::vector<std::string>, std::map<std::string, std::string>>;

    static constexpr std::size_t payloadLimit = 512;
    // Joins the selected paths in a payload's "paths".
    static constexpr char pathSeparator = '\x1f';
    static constexpr const char* finderActionArgument = "--finder-action";

    // Has Finder show it every folder.
    TallowbyFinderSync();

    std::string toolbarItemName() const override;
    std::string toolbarItemToolTip() const override;
    platform::Image toolbarItemImage() const override;
    std::shared_ptr<platform::Menu> menuFor(platform::FinderSyncMenuKind kind) override;

    // Keeps the payload and returns its tag; past the limit, the smallest
    // tag is forgotten.
    std::int64_t registerPayload(Payload payload);
    const std::map<std::int64_t, Payload>& menuPayloads() const { return menuPayloads_; }
    std::int64_t nextPayloadTag() const { return nextPayloadTag_; }

    // Menu actions; the sender's tag names its payload.
    void copyPaths(platform::MenuItem& sender);
    void sendRequest(platform::MenuItem& sender);

    // "tallowmere-finder://<action>?directory=...[&type=...][&path=...]" for
    // a request payload; none for a payload without "action" or "directory".
    static std::optional<platform::Url> requestURL(const std::map<std::string, std::string>& payload);
    // The program's bundle: three levels above the extension's.
    std::string programBundlePath() const;

private:
    std::map<std::int64_t, Payload> menuPayloads_;
    std::int64_t nextPayloadTag_ = 1;
    // Menus may outlive the extension; their items then do nothing.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tallowmere
