#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "localization/interface_language.h"
#include "platform/desktop/desktop.h"
#include "platform/system/files.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/application.h"
#include "platform/ui/text_field.h"
#include "support/web/web_test.h"
#include "webpanel/web/menu_bar_web_engine_fixture.h"

namespace tallowmere {
namespace {

using platform::UserDefaults;
using testing::LocalWebServer;
using testing::MenuBarWebPanelEngineTest;
using testing::runEngineFor;
using testing::waitUntil;

class MenuBarWebAddressEngineTest : public MenuBarWebPanelEngineTest {
protected:
    void SetUp() override {
        MenuBarWebPanelEngineTest::SetUp();
        InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
        // No proxy of this machine's own decides where a search goes.
        desktop.proxySettings().setProxies(platform::PropertyValue::Dictionary{});
        for (const char* path : {"/domestic", "/international"}) {
            server.route(path, [path](const LocalWebServer::Request&) {
                return LocalWebServer::Response{200, "text/html; charset=utf-8", std::string("<title>") + path + "</title>", {}};
            });
        }
        useInterfaces({"eth0"});
        launchController();
    }

    // A controller as a new launch makes it, from what is stored now,
    // searching on the local server.
    void launchController() {
        platform::AppContext::current().setShared(MenuBarWebController::makeShared());
        auto data = MenuBarWebStartPageData::shipped();
        data.domesticSearchEndpoint = server.url("/domestic");
        data.internationalSearchEndpoint = server.url("/international");
        controller().setStartPageData(data);
        controller().setNetworkInterfaceReader(interfaceReader_);
    }

    // The interfaces that are up, as the kernel's tables would list them.
    void useInterfaces(const std::vector<std::string>& names) {
        const auto folder = std::filesystem::path(std::getenv("HOME")) / "proc";
        std::string table = "Inter-|   Receive |  Transmit\n face |bytes packets|bytes packets\n";
        for (const auto& name : names) {
            table += name + ": 100 1 0 0 0 0 0 0 200 2 0 0 0 0 0 0\n";
            std::filesystem::create_directories(folder / "net" / name);
            ASSERT_TRUE(platform::Files::writeAtomically(folder / "net" / name / "flags", std::string("0x1003\n")));
        }
        ASSERT_TRUE(platform::Files::writeAtomically(folder / "dev", table));
        interfaceReader_ = platform::NetworkInterfaceReader(
            {(folder / "dev").string(), (folder / "net").string(), (folder / "route").string()});
        if (MenuBarWebController* current = platform::AppContext::current().sharedIfMade<MenuBarWebController>()) {
            current->setNetworkInterfaceReader(interfaceReader_);
        }
    }

    void type(const std::string& text) {
        controller().addressField()->setStringValue(text);
        controller().addressSubmitted();
    }

    std::string lastQuery(const std::string& path) {
        std::string query;
        for (const auto& request : server.requests()) {
            if (request.path == path) query = request.query;
        }
        return query;
    }

    // Waits until the page's picture shows the start page's light or dark
    // background, then writes the panel's picture.
    void writeStartPagePicture(const std::string& name, bool dark) {
        ASSERT_TRUE(waitUntil([&] {
            const auto corner = controller().webView()->pagePicture().pixel(4, 4);
            return dark ? corner.red < 80 : corner.red > 200 && corner.alpha == 255;
        }) && waitUntil([&] { return controller().addressField()->stringValue() == "首页"; })) << name << " never painted";
        writePicture(name);
    }

    bool titleIs(const std::string& title) { return controller().panel() && controller().panel()->title() == title; }

    platform::NetworkInterfaceReader interfaceReader_;
};

TEST_F(MenuBarWebAddressEngineTest, TypedAddressesLoadAndWordsGoToTheSearchTheNetworkCalls) {
    controller().showCustomHome();
    type(server.url("/basic.html"));
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); }));
    EXPECT_FALSE(controller().isShowingCustomHome());

    type("  tallowmere web box ");
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/domestic"); }));
    EXPECT_EQ(lastQuery("/domestic"), "q=tallowmere%20web%20box");

    useInterfaces({"eth0", "tun0"});
    type("c++");
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/international"); }));
    EXPECT_EQ(lastQuery("/international"), "q=c%2B%2B");

    useInterfaces({"eth0"});
    desktop.proxySettings().setProxies(platform::PropertyValue::Dictionary{
        {"HTTPEnable", platform::PropertyValue(std::int64_t{1})}});
    type("proxy on");
    ASSERT_TRUE(waitUntil([&] { return lastQuery("/international") == "q=proxy%20on" && pageFinished("/international"); }));

    const auto requests = server.requests().size();
    type(" \n ");
    runEngineFor(0.3);
    EXPECT_EQ(server.requests().size(), requests) << "white space loaded something";
}

TEST_F(MenuBarWebAddressEngineTest, ThePanelTitleIsThePagesTitleOrTheWebPanelsName) {
    server.route("/untitled", [](const LocalWebServer::Request&) {
        return LocalWebServer::Response{200, "text/html; charset=utf-8", "<p>no title</p>", {}};
    });
    // The title comes from a script after the page has loaded.
    server.route("/late-title", [](const LocalWebServer::Request&) {
        return LocalWebServer::Response{200, "text/html; charset=utf-8",
                                        "<script>setTimeout(() => { document.title = 'Late'; }, 0)</script>", {}};
    });
    controller().showCustomHome();
    ASSERT_TRUE(waitUntil([&] { return !controller().webView()->isLoading(); }));
    EXPECT_EQ(controller().panel()->title(), "首页");
    ASSERT_TRUE(waitUntil([&] { return controller().addressField()->stringValue() == "首页"; }))
        << "the start page's finish did not put its name back";

    type(server.url("/basic.html"));
    ASSERT_TRUE(waitUntil([&] { return titleIs("Basic page"); }));
    EXPECT_EQ(controller().addressField()->stringValue(), server.url("/basic.html"));
    EXPECT_EQ(UserDefaults::standard().string(MenuBarWebController::lastURLKey), server.url("/basic.html"));

    type(server.url("/untitled"));
    ASSERT_TRUE(waitUntil([&] { return titleIs("菜单栏网页"); }));
    type(server.url("/late-title"));
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/late-title") && !titleIs("菜单栏网页"); }));
    EXPECT_EQ(controller().panel()->title(), "Late");
}

TEST_F(MenuBarWebAddressEngineTest, OnlyTheStartPagesPlusOpensTheAddDialogAndTheStartPageStays) {
    controller().showCustomHome();
    ASSERT_TRUE(waitUntil([&] { return !controller().webView()->isLoading(); }));
    alerts.answer(platform::ModalResponses::alertFirstButton + 1);
    evaluate("document.querySelector('.add-site').click(), 1");
    ASSERT_TRUE(waitUntil([&] { return alerts.count() == 1; })) << "the add dialog did not open";
    EXPECT_EQ(alerts.last().messageText, "添加菜单栏网页");
    runEngineFor(0.2);
    EXPECT_TRUE(controller().isShowingCustomHome());
    EXPECT_EQ(evaluate("document.querySelectorAll('.add-site').length"), "1") << "the start page went away";

    controller().present(*platform::Url::parse(server.url("/links.html")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/links.html"); }));
    evaluate("document.getElementById('add').click(), 1");
    runEngineFor(0.5);
    EXPECT_EQ(alerts.count(), 1u) << "a web page opened the add dialog";
    EXPECT_TRUE(pageFinished("/links.html"));
}

TEST_F(MenuBarWebAddressEngineTest, NewWindowsOpenInThePanelOnlyForWebPages) {
    controller().present(*platform::Url::parse(server.url("/links.html")), false);
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/links.html"); }));
    evaluate("document.getElementById('blank').click(), 1");
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/child.html"); })) << "target=_blank opened nothing";

    evaluate("window.open('" + server.url("/basic.html") + "'), 1");
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); })) << "window.open opened nothing";

    const auto file = std::filesystem::path(std::getenv("HOME")) / "local.html";
    ASSERT_TRUE(platform::Files::writeAtomically(file, std::string("<title>Local</title>")));
    evaluate("window.open('file://" + file.string() + "'), 1");
    evaluate("window.open('data:text/html,<title>Data</title>'), 1");
    runEngineFor(0.5);
    EXPECT_TRUE(pageFinished("/basic.html")) << "a new window left the web";
    EXPECT_EQ(windows.visible().size(), 1u);
}

TEST_F(MenuBarWebAddressEngineTest, SiteNamesAreTextOnTheStartPageInLightAndDark) {
    const std::vector<MenuBarWebSite> sites = {
        {platform::Uuid::random(), R"(<img src=x onerror="document.title='owned'">Tom's & co)", server.url("/basic.html")},
        {platform::Uuid::random(), "工作台", "https://work.example/"},
        {platform::Uuid::random(), "Script", "javascript:document.title='owned'"},
    };
    const std::string json = MenuBarWebStoredState::encodeSites(sites);
    UserDefaults::standard().set(MenuBarWebController::storageKey, platform::Data(json.begin(), json.end()));
    launchController();
    controller().installStatusItems();
    controller().showCustomHome();
    controller().preparePausedPanelPresentation();
    ASSERT_TRUE(waitUntil([&] { return !controller().webView()->isLoading(); }));
    EXPECT_EQ(evaluate("document.querySelector('.site-title').textContent"), "\"" + std::string(R"(<img src=x onerror=\"document.title='owned'\">Tom's & co)") + "\"");
    EXPECT_EQ(evaluate("document.querySelectorAll('a.site:not(.add-site)').length"), "2");
    EXPECT_EQ(evaluate("document.querySelector('.count').textContent"), "\"3\"");
    EXPECT_EQ(evaluate("document.title"), "\"\"");
    EXPECT_EQ(evaluate("getComputedStyle(document.body).color"), "\"rgb(41, 37, 31)\"");
    writeStartPagePicture("start-page-zh-light", false);

    platform::Application::shared().setAppearance(platform::Appearance::dark);
    controller().showCustomHome();
    ASSERT_TRUE(waitUntil([&] { return evaluate("getComputedStyle(document.body).color") == "\"rgb(244, 234, 220)\""; }))
        << "the start page stayed light on a dark desktop";
    writeStartPagePicture("start-page-zh-dark", true);

    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    controller().showCustomHome();
    ASSERT_TRUE(waitUntil([&] { return evaluate("document.querySelectorAll('.section-title span')[2].textContent") == "\"Popular video\""; }));
    writeStartPagePicture("start-page-en-dark", true);
    platform::Application::shared().setAppearance(platform::Appearance::light);
    controller().showCustomHome();
    ASSERT_TRUE(waitUntil([&] { return evaluate("getComputedStyle(document.body).color") == "\"rgb(41, 37, 31)\""; }));
    writeStartPagePicture("start-page-en-light", false);

    // Following a site's link leaves the start page for the site.
    evaluate("document.querySelector('a.site').click(), 1");
    ASSERT_TRUE(waitUntil([&] { return pageFinished("/basic.html"); }));
    ASSERT_TRUE(waitUntil([&] { return !controller().isShowingCustomHome(); }));
    EXPECT_EQ(controller().currentHomeURL()->string(), server.url("/basic.html"));
}

}  // namespace
}  // namespace tallowmere
