#pragma once

#include <memory>
#include <string>

#include "platform/base/url.h"
#include "platform/desktop/finder_sync_controller.h"
#include "platform/gfx/image.h"

namespace tallowmere::platform {

class Menu;

// The principal object of a Finder Sync extension: Finder asks it for its
// toolbar button and for its menus. An extension subclasses it and its
// module exports the entry below, which makes one.
class FinderSync {
public:
    virtual ~FinderSync() = default;

    virtual std::string toolbarItemName() const = 0;
    virtual std::string toolbarItemToolTip() const = 0;
    virtual Image toolbarItemImage() const = 0;
    // Never null.
    virtual std::shared_ptr<Menu> menuFor(FinderSyncMenuKind kind) = 0;

    // Where the extension's bundle is (the ".appex" folder), as the bundle
    // that holds the principal class reports it.
    const Url& bundleURL() const { return bundleURL_; }
    // Set by whoever loads the extension.
    void setBundleURL(Url url) { bundleURL_ = std::move(url); }

private:
    Url bundleURL_;
};

}  // namespace tallowmere::platform

// What an extension module exports under `finderSyncEntryName`: makes the
// principal object, which the caller owns.
extern "C" {
using FinderSyncEntry = tallowmere::platform::FinderSync* (*)();
}
namespace tallowmere::platform {
inline constexpr const char* finderSyncEntryName = "tallowmereFinderSyncPrincipal";
}
