#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "localization/interface_language.h"
#include "platform/system/bundle.h"
#include "platform/system/user_defaults.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/gfx/pango_text_measurer.h"
#include "support/desktop/desktop_fixture.h"
#include "webpanel/menu_bar_web_address.h"
#include "webpanel/menu_bar_web_controller.h"
#include "webpanel/menu_bar_web_search_route.h"
#include "webpanel/menu_bar_web_start_page.h"

namespace tallowmere {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(MenuBarWebAddressBarTest, AddressesOpenAndEverythingElseIsSearched) {
    struct Case {
        const char* typed;
        std::optional<std::string> opens;  // none: searched
    } cases[] = {
        {"example.org", "https://example.org"},
        {"example.org/a b", std::nullopt},
        {"example.org\u3000x", std::nullopt},
        {"localhost:8080/docs", "https://localhost:8080/docs"},
        {"localhost", "https://localhost"},
        {"192.168.1.20", "https://192.168.1.20"},
        {"word", std::nullopt},
        {"HTTP://Example.org/x", "HTTP://Example.org/x"},
        {"http://127.0.0.1:9/p?q=1", "http://127.0.0.1:9/p?q=1"},
        {"ftp://x", std::nullopt},
        {"file:///etc/passwd", std::nullopt},
        {"javascript:alert(1)", std::nullopt},
        {"  example.org \n", "https://example.org"},
        {"///", std::nullopt},
        {" \t\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto url = directNavigationURL(c.typed);
        EXPECT_EQ(url ? std::optional<std::string>(url->string()) : std::nullopt, c.opens);
    }
}

TEST(MenuBarWebAddressBarTest, ATunnelOrAnyProxySendsSearchesAbroad) {
    using platform::PropertyValue;
    const auto proxies = [](const char* key, PropertyValue value) {
        return std::optional<PropertyValue>(PropertyValue::Dictionary{{key, std::move(value)}});
    };
    struct Case {
        const char* why;
        std::vector<std::string> interfaces;
        std::optional<PropertyValue> proxies;
        bool abroad;
    } cases[] = {
        {"nothing", {"eth0", "wlan0"}, std::nullopt, false},
        {"a VPN tunnel", {"eth0", "utun3"}, std::nullopt, true},
        {"tun", {"tun0"}, std::nullopt, true},
        {"ppp", {"ppp0"}, std::nullopt, true},
        {"ipsec", {"ipsec1"}, std::nullopt, true},
        {"a name that merely holds tun", {"eth-tun"}, std::nullopt, false},
        {"HTTP proxy on", {"eth0"}, proxies("HTTPEnable", PropertyValue(std::int64_t{1})), true},
        {"HTTP proxy off", {"eth0"}, proxies("HTTPEnable", PropertyValue(std::int64_t{0})), false},
        {"HTTPS proxy on", {}, proxies("HTTPSEnable", PropertyValue(std::int64_t{1})), true},
        {"SOCKS proxy on", {}, proxies("SOCKSEnable", PropertyValue(true)), true},
        {"automatic configuration on", {}, proxies("ProxyAutoConfigEnable", PropertyValue(std::int64_t{1})), true},
        {"a switch that is text", {}, proxies("HTTPEnable", PropertyValue(std::string("1"))), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(prefersInternationalSearch(c.interfaces, c.proxies), c.abroad);
    }
    EXPECT_EQ(searchURL("c++ & 中文", "https://search.example/s")->string(),
              "https://search.example/s?q=c%2B%2B%20%26%20%E4%B8%AD%E6%96%87");
    EXPECT_FALSE(searchURL("x", "not an endpoint"));
}

TEST(MenuBarWebStartPageTest, TheShippedDataHasFiveWebLinksPerGroupInEveryLanguage) {
    const auto& data = MenuBarWebStartPageData::shipped();
    EXPECT_TRUE(normalizedURL(data.domesticSearchEndpoint));
    EXPECT_TRUE(normalizedURL(data.internationalSearchEndpoint));
    for (const auto language : InterfaceLanguage::allCases()) {
        SCOPED_TRACE(std::string(language.caseName()));
        const auto& row = data.recommendationsFor(language.caseName());
        for (const auto* group : {&row.video, &row.search}) {
            ASSERT_EQ(group->size(), 5u);
            for (const auto& link : *group) {
                const auto url = normalizedURL(link.url);
                ASSERT_TRUE(url) << link.url;
                EXPECT_EQ(url->scheme(), "https") << link.url;
            }
        }
    }
    // The regional renderings and Cantonese read the simplified Chinese row.
    for (const auto language : {InterfaceLanguage::simplifiedChinese, InterfaceLanguage::shandongChicken,
                                InterfaceLanguage::shandongFish, InterfaceLanguage::cantonese}) {
        EXPECT_EQ(data.recommendationsFor(InterfaceLanguage(language).caseName()).videoTitle, "推荐视频");
    }
    EXPECT_EQ(data.recommendationsFor("english").searchTitle, "Search engines");
    EXPECT_EQ(data.recommendationsFor("traditionalChineseHongKong").searchTitle, "搜尋器");
    EXPECT_FALSE(MenuBarWebStartPageData::decode(R"({"searchEndpoints":{"domestic":"x"},"recommendations":{}})"));
}

TEST(MenuBarWebStartPageTest, SiteNamesAndAddressesAreTextAndOnlyWebAddressesAreLinks) {
    const MenuBarWebRecommendations links{"V<", "S>", {{"A&B", "https://a.example/?x=1&y=\"2\""}}, {}};
    const std::vector<MenuBarWebSite> sites = {
        {platform::Uuid::random(), R"(<b>"Tom's" & co</b>)", "https://tom.example/"},
        {platform::Uuid::random(), "Script", "javascript:alert(1)"},
    };
    const auto html = makeStartPageHTML(sites, links, "data:image/png;base64,AAAA");
    EXPECT_THAT(html, HasSubstr(R"(<span class="site-title">&lt;b&gt;&quot;Tom&#39;s&quot; &amp; co&lt;/b&gt;</span>)"));
    EXPECT_THAT(html, HasSubstr(R"(<a class="site" href="https://tom.example/">)"));
    EXPECT_THAT(html, Not(HasSubstr("javascript:")));
    EXPECT_THAT(html, HasSubstr(R"(<span class="site"><span class="site-title">Script</span></span>)"));
    EXPECT_THAT(html, HasSubstr(R"(<span>我的网页</span><span class="count">2</span>)"));
    EXPECT_THAT(html, HasSubstr(R"(<a class="engine" href="https://a.example/?x=1&amp;y=&quot;2&quot;">A&amp;B</a>)"));
    EXPECT_THAT(html, HasSubstr(R"(<span>V<</span>)")) << "titles go in as they are";
    EXPECT_THAT(html, HasSubstr(R"(<a class="site add-site" href="tallowmere://add-web" aria-label="添加网页">＋</a>)"));
    EXPECT_THAT(html, HasSubstr(R"(<img class="avatar" src="data:image/png;base64,AAAA" alt="塔洛梅"><h1>塔洛梅网页盒子</h1>)"));
    EXPECT_THAT(html, Not(HasSubstr("class=\"empty\"")));
    EXPECT_THAT(makeStartPageHTML({}, links, ""), HasSubstr(R"(<span class="empty">还没有添加网页</span>)"));
}

class MenuBarWebStartPageControllerTest : public testing::DesktopTest {};

TEST_F(MenuBarWebStartPageControllerTest, TheStartPageFollowsTheLanguageAndCarriesTheProgramsAvatar) {
    auto& controller = MenuBarWebController::shared();
    InterfaceLanguage::setCurrent(InterfaceLanguage::english);
    auto html = controller.customHomeHTML();
    EXPECT_THAT(html, HasSubstr("<span>Popular video</span>"));
    EXPECT_THAT(html, HasSubstr("src=\"data:image/png;base64,iVBOR")) << "the avatar is not the bundle's PNG";
    InterfaceLanguage::setCurrent(InterfaceLanguage::cantonese);
    EXPECT_THAT(controller.customHomeHTML(), HasSubstr("<span>推荐视频</span>"));
    platform::Bundle::main().setResource("StatusPixelTallowmere", "png", std::nullopt);
    EXPECT_THAT(controller.customHomeHTML(), HasSubstr("<img class=\"avatar\" src=\"\""));
}

TEST_F(MenuBarWebStartPageControllerTest, WritesAPictureOfTheSubmenu) {
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    InterfaceLanguage::setCurrent(InterfaceLanguage::simplifiedChinese);
    const std::vector<MenuBarWebSite> sites = {{platform::Uuid::random(), "工作台", "https://work.example/"},
                                               {platform::Uuid::random(), "Docs", "https://docs.example/"}};
    const std::string json = MenuBarWebStoredState::encodeSites(sites);
    platform::UserDefaults::standard().set(MenuBarWebController::storageKey, platform::Data(json.begin(), json.end()));
    auto item = MenuBarWebController::shared().makeMenuItem();
    item->submenu()->popUp(nullptr, platform::ScreenPoint{900, 860});
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "webpanel-pictures";
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(platform::ScreenSnapshot::writePng(folder / "web-submenu.png").ok());
    EXPECT_TRUE(menus.isOpen());
}

}  // namespace
}  // namespace tallowmere
