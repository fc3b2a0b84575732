#include "finderextension/tallowby_finder_sync.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/desktop/desktop.h"
#include "platform/desktop/pasteboard.h"
#include "platform/desktop/workspace.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_filters.h"
#include "platform/gfx/symbol_image.h"
#include "platform/system/bundle.h"
#include "platform/system/files.h"
#include "platform/system/system_log.h"
#include "platform/ui/menu.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr const char* menuTitle = "塔洛梅";
constexpr Size toolbarImageSize{24, 24};

// The rows built from tables, in menu order; each registers its own payload.
struct NewFileRow {
    std::string_view title;
    std::string_view type;
};
constexpr std::array<NewFileRow, 2> newFileRows = {{{"文本文档 (.txt)", "txt"}, {"Markdown (.md)", "md"}}};

struct PathActionRow {
    std::string_view title;
    std::string_view symbol;
    std::string_view action;
};
constexpr std::array<PathActionRow, 3> visibilityRows = {{
    {"隐藏文件", "eye.slash", "hide"},
    {"取消隐藏文件", "eye", "unhide"},
    {"隔空投送", "airplayaudio", "airdrop"},
}};
constexpr std::array<PathActionRow, 3> arrangementRows = {{
    {"解散文件夹", "folder.badge.minus", "dissolve"},
    {"复制到", "doc.on.doc", "copy-to"},
    {"移动到", "folder", "move-to"},
}};
constexpr std::array<PathActionRow, 3> hashRows = {{
    {"MD5", "", "hash-md5"},
    {"SHA-1", "", "hash-sha1"},
    {"SHA-256", "", "hash-sha256"},
}};

// What one menu is about, worked out from Finder's selection and target.
struct MenuTarget {
    std::optional<Url> directory;
    std::vector<std::string> paths;
};

std::string pathOf(const Url& url) { return url.fileSystemPath().value_or(url.path()); }

MenuTarget menuTarget(FinderSyncMenuKind kind) {
    const auto& controller = FinderSyncController::defaultController();
    const std::vector<Url> selected = controller.selectedItemURLs();
    const std::optional<Url> targeted = controller.targetedURL();
    MenuTarget target;
    std::optional<Url> candidate = targeted;
    if (kind == FinderSyncMenuKind::contextualMenuForItems && !selected.empty()) candidate = selected.front();
    if (candidate && candidate->isFileUrl()) {
        if (kind == FinderSyncMenuKind::contextualMenuForItems) {
            bool isDirectory = false;
            const auto path = candidate->fileSystemPath();
            if (path && Files::fileExists(*path, &isDirectory)) {
                target.directory = isDirectory ? *candidate : candidate->deletingLastPathComponent();
            } else {
                // What the item is cannot be told: the window's folder stands in.
                target.directory = targeted;
            }
        } else {
            target.directory = candidate;
        }
    }
    if (kind == FinderSyncMenuKind::toolbarItemMenu || !selected.empty()) {
        for (const auto& url : selected) target.paths.push_back(pathOf(url));
    } else if (targeted) {
        target.paths.push_back(pathOf(*targeted));
    }
    return target;
}

std::string joined(const std::vector<std::string>& paths, std::string_view separator) {
    std::string text;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (i > 0) text += separator;
        text += paths[i];
    }
    return text;
}

// A path holding the separator (or a NUL) would come apart into other
// paths when the request is read: such a selection is not sent.
bool canBeJoined(const std::vector<std::string>& paths) {
    return std::none_of(paths.begin(), paths.end(), [](const std::string& path) {
        return path.find(TallowbyFinderSync::pathSeparator) != std::string::npos ||
               path.find('\0') != std::string::npos;
    });
}

std::optional<Image> symbol(std::string_view name, std::string_view description = {}) {
    return name.empty() ? std::nullopt : symbolImage(name, description);
}

Image emptyToolbarImage() {
    return Image::withHandler(toolbarImageSize, [](Canvas&, Rect) { return true; });
}

}  // namespace

TallowbyFinderSync::TallowbyFinderSync() {
    // Finder shows the extension's menus and button in every folder.
    FinderSyncController::defaultController().setDirectoryURLs({Url::fileUrl("/", true)});
}

std::string TallowbyFinderSync::toolbarItemName() const { return "塔洛梅"; }

std::string TallowbyFinderSync::toolbarItemToolTip() const { return "在当前文件夹新建文件、复制路径或打开终端"; }

Image TallowbyFinderSync::toolbarItemImage() const {
    const auto bytes = Bundle::main().resource("StatusOutline", "png");
    auto picture = bytes ? Image::fromPngData(Data(bytes->begin(), bytes->end()))
                         : Result<Image>(Error{ErrorCode::notFound, "no StatusOutline picture"});
    if (!picture || !picture->bitmap()) {
        if (auto cat = symbolImage("cat", "塔洛梅")) return *cat;
        return emptyToolbarImage();
    }
    const Bitmap mask = ImageFilters::darkStrokesToAlpha(*picture->bitmap());
    if (mask.pixelsWide() <= 0 || mask.pixelsHigh() <= 0) {
        Image empty = emptyToolbarImage();
        empty.setTemplate(false);
        return empty;
    }
    Image rendered = Image::fromBitmap(mask);
    rendered.setSize({static_cast<double>(mask.pixelsWide()), static_cast<double>(mask.pixelsHigh())});
    Image image = Image::withHandler(toolbarImageSize, [rendered](Canvas& canvas, Rect rect) {
        rendered.draw(canvas, rect.insetBy(1, 1), std::nullopt, 1, CompositingOperation::sourceOver);
        return true;
    });
    image.setTemplate(true);
    return image;
}

std::int64_t TallowbyFinderSync::registerPayload(Payload payload) {
    const std::int64_t tag = nextPayloadTag_++;
    menuPayloads_[tag] = std::move(payload);
    if (menuPayloads_.size() > payloadLimit) menuPayloads_.erase(menuPayloads_.begin());
    return tag;
}

std::shared_ptr<Menu> TallowbyFinderSync::menuFor(FinderSyncMenuKind kind) {
    const MenuTarget target = menuTarget(kind);
    const bool isToolbar = kind == FinderSyncMenuKind::toolbarItemMenu;
    const bool canUseDirectory = target.directory.has_value() || isToolbar;
    const bool canUsePaths = !target.paths.empty() || isToolbar;
    const bool canSendPaths = canUsePaths && canBeJoined(target.paths);
    const std::string directory = target.directory ? pathOf(*target.directory) : std::string();
    const std::string joinedPaths = joined(target.paths, std::string_view(&pathSeparator, 1));

    auto menu = Menu::make(menuTitle);
    menu->autoenablesItems = false;
    std::weak_ptr<bool> alive = alive_;
    // Items reach back to the extension only while it exists.
    auto send = [this, alive](MenuItem& sender) {
        if (alive.lock()) sendRequest(sender);
    };
    auto copy = [this, alive](MenuItem& sender) {
        if (alive.lock()) copyPaths(sender);
    };
    auto request = [&](std::string_view action) {
        return std::map<std::string, std::string>{{"action", std::string(action)}, {"directory", directory}};
    };
    auto addRow = [&](Menu& into, std::string_view title, std::string_view symbolName, bool describe, Payload payload,
                      bool enabled) {
        auto item = MenuItem::make(std::string(title), send);
        item->setImage(symbol(symbolName, describe ? title : std::string_view()));
        item->setTag(registerPayload(std::move(payload)));
        item->setEnabled(enabled);
        into.addItem(item);
        return item;
    };
    auto pathRow = [&](Menu& into, const PathActionRow& row) {
        auto payload = request(row.action);
        payload["paths"] = joinedPaths;
        addRow(into, row.title, row.symbol, true, std::move(payload), canSendPaths);
    };

    // 1: new files, a submenu.
    auto newFile = MenuItem::make("新建文件");
    newFile->setImage(symbol("doc.badge.plus"));
    newFile->setEnabled(canUseDirectory);
    auto newFileMenu = Menu::make("新建文件");
    newFileMenu->autoenablesItems = false;
    for (const auto& row : newFileRows) {
        auto payload = request("create");
        payload["type"] = std::string(row.type);
        addRow(*newFileMenu, row.title, {}, false, std::move(payload), canUseDirectory);
    }
    newFile->setSubmenu(newFileMenu);
    menu->addItem(newFile);

    // 2: copy paths here, or, from the toolbar with nothing selected, let the
    // program find out what to copy.
    auto copyPath = addRow(*menu, "复制路径", "doc.on.doc", false, target.paths, canUsePaths);
    copyPath->action = copy;
    if (target.paths.empty() && isToolbar) {
        copyPath->action = send;
        copyPath->setTag(registerPayload(std::map<std::string, std::string>{{"action", "copy"}, {"directory", ""}}));
    }
    // 3
    addRow(*menu, "在终端打开", "terminal", false, request("terminal"), canUseDirectory);

    menu->addSeparator();
    for (const auto& row : visibilityRows) pathRow(*menu, row);
    addRow(*menu, "取消隐藏全部文件", "eye.circle", true, request("unhide-all"), canUseDirectory);

    menu->addSeparator();
    for (const auto& row : arrangementRows) pathRow(*menu, row);
    auto hashes = MenuItem::make("哈希值");
    auto hashIcon = symbol("number", "哈希值");
    hashes->setImage(hashIcon);
    hashes->setEnabled(canSendPaths);
    auto hashMenu = Menu::make("哈希值");
    for (const auto& row : hashRows) pathRow(*hashMenu, row);
    hashes->setSubmenu(hashMenu);
    menu->addItem(hashes);

    if (!target.directory && !isToolbar) {
        menu->addSeparator();
        auto hint = MenuItem::make("请先打开一个实际文件夹");
        hint->setEnabled(false);
        menu->addItem(hint);
    }
    return menu;
}

void TallowbyFinderSync::copyPaths(MenuItem& sender) {
    const auto found = menuPayloads_.find(sender.tag());
    if (found == menuPayloads_.end()) return;
    const auto* paths = std::get_if<std::vector<std::string>>(&found->second);
    if (!paths || paths->empty()) return;
    auto& pasteboard = Pasteboard::general();
    pasteboard.clearContents();
    pasteboard.setString(joined(*paths, "\n"));
}

std::optional<Url> TallowbyFinderSync::requestURL(const std::map<std::string, std::string>& payload) {
    const auto action = payload.find("action");
    const auto directory = payload.find("directory");
    if (action == payload.end() || directory == payload.end()) return std::nullopt;
    Url url;
    if (!url.setScheme("tallowmere-finder")) return std::nullopt;
    url.setHost(action->second);
    std::vector<UrlQueryItem> items{{"directory", directory->second}};
    if (const auto type = payload.find("type"); type != payload.end()) items.push_back({"type", type->second});
    if (const auto paths = payload.find("paths"); paths != payload.end()) {
        const std::string& text = paths->second;
        std::size_t start = 0;
        while (start <= text.size()) {
            std::size_t end = text.find(pathSeparator, start);
            if (end == std::string::npos) end = text.size();
            if (end > start) items.push_back({"path", text.substr(start, end - start)});
            start = end + 1;
        }
    }
    url.setQueryItems(items);
    return url;
}

std::string TallowbyFinderSync::programBundlePath() const {
    Url bundle = bundleURL();
    for (int level = 0; level < 3; ++level) bundle = bundle.deletingLastPathComponent();
    return bundle.fileSystemPath().value_or(std::string());
}

void TallowbyFinderSync::sendRequest(MenuItem& sender) {
    const auto found = menuPayloads_.find(sender.tag());
    if (found == menuPayloads_.end()) return;
    const auto* payload = std::get_if<std::map<std::string, std::string>>(&found->second);
    if (!payload || payload->empty()) return;
    const auto url = requestURL(*payload);
    if (!url) return;
    const std::string program = programBundlePath();
    OpenConfiguration configuration;
    configuration.activates = false;
    configuration.addsToRecentItems = false;
    configuration.arguments = {finderActionArgument};
    // The request is whole before anything is opened; a program that cannot
    // be reached leaves a line in the log and nothing else.
    Workspace::shared().openURLs({url->string()}, program, configuration,
                                 [program](Result<std::shared_ptr<RunningApplication>> opened) {
                                     if (opened) return;
                                     SystemLog::shared().log("Finder extension: could not open " + program + ": " +
                                                             opened.error().message);
                                 });
}

}  // namespace tallowmere

// The module's entry: Finder makes the principal object through it.
extern "C" __attribute__((visibility("default"))) tallowmere::platform::FinderSync* tallowmereFinderSyncPrincipal() {
    return new tallowmere::TallowbyFinderSync();
}
