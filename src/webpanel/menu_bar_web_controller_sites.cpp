// The saved sites: their submenu in the status menu, the add, edit and
// remove dialogs and their storage; and the cookies kept across launches.
#include <algorithm>

#include "app/dialog_paste_key_monitor.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/base/format.h"
#include "platform/base/text.h"
#include "platform/desktop/pasteboard.h"
#include "platform/gfx/symbol_image.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/system_log.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/text_field.h"
#include "webpanel/menu_bar_web_address.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_cookie_archive.h"

namespace tallowmere {

using platform::MenuItem;
using platform::UserDefaults;

namespace {

platform::Data bytesOf(const std::string& text) { return platform::Data(text.begin(), text.end()); }

// The name a site is listed under: as typed, else the address's host.
std::string siteName(const std::string& typed, const platform::Url& url) {
    std::string name = platform::Text::trimmingWhitespaceAndNewlines(typed);
    if (!name.empty()) return name;
    if (auto host = url.host(); host && !host->empty()) return *host;
    return L("网页");
}

}  // namespace

// --- The stored list --------------------------------------------------------------

void MenuBarWebController::readStoredSites() {
    const auto data = UserDefaults::standard().data(storageKey);
    if (!data) return;
    const std::string json(data->begin(), data->end());
    if (auto sites = MenuBarWebStoredState::decodeSites(json)) {
        sites_ = std::move(*sites);
        return;
    }
    // The list the person built must not be lost to the next save: it goes
    // beside the configuration, where it can be mended by hand.
    const auto folder = platform::Paths::applicationSupport() / ProductIdentity::bundleIdentifier;
    const auto file = folder / "menuBarWebSites.json";
    const auto now = platform::AppContext::current().clock().now();
    if (platform::Files::createDirectories(folder) && platform::Files::writeAtomically(file, *data) &&
        platform::Files::keepAside(file, now)) {
        return;
    }
    sitesAreProtected_ = true;
    platform::SystemLog::shared().log("The stored web panel sites are unreadable and couldn\u2019t be kept aside");
}

void MenuBarWebController::persist() {
    if (sitesAreProtected_) return;
    UserDefaults::standard().set(storageKey, bytesOf(MenuBarWebStoredState::encodeSites(sites_)));
}

std::optional<std::size_t> MenuBarWebController::siteIndex(const MenuItem& sender) const {
    const auto* text = sender.representedObjectAs<std::string>();
    if (!text) return std::nullopt;
    const auto id = platform::Uuid::fromString(*text);
    if (!id) return std::nullopt;
    const auto found = std::find_if(sites_.begin(), sites_.end(), [&](const auto& site) { return site.id == *id; });
    if (found == sites_.end()) return std::nullopt;
    return static_cast<std::size_t>(found - sites_.begin());
}

// --- The submenu ------------------------------------------------------------------

std::shared_ptr<MenuItem> MenuBarWebController::makeMenuItem() {
    const std::string title = L("菜单栏网页");
    auto item = MenuItem::make(title);
    item->setImage(makeTallowmereWebIcon(true));
    auto submenu = platform::Menu::make(title);
    submenu->autoenablesItems = false;
    item->setSubmenu(submenu);

    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    const auto act = [weak](void (MenuBarWebController::*method)(MenuItem&)) {
        return [weak, method](MenuItem& sender) {
            if (auto self = weak.lock()) ((*self).*method)(sender);
        };
    };
    const auto run = [weak](void (MenuBarWebController::*method)()) {
        return [weak, method](MenuItem&) {
            if (auto self = weak.lock()) ((*self).*method)();
        };
    };
    const auto addSymbolItem = [](platform::Menu& menu, const std::string& text, MenuItem::Action action,
                                  const char* symbol) {
        auto added = menu.addItem(text, std::move(action));
        added->setImage(platform::symbolImage(symbol, text));
        return added;
    };

    for (const auto& site : sites_) {
        addSymbolItem(*submenu, site.name, act(&MenuBarWebController::openSiteFromMenu), "globe")
            ->setRepresentedObject(site.id.uuidString());
    }
    if (sites_.empty()) submenu->addItem(L("还没有添加网页"))->setEnabled(false);
    submenu->addSeparator();

    auto grayscale = addSymbolItem(*submenu, L("黑白色调"),
                                   [weak](MenuItem& sender) {
                                       auto self = weak.lock();
                                       if (!self) return;
                                       self->toggleGrayscale(nullptr);
                                       const bool on = UserDefaults::standard().boolean(grayscaleKey);
                                       sender.setState(on ? platform::MenuItemState::on : platform::MenuItemState::off);
                                   },
                                   "circle.lefthalf.filled");
    grayscale->setState(UserDefaults::standard().boolean(grayscaleKey) ? platform::MenuItemState::on
                                                                       : platform::MenuItemState::off);
    submenu->addSeparator();

    const auto clipboard = platform::Pasteboard::general().string();
    addSymbolItem(*submenu, L("打开剪贴板网址"), run(&MenuBarWebController::openClipboardURL), "doc.on.clipboard")
        ->setEnabled(clipboard && normalizedURL(*clipboard));
    addSymbolItem(*submenu, L("添加网页…"), run(&MenuBarWebController::addSite), "plus");

    const std::string manageTitle = L("管理网页");
    auto manage = addSymbolItem(*submenu, manageTitle, {}, "slider.horizontal.3");
    manage->setEnabled(!sites_.empty());
    auto manageMenu = platform::Menu::make(manageTitle);
    manageMenu->autoenablesItems = false;
    manage->setSubmenu(manageMenu);
    for (const auto& site : sites_) {
        manageMenu->addItem(platform::formatTemplate(L("编辑 %@…"), site.name), act(&MenuBarWebController::editSite))
            ->setRepresentedObject(site.id.uuidString());
    }
    if (!sites_.empty()) manageMenu->addSeparator();
    for (const auto& site : sites_) {
        addSymbolItem(*manageMenu, platform::formatTemplate(L("删除 %@"), site.name),
                      act(&MenuBarWebController::removeSite), "trash")
            ->setRepresentedObject(site.id.uuidString());
    }
    return item;
}

// --- The actions -------------------------------------------------------------------

void MenuBarWebController::openSiteFromMenu(MenuItem& sender) {
    const auto index = siteIndex(sender);
    if (!index) return;
    const auto url = normalizedURL(sites_[*index].url);
    if (!url) return;
    currentHomeURL_ = url;
    present(*url, false);
}

void MenuBarWebController::openClipboardURL() {
    const auto text = platform::Pasteboard::general().string();
    const auto url = text ? normalizedURL(*text) : std::nullopt;
    if (!url) return;
    currentHomeURL_ = url;
    present(*url, false);
}

void MenuBarWebController::addSite() {
    const auto edited = editAlert(L("添加菜单栏网页"), nullptr);
    if (!edited) return;
    const auto url = normalizedURL(edited->url);
    if (!url) return;
    sites_.push_back({platform::Uuid::random(), siteName(edited->name, *url), url->string()});
    persist();
    currentHomeURL_ = url;
    present(*url, false);
}

void MenuBarWebController::editSite(MenuItem& sender) {
    const auto index = siteIndex(sender);
    if (!index) return;
    // A copy: the dialog runs the queue, which may change the list.
    const MenuBarWebSite site = sites_[*index];
    const auto edited = editAlert(L("编辑菜单栏网页"), &site);
    if (!edited) return;
    const auto url = normalizedURL(edited->url);
    if (!url) return;
    const auto current = std::find_if(sites_.begin(), sites_.end(), [&](const auto& each) { return each.id == site.id; });
    if (current == sites_.end()) return;
    current->name = siteName(edited->name, *url);
    current->url = url->string();
    persist();
}

void MenuBarWebController::removeSite(MenuItem& sender) {
    const auto index = siteIndex(sender);
    if (!index) return;
    const MenuBarWebSite site = sites_[*index];
    auto alert = platform::Alert::make();
    alert->messageText = platform::formatTemplate(L("删除“%@”？"), site.name);
    alert->informativeText = L("只会移除菜单栏入口，不会影响网站数据。");
    alert->addButton(L("删除"));
    alert->addButton(L("取消"));
    if (alert->runModal() != platform::ModalResponses::alertFirstButton) return;
    std::erase_if(sites_, [&](const auto& each) { return each.id == site.id; });
    persist();
}

std::optional<MenuBarWebController::EditedSite> MenuBarWebController::editAlert(const std::string& title,
                                                                                const MenuBarWebSite* site) {
    auto alert = platform::Alert::make();
    alert->messageText = title;
    alert->informativeText = L("网页会在塔洛梅的紧凑窗口中打开。");
    alert->addButton(L("保存"));
    alert->addButton(L("取消"));

    auto accessory = platform::View::make({0, 0, 360, 72});
    const auto addLabel = [&](const std::string& text, platform::Rect frame) {
        auto label = platform::Label::make(text);
        label->setFrame(frame);
        accessory->addSubview(label);
    };
    const auto addField = [&](const std::string& text, const std::string& placeholder, platform::Rect frame) {
        auto field = platform::TextField::make(text);
        field->setFrame(frame);
        field->setPlaceholderString(placeholder);
        accessory->addSubview(field);
        return field;
    };
    addLabel(L("名称"), {0, 44, 52, 22});
    auto name = addField(site ? site->name : "", L("例如：工作台"), {58, 42, 302, 26});
    addLabel(L("网址"), {0, 8, 52, 22});
    auto address = addField(site ? site->url : "", "https://example.com", {58, 6, 302, 26});
    alert->accessoryView = accessory;

    platform::Application::shared().activate(true);
    if (!runEditorDialog(*alert, address, {address, name})) return std::nullopt;
    if (!normalizedURL(address->stringValue())) {
        auto refusal = platform::Alert::make();
        refusal->messageText = L("网址不正确");
        refusal->informativeText = L("请输入 http 或 https 网页地址。");
        refusal->addButton(L("好"));
        refusal->runModal();
        return std::nullopt;
    }
    return EditedSite{name->stringValue(), address->stringValue()};
}

// --- Cookies -----------------------------------------------------------------------

void MenuBarWebController::restoreCookies(platform::WebView& into) {
    std::vector<platform::HttpCookie> cookies;
    if (const auto data = UserDefaults::standard().data(cookieArchiveKey)) {
        const std::string json(data->begin(), data->end());
        cookies = MenuBarWebCookieArchive::decode(json).value_or(std::vector<platform::HttpCookie>{});
    }
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    std::weak_ptr<platform::View> weakStore = into.weak_from_this();
    const auto finish = [weak, weakStore] {
        auto self = weak.lock();
        if (!self) return;
        self->isRestoringCookies_ = false;
        self->cookiesRestored_ = true;
        self->loadPendingInitialURL();
        if (auto store = std::static_pointer_cast<platform::WebView>(weakStore.lock())) self->archiveCookies(*store);
    };
    if (cookies.empty()) {
        finish();
        return;
    }
    isRestoringCookies_ = true;
    // Every cookie is in the store before the first page asks for one.
    auto remaining = std::make_shared<std::size_t>(cookies.size());
    for (const auto& cookie : cookies) {
        into.setCookie(cookie, [remaining, finish] {
            if (--*remaining == 0) finish();
        });
    }
}

void MenuBarWebController::cookiesDidChange(platform::WebView& in) {
    // The restore's own changes would archive a half-restored store.
    if (isRestoringCookies_) return;
    archiveCookies(in);
}

void MenuBarWebController::webViewCookiesDidChange(platform::WebView& view) { cookiesDidChange(view); }

void MenuBarWebController::archiveCookies(platform::WebView& store) {
    if (cookieArchiveInFlight_) {
        cookieArchiveAgain_ = true;
        return;
    }
    cookieArchiveInFlight_ = true;
    std::weak_ptr<MenuBarWebController> weak = weak_from_this();
    std::weak_ptr<platform::View> weakStore = store.weak_from_this();
    store.allCookies([weak, weakStore](std::vector<platform::HttpCookie> cookies) {
        auto self = weak.lock();
        if (!self) return;
        self->cookieArchiveInFlight_ = false;
        UserDefaults::standard().set(cookieArchiveKey, bytesOf(MenuBarWebCookieArchive::encode(cookies)));
        if (std::exchange(self->cookieArchiveAgain_, false)) {
            if (auto again = std::static_pointer_cast<platform::WebView>(weakStore.lock())) self->archiveCookies(*again);
        }
    });
}

}  // namespace tallowmere
