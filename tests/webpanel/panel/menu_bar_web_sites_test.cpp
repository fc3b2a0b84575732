#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/desktop/pasteboard.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/event_monitors.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/text_field.h"
#include "support/desktop/desktop_fixture.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_cookie_archive.h"
#include "webpanel/menu_bar_web_stored_state.h"

namespace tallowmere {
namespace {

using platform::Alert;
using platform::MenuItem;
namespace ModalResponses = platform::ModalResponses;
using platform::UserDefaults;
using ::testing::ElementsAre;

class MenuBarWebSitesTest : public testing::DesktopTest {
protected:
    MenuBarWebSitesTest() { InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese); }

    MenuBarWebController& controller() { return MenuBarWebController::shared(); }

    static std::vector<std::string> titles(const platform::Menu& menu) {
        std::vector<std::string> result;
        for (const auto& item : menu.items()) result.push_back(item->isSeparatorItem() ? "—" : item->title());
        return result;
    }
    static std::shared_ptr<MenuItem> item(const platform::Menu& menu, const std::string& title) {
        for (const auto& each : menu.items()) {
            if (each->title() == title) return each;
        }
        ADD_FAILURE() << "no item " << title << " in " << ::testing::PrintToString(titles(menu));
        return MenuItem::make("(missing)");
    }
    static std::vector<std::shared_ptr<platform::TextField>> fields(const Alert& alert) {
        std::vector<std::shared_ptr<platform::TextField>> result;
        for (const auto& view : alert.accessoryView->subviews()) {
            auto field = std::dynamic_pointer_cast<platform::TextField>(view);
            if (field && field->isEditable()) result.push_back(field);
        }
        return result;
    }
    // Answers the next dialog with the name and address typed in.
    void typeInDialog(std::string name, std::string address, platform::ModalResponse button = ModalResponses::alertFirstButton) {
        alerts.answerWith([=](Alert& dialog) {
            auto inputs = fields(dialog);
            inputs.at(0)->setStringValue(name);
            inputs.at(1)->setStringValue(address);
            return button;
        });
    }
    void addSite(std::string name, std::string address) {
        typeInDialog(std::move(name), std::move(address));
        controller().addSite();
    }
    std::vector<MenuBarWebSite> storedSites() {
        const auto data = UserDefaults::standard().data(MenuBarWebController::storageKey);
        if (!data) return {};
        return MenuBarWebStoredState::decodeSites(std::string(data->begin(), data->end())).value_or(std::vector<MenuBarWebSite>{});
    }
};

TEST_F(MenuBarWebSitesTest, WithoutSitesTheSubmenuSaysSoAndCannotManage) {
    platform::Pasteboard::general().clearContents();
    const auto top = controller().makeMenuItem();
    EXPECT_EQ(top->title(), "菜单栏网页");
    ASSERT_TRUE(top->submenu());
    const auto& menu = *top->submenu();
    EXPECT_EQ(menu.title(), "菜单栏网页");
    EXPECT_THAT(titles(menu), ElementsAre("还没有添加网页", "—", "黑白色调", "—", "打开剪贴板网址", "添加网页…", "管理网页"));
    EXPECT_FALSE(item(menu, "还没有添加网页")->canBeChosen());
    EXPECT_FALSE(item(menu, "管理网页")->isEnabled());
    EXPECT_FALSE(item(menu, "打开剪贴板网址")->isEnabled());
    EXPECT_TRUE(item(menu, "添加网页…")->canBeChosen());
}

TEST_F(MenuBarWebSitesTest, AddingWithoutANameUsesTheHostAndPutsHttpsInFront) {
    addSite("  ", "example.org/docs?x=1");
    ASSERT_EQ(controller().sites().size(), 1u);
    EXPECT_EQ(controller().sites()[0].name, "example.org");
    EXPECT_EQ(controller().sites()[0].url, "https://example.org/docs?x=1");
    EXPECT_EQ(storedSites(), controller().sites()) << "the new site was not stored";
    EXPECT_EQ(controller().currentHomeURL()->string(), "https://example.org/docs?x=1");
    const auto& dialog = alerts.last();
    EXPECT_EQ(dialog.messageText, "添加菜单栏网页");
    EXPECT_EQ(dialog.informativeText, "网页会在塔洛梅的紧凑窗口中打开。");
    EXPECT_THAT(dialog.buttons, ElementsAre("保存", "取消"));
}

TEST_F(MenuBarWebSitesTest, ABadAddressIsRefusedAndCancellingAddsNothing) {
    for (const char* address : {"ftp://x", "   ", "javascript:alert(1)", "https://"}) {
        SCOPED_TRACE(address);
        const auto shown = alerts.count();
        addSite("Name", address);
        ASSERT_EQ(alerts.count(), shown + 2);
        EXPECT_EQ(alerts.last().messageText, "网址不正确");
        EXPECT_EQ(alerts.last().informativeText, "请输入 http 或 https 网页地址。");
        EXPECT_THAT(alerts.last().buttons, ElementsAre("好"));
    }
    typeInDialog("Name", "example.org", ModalResponses::alertFirstButton + 1);
    controller().addSite();
    EXPECT_TRUE(controller().sites().empty());
    EXPECT_FALSE(UserDefaults::standard().data(MenuBarWebController::storageKey));
}

TEST_F(MenuBarWebSitesTest, TwoSitesOfOneNameAreEditedAndRemovedByTheirOwnId) {
    addSite("Twin", "https://one.example/");
    addSite("Twin", "https://two.example/");
    platform::Pasteboard::general().clearContents();
    platform::Pasteboard::general().setString("  two.example/path ");
    auto top = controller().makeMenuItem();
    const auto& menu = *top->submenu();
    EXPECT_THAT(titles(menu), ElementsAre("Twin", "Twin", "—", "黑白色调", "—", "打开剪贴板网址", "添加网页…", "管理网页"));
    EXPECT_TRUE(item(menu, "打开剪贴板网址")->isEnabled());
    auto manage = item(menu, "管理网页");
    EXPECT_TRUE(manage->isEnabled());
    EXPECT_THAT(titles(*manage->submenu()), ElementsAre("编辑 Twin…", "编辑 Twin…", "—", "删除 Twin", "删除 Twin"));

    // The second "编辑" edits the second site only, in place.
    auto secondEdit = manage->submenu()->items()[1];
    alerts.answerWith([](Alert& dialog) {
        auto inputs = fields(dialog);
        EXPECT_EQ(inputs.at(0)->stringValue(), "Twin");
        EXPECT_EQ(inputs.at(1)->stringValue(), "https://two.example/");
        inputs.at(0)->setStringValue(" Second\n");
        inputs.at(1)->setStringValue("HTTP://two.example/new");
        return ModalResponses::alertFirstButton;
    });
    secondEdit->action(*secondEdit);
    EXPECT_EQ(alerts.last().messageText, "编辑菜单栏网页");
    ASSERT_EQ(controller().sites().size(), 2u);
    EXPECT_EQ(controller().sites()[0].name, "Twin");
    EXPECT_EQ(controller().sites()[1].name, "Second");
    EXPECT_EQ(controller().sites()[1].url, "HTTP://two.example/new");
    const auto secondId = controller().sites()[1].id;

    // The first "删除" removes the first site only, after asking.
    auto firstRemove = manage->submenu()->items()[3];
    alerts.answer(ModalResponses::alertFirstButton);
    firstRemove->action(*firstRemove);
    EXPECT_EQ(alerts.last().messageText, "删除“Twin”？");
    EXPECT_EQ(alerts.last().informativeText, "只会移除菜单栏入口，不会影响网站数据。");
    EXPECT_THAT(alerts.last().buttons, ElementsAre("删除", "取消"));
    ASSERT_EQ(controller().sites().size(), 1u);
    EXPECT_EQ(controller().sites()[0].id, secondId);
    EXPECT_EQ(storedSites(), controller().sites());

    // Cancelling the question keeps the site.
    auto secondRemove = manage->submenu()->items()[4];
    alerts.answer(ModalResponses::alertFirstButton + 1);
    secondRemove->action(*secondRemove);
    EXPECT_EQ(controller().sites().size(), 1u);
}

TEST_F(MenuBarWebSitesTest, AMenuObjectThatNamesNoSiteDoesNothing) {
    addSite("Kept", "https://kept.example/");
    auto top = controller().makeMenuItem();
    auto stale = item(*top->submenu(), "Kept");
    alerts.answer(ModalResponses::alertFirstButton);
    auto remove = top->submenu()->items().back()->submenu()->items().back();
    remove->action(*remove);
    ASSERT_TRUE(controller().sites().empty());
    const auto shown = alerts.count();

    const std::any objects[] = {std::any(), std::any(42), std::any(std::string("not-a-uuid")),
                                std::any(std::string(platform::Uuid::random().uuidString())),
                                *std::any_cast<std::string>(&stale->representedObject())};
    for (const auto& object : objects) {
        auto sender = MenuItem::make("x");
        sender->setRepresentedObject(object);
        controller().openSiteFromMenu(*sender);
        controller().editSite(*sender);
        controller().removeSite(*sender);
    }
    // Clipboard text that is no web address opens nothing either.
    for (const char* text : {"two words", "ftp://x", "javascript:alert(1)", " "}) {
        SCOPED_TRACE(text);
        platform::Pasteboard::general().clearContents();
        platform::Pasteboard::general().setString(text);
        EXPECT_FALSE(item(*controller().makeMenuItem()->submenu(), "打开剪贴板网址")->isEnabled());
        controller().openClipboardURL();
    }
    EXPECT_EQ(alerts.count(), shown) << "an action on no site asked something";
    EXPECT_EQ(controller().currentHomeURL()->string(), "https://kept.example/") << "only the add presented a page";
}

TEST_F(MenuBarWebSitesTest, CommandVPastesIntoTheDialogsFieldsOnly) {
    platform::Pasteboard::general().clearContents();
    platform::Pasteboard::general().setString("example.net");
    controller();
    const auto monitors = platform::EventMonitors::shared().localMonitorCount();
    alerts.answerWith([this](Alert& dialog) {
        auto inputs = fields(dialog);
        EXPECT_EQ(dialog.window()->firstResponder(), inputs.at(1)) << "the address has the keys at first";
        keyboard.press('c', platform::ModifierFlags{platform::ModifierFlags::command});
        keyboard.press('v', platform::ModifierFlags{platform::ModifierFlags::command});
        dialog.window()->makeFirstResponder(inputs.at(0));
        keyboard.press('v', platform::ModifierFlags{platform::ModifierFlags::command | platform::ModifierFlags::option});
        EXPECT_EQ(inputs.at(0)->stringValue(), "") << "Command-Option-V pasted";
        return ModalResponses::alertFirstButton;
    });
    controller().addSite();
    ASSERT_EQ(controller().sites().size(), 1u);
    EXPECT_EQ(controller().sites()[0].url, "https://example.net");
    EXPECT_EQ(platform::EventMonitors::shared().localMonitorCount(), monitors) << "the paste keys outlived the dialog";
}

TEST_F(MenuBarWebSitesTest, AnUnreadableSiteListIsKeptAsideBeforeItIsReplaced) {
    const std::string unreadable = R"([{"id":"x","name":"Lost"}])";
    UserDefaults::standard().set(MenuBarWebController::storageKey, platform::Data(unreadable.begin(), unreadable.end()));
    EXPECT_TRUE(controller().sites().empty());
    const auto folder = platform::Paths::applicationSupport() / ProductIdentity::bundleIdentifier;
    std::vector<std::filesystem::path> kept;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with("menuBarWebSites.json.unreadable-")) kept.push_back(entry.path());
    }
    ASSERT_EQ(kept.size(), 1u) << "the unreadable list was not kept";
    EXPECT_EQ(platform::Files::readText(kept[0]).value(), unreadable);
    addSite("New", "https://new.example/");
    EXPECT_EQ(storedSites().size(), 1u);
}

TEST(MenuBarWebCookieArchiveTest, EveryFieldIsCheckedAndABadRecordCostsOnlyItself) {
    using platform::HttpCookie;
    const std::vector<HttpCookie> cookies = {
        {"sid", "a=b c", "127.0.0.1", "/", 1900000000.5, true, true, "Lax"},
        {"pref", "", ".example.org", "/app", std::nullopt, false, false, ""},
    };
    const auto archived = MenuBarWebCookieArchive::encode(cookies);
    EXPECT_EQ(MenuBarWebCookieArchive::decode(archived), cookies);
    EXPECT_THAT(archived, ::testing::HasSubstr(R"("expires":null,"secure":false,"httpOnly":false,"sameSite":"","session":true)"));

    const std::string good = R"({"name":"n","value":"v","domain":"d.example","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":"Strict","session":false})";
    struct Case {
        const char* why;
        std::string record;
    } bad[] = {
        {"a field missing", R"({"name":"n","value":"v","domain":"d","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":""})"},
        {"a number for a string", R"({"name":1,"value":"v","domain":"d","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"a string for a flag", R"({"name":"n","value":"v","domain":"d","path":"/","expires":5,"secure":"yes","httpOnly":false,"sameSite":"","session":false})"},
        {"no domain", R"({"name":"n","value":"v","domain":"","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"a relative path", R"({"name":"n","value":"v","domain":"d","path":"x","expires":5,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"a header split in the value", R"({"name":"n","value":"v\r\nSet-Cookie: x","domain":"d","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"a separator in the name", R"({"name":"a;b","value":"v","domain":"d","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"an unknown same-site rule", R"({"name":"n","value":"v","domain":"d","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":"Loose","session":false})"},
        {"a session cookie with an expiry", R"({"name":"n","value":"v","domain":"d","path":"/","expires":5,"secure":false,"httpOnly":false,"sameSite":"","session":true})"},
        {"a lasting cookie without one", R"({"name":"n","value":"v","domain":"d","path":"/","expires":null,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"an expiry past year 9999", R"({"name":"n","value":"v","domain":"d","path":"/","expires":1e300,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"a negative expiry", R"({"name":"n","value":"v","domain":"d","path":"/","expires":-1,"secure":false,"httpOnly":false,"sameSite":"","session":false})"},
        {"not a record", "[1]"},
    };
    for (const auto& c : bad) {
        SCOPED_TRACE(c.why);
        const auto decoded = MenuBarWebCookieArchive::decode("[" + c.record + "," + good + "]");
        ASSERT_TRUE(decoded);
        ASSERT_EQ(decoded->size(), 1u);
        EXPECT_EQ(decoded->front().sameSite, "Strict");
    }
    for (const char* notAList : {"", "{}", "not json", "\"[]\""}) {
        SCOPED_TRACE(notAList);
        EXPECT_FALSE(MenuBarWebCookieArchive::decode(notAList));
    }
}

}  // namespace
}  // namespace tallowmere
