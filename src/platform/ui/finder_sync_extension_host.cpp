#include "platform/ui/finder_sync_extension_host.h"

#include <dlfcn.h>

#include <system_error>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/system/system_log.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/menu.h"

namespace tallowmere::platform {

// One extension module as Finder holds it: loaded once, on demand.
class FinderSyncExtensionHost::Connection final : public FinderSyncController::Extension {
public:
    Connection(std::filesystem::path modulePath, std::string bundlePath)
        : modulePath_(std::move(modulePath)), bundlePath_(std::move(bundlePath)) {}

    Result<void> open() {
        if (principal_) return {};
        // Never closed: menus and images the extension made may outlive any
        // one use of it, and their code lives in the module.
        void* module = ::dlopen(modulePath_.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* reason = ::dlerror();
            return Error{ErrorCode::notFound, "The Finder extension " + modulePath_.string() +
                                                  " could not be loaded: " + (reason ? reason : "unknown reason")};
        }
        auto entry = reinterpret_cast<FinderSyncEntry>(::dlsym(module, finderSyncEntryName));
        if (!entry) return Error{ErrorCode::wrongShape, "The Finder extension " + modulePath_.string() + " has no entry"};
        std::unique_ptr<FinderSync> principal(entry());
        if (!principal) {
            return Error{ErrorCode::internal,
                         "The Finder extension " + modulePath_.string() + " made no principal object"};
        }
        principal->setBundleURL(Url::fileUrl(bundlePath_, true));
        principal_ = std::move(principal);
        return {};
    }

    bool load() override {
        if (principal_) return true;
        if (failed_) return false;
        if (auto opened = open(); !opened) {
            // Finder goes on without it, and does not try again.
            failed_ = true;
            SystemLog::shared().log(opened.error().message);
            return false;
        }
        return true;
    }

    std::optional<FinderSyncController::ToolbarItem> toolbarItem() override {
        if (!principal_) return std::nullopt;
        return FinderSyncController::ToolbarItem{principal_->toolbarItemName(), principal_->toolbarItemToolTip(),
                                                 principal_->toolbarItemImage()};
    }

    void showMenu(FinderSyncMenuKind kind, ScreenPoint location) override {
        if (!principal_) return;
        if (auto menu = principal_->menuFor(kind)) menu->popUp(nullptr, location);
    }

    FinderSync* principal() const { return principal_.get(); }

private:
    std::filesystem::path modulePath_;
    std::string bundlePath_;
    std::unique_ptr<FinderSync> principal_;
    bool failed_ = false;
};

FinderSyncExtensionHost& FinderSyncExtensionHost::shared() {
    return AppContext::current().shared<FinderSyncExtensionHost>();
}

FinderSync* FinderSyncExtensionHost::principal() const { return connection_ ? connection_->principal() : nullptr; }

Result<void> FinderSyncExtensionHost::load(const std::filesystem::path& modulePath, const std::string& bundlePath) {
    auto connection = std::make_shared<Connection>(modulePath, bundlePath);
    if (auto opened = connection->open(); !opened) return opened;
    connection_ = std::move(connection);
    DesktopLink::desktop().finderSync().setExtension(connection_);
    return {};
}

void FinderSyncExtensionHost::install(const std::filesystem::path& modulePath, const std::string& bundlePath) {
    connection_ = std::make_shared<Connection>(modulePath, bundlePath);
    DesktopLink::desktop().finderSync().setExtension(connection_);
}

void FinderSyncExtensionHost::installProgramExtension() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        SystemLog::shared().log("The Finder extension could not be found: " + error.message());
        return;
    }
    auto bundle = DesktopLink::desktop().currentApplication().bundlePath();
    while (bundle.size() > 1 && bundle.back() == '/') bundle.pop_back();
    install(program.parent_path() / moduleFileName, bundle + "/" + bundleLocation);
}

}  // namespace tallowmere::platform
