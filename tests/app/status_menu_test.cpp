#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/app_delegate.h"
#include "app_delegate_fixture.h"
#include "localization/interface_language.h"
#include "platform/base/uuid.h"
#include "platform/desktop/desktop.h"
#include "platform/system/bundle.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/menu_layout.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/screen_snapshot.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/ui/status_item.h"
#include "platform/ui/ui_trace.h"
#include "windows/layout_store.h"
#include "windows/window_pin_controller.h"

namespace tallowmere::testing {
namespace {

using platform::MenuItemState;
using platform::PropertyValue;

// One row of a menu as a person sees it: the title, the check mark, whether
// it can be chosen, and how many items its submenu holds (-1: none).
struct Row {
    std::string title;
    bool checked = false;
    bool enabled = true;
    int submenu = -1;
    bool operator==(const Row&) const = default;
};
const Row separator{"—", false, false, -1};

void PrintTo(const Row& row, std::ostream* out) {
    *out << "{\"" << row.title << "\", " << (row.checked ? "checked" : "unchecked") << ", "
         << (row.enabled ? "enabled" : "disabled") << ", " << row.submenu << "}";
}

std::vector<Row> rowsOf(const platform::Menu& menu) {
    std::vector<Row> rows;
    for (const auto& item : menu.items()) {
        if (item->isSeparatorItem()) {
            rows.push_back(separator);
            continue;
        }
        auto submenu = item->submenu();
        rows.push_back({item->displayedTitle(), item->state() == MenuItemState::on, item->canBeChosen(),
                        submenu ? static_cast<int>(submenu->numberOfItems()) : -1});
    }
    return rows;
}

class StatusMenuTest : public AppDelegateTest {
protected:
    void start() {
        launch({"--finder-action"});
        runUntilIdle();
    }
    // Opens the status menu as a person does, by clicking the main item.
    std::shared_ptr<platform::Menu> openStatusMenu() {
        menuBar.click(*delegate().statusItem());
        EXPECT_TRUE(menus.isOpen()) << "a click on the main item opens the status menu";
        return menus.openMenu() ? menus.openMenu() : platform::Menu::make();
    }
    std::shared_ptr<platform::MenuItem> item(const std::string& title) {
        auto found = menus.find(title);
        EXPECT_TRUE(found) << "no item \"" << title << "\" in the open menu";
        return found ? found : platform::MenuItem::make("");
    }
    void addLayout(const std::string& name) {
        delegate().layoutStore()->layouts.push_back({platform::Uuid::random(), name, platform::Date()});
    }
};

TEST_F(StatusMenuTest, ReadsInOrderWithItsMarksAndSubmenusInEachLanguage) {
    struct Case {
        InterfaceLanguage language;
        std::vector<Row> rows;
    } cases[] = {
        {InterfaceLanguage::simplifiedChinese, {
        {"打开主界面", false, true, -1},
        {"关于 塔洛梅百宝箱", false, true, -1},
        separator,
        {"开启一个番茄闹钟", false, true, -1},
        {"自定义番茄时间", false, true, -1},
        separator,
        {"保存工作区位置（需授权）", false, false, -1},
        {"恢复工作区位置（需授权）", false, false, 1},
        {"钉住当前窗口（只读镜像）", false, true, -1},
        separator,
        {"截图", false, true, -1},
        {"取色器", false, true, -1},
        {"取色历史", false, true, 1},
        {"Hosts 编辑", false, true, -1},
        {"Hosts 快速选择", false, true, 3},
        {"新建文件", false, true, 1},
        {"复制地址（需授权）", false, true, -1},
        separator,
        {"来点儿音乐", false, true, 3},
        {"AI导航", false, true, 8},
        {"菜单栏网页", false, true, 7},
        {"倒数日：设置", false, true, -1},
        {"Emoji", false, true, -1},
        separator,
        {"召唤10只work buddy", false, true, -1},
        {"让它们回家", false, true, -1},
        {"让它们消失", false, true, -1},
        separator,
        {"召唤灯球", false, true, -1},
        separator,
        {"状态栏播放器控件", false, true, -1},
        {"网络流量显示", false, true, -1},
        {"✓  开启代理统计", false, false, -1},
        separator,
        {"日历", true, true, -1},
        separator,
        {"投屏模式切换（未连接外接显示器）", false, false, 2},
        {"会议休息倒计时", false, true, 5},
        {"小黑板", false, true, 7},
        separator,
        {"保持亮屏 · 未启用", false, true, 8},
        {"倒计时锁屏 · 未启用", false, true, 16},
        {"定时关机 · 未启用", false, true, 7},
        separator,
        {"默认输入法 · 跟随系统", false, true, 8},
        {"亮度调节", false, true, 1},
        {"登录时自动启动", false, true, -1},
        separator,
        {"退出应用 塔洛梅百宝箱", false, true, -1},
        }},
        {InterfaceLanguage::english, {
        {"Open Main Window", false, true, -1},
        {"About Tallowmere Sparkwell", false, true, -1},
        separator,
        {"Start a Pomodoro Timer", false, true, -1},
        {"Custom Pomodoro Length", false, true, -1},
        separator,
        {"Save Workspace Layout（Permission Needed）", false, false, -1},
        {"Restore Workspace Layout（Permission Needed）", false, false, 1},
        {"Pin Current Window (Read-Only Mirror)", false, true, -1},
        separator,
        {"Screenshot", false, true, -1},
        {"Color Picker", false, true, -1},
        {"Color History", false, true, 1},
        {"Edit Hosts", false, true, -1},
        {"Switch Hosts Profile", false, true, 3},
        {"New File", false, true, 1},
        {"Copy Path（Permission Needed）", false, true, -1},
        separator,
        {"Play Some Music", false, true, 3},
        {"AI Navigation", false, true, 8},
        {"Menu Bar Browser", false, true, 7},
        {"Countdown: Set Up", false, true, -1},
        {"Emoji", false, true, -1},
        separator,
        {"Show 10 Desktop Buddies", false, true, -1},
        {"Send Buddies Home", false, true, -1},
        {"Hide All Buddies", false, true, -1},
        separator,
        {"Show Disco Ball", false, true, -1},
        separator,
        {"Menu Bar Player Controls", false, true, -1},
        {"Show Network Traffic", false, true, -1},
        {"✓  Enable Proxy Traffic", false, false, -1},
        separator,
        {"Calendar", true, true, -1},
        separator,
        {"Projection Mode (No External Display)", false, false, 2},
        {"Meeting Break Timer", false, true, 5},
        {"Blackboard", false, true, 7},
        separator,
        {"Keep Display Awake · Off", false, true, 8},
        {"倒计时锁屏 · 未启用", false, true, 16},
        {"Scheduled Shutdown · Off", false, true, 7},
        separator,
        {"Default Input Source · Follow System", false, true, 8},
        {"亮度调节", false, true, 1},
        {"Open at Login", false, true, -1},
        separator,
        {"Quit Tallowmere Sparkwell", false, true, -1},
        }},
        {InterfaceLanguage::shandongChicken, {
        {"打开主界面瞅瞅", false, true, -1},
        {"关于 塔洛梅百宝箱", false, true, -1},
        separator,
        {"开个番茄闹钟", false, true, -1},
        {"番茄时间自己定", false, true, -1},
        separator,
        {"把工作区位置存上（得给权限）", false, false, -1},
        {"把工作区位置整回来（得给权限）", false, false, 1},
        {"把当前窗口钉上（光能看不能动）", false, true, -1},
        separator,
        {"截图", false, true, -1},
        {"取色器", false, true, -1},
        {"取色历史", false, true, 1},
        {"Hosts 编辑", false, true, -1},
        {"Hosts 快速选择", false, true, 3},
        {"新弄个文件", false, true, 1},
        {"复制个地址（得给权限）", false, true, -1},
        separator,
        {"整点儿音乐", false, true, 3},
        {"AI导航", false, true, 8},
        {"菜单栏上的网页", false, true, 7},
        {"倒数日：设置", false, true, -1},
        {"Emoji", false, true, -1},
        separator,
        {"召唤10只work buddy", false, true, -1},
        {"让它们回家", false, true, -1},
        {"让它们消失", false, true, -1},
        separator,
        {"召唤灯球", false, true, -1},
        separator,
        {"状态栏播放器控件", false, true, -1},
        {"显示上网流量", false, true, -1},
        {"✓  把代理流量也算上", false, false, -1},
        separator,
        {"日历", true, true, -1},
        separator,
        {"投屏模式切换（未连接外接显示器）", false, false, 2},
        {"会议休息倒计时", false, true, 5},
        {"小黑板", false, true, 7},
        separator,
        {"屏幕一直亮着 · 没开", false, true, 8},
        {"倒计时锁屏 · 未启用", false, true, 16},
        {"到点关机 · 没开", false, true, 7},
        separator,
        {"默认输入法 · 跟着系统走", false, true, 8},
        {"亮度调节", false, true, 1},
        {"开机就自个儿启动", false, true, -1},
        separator,
        {"退出 塔洛梅百宝箱", false, true, -1},
        }},
    };
    start();
    // The language is read at every opening: no restart is needed.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language.caseName());
        InterfaceLanguage::setCurrent(c.language);
        EXPECT_EQ(rowsOf(*openStatusMenu()), c.rows);
        menus.dismiss();
    }
}

TEST_F(StatusMenuTest, WorkspaceItemsFollowTrustMemoryLayoutsAndThePin) {
    struct Case {
        const char* name;
        bool trusted;
        bool workspaceMemory;
        std::vector<std::string> layouts;
        std::optional<std::string> pinnedTitle;
        // What a person sees.
        std::string saveTitle;
        bool saveEnabled;
        std::vector<Row> restoreRows;
        std::string copyTitle;
        Row pinRow;
    } cases[] = {
        {"untrusted, nothing saved", false, true, {}, std::nullopt, "保存工作区位置（需授权）", false,
         {{"暂无已保存布局", false, false, -1}}, "复制地址（需授权）",
         {"钉住当前窗口（只读镜像）", false, true, -1}},
        {"untrusted with layouts", false, true, {"早上", "晚上"}, std::nullopt, "保存工作区位置（需授权）", false,
         {{"早上", false, false, -1}, {"晚上", false, false, -1}}, "复制地址（需授权）",
         {"钉住当前窗口（只读镜像）", false, true, -1}},
        {"trusted with layouts", true, true, {"早上", "晚上"}, std::nullopt, "保存工作区位置", true,
         {{"早上", false, true, -1}, {"晚上", false, true, -1}}, "复制地址",
         {"钉住当前窗口（只读镜像）", false, true, -1}},
        {"trusted, workspace memory off", true, false, {"早上"}, std::nullopt, "保存工作区位置", false,
         {{"早上", false, false, -1}}, "复制地址", {"钉住当前窗口（只读镜像）", false, true, -1}},
        {"a pinned window", true, true, {}, "报告.txt", "保存工作区位置", true,
         {{"暂无已保存布局", false, false, -1}}, "复制地址", {"取消钉住窗口 · 报告.txt", true, true, -1}},
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.accessibility().setTrusted(c.trusted);
        defaults().set("workspaceMemoryEnabled", PropertyValue(c.workspaceMemory));
        delegate().layoutStore()->layouts.clear();
        for (const auto& name : c.layouts) addLayout(name);
        delegate().windowPinController()->pinnedWindow.reset();
        if (c.pinnedTitle) delegate().windowPinController()->pinnedWindow = {7, {}, *c.pinnedTitle};

        auto rows = rowsOf(*openStatusMenu());
        ASSERT_GE(rows.size(), 17u);
        EXPECT_EQ(rows[6], (Row{c.saveTitle, false, c.saveEnabled, -1}));
        EXPECT_EQ(rows[7].title, "恢复工作区位置" + c.saveTitle.substr(std::string("保存工作区位置").size()));
        EXPECT_EQ(rows[7].enabled, c.saveEnabled);
        EXPECT_EQ(rowsOf(*menus.openMenu()->item(7)->submenu()), c.restoreRows);
        EXPECT_EQ(rows[8], c.pinRow);
        // Copying a path asks for the permission itself, so it stays enabled.
        EXPECT_EQ(rows[16], (Row{c.copyTitle, false, true, -1}));
        menus.dismiss();
    }
}

TEST_F(StatusMenuTest, PermissionNoteIsDrawnInBlueAfterATitleInTheLabelColour) {
    start();
    openStatusMenu();
    const auto title = item("复制地址（需授权）")->attributedTitle();
    ASSERT_TRUE(title);
    const std::string suffix = "（需授权）";
    const auto blue = platform::Color::system(platform::SystemColor::blue);
    const auto label = platform::Color::system(platform::SystemColor::label);
    EXPECT_EQ(title->attributesAt(0).foregroundColor, label);
    EXPECT_EQ(title->attributesAt(title->length() - suffix.size()).foregroundColor, blue);
    EXPECT_EQ(title->attributesAt(title->length() - 1).foregroundColor, blue);
}

TEST_F(StatusMenuTest, ClickOnTheMainItemPopsTheMenuUpAtTheItemsLowerLeftCorner) {
    // A screen tall enough for the whole menu, so it is not moved to fit.
    ASSERT_TRUE(desktop.screens().reconfigure(desktop.screens().primaryScreen(), {0, 0, 2560, 1600}));
    start();
    auto menu = openStatusMenu();
    const auto* layout = platform::MenuTracker::shared().layoutOf(*menu);
    ASSERT_TRUE(layout);
    const auto itemFrame = delegate().statusItem()->frame();
    // Under the item, starting at its left edge unless that would run the
    // menu off the screen's right edge.
    EXPECT_EQ(layout->frame.maxY(), itemFrame.minY());
    EXPECT_EQ(layout->frame.minX(), std::min(itemFrame.minX(), 2560 - layout->frame.width()));
    // The item keeps no menu of its own between openings.
    menus.dismiss();
    EXPECT_EQ(delegate().statusItem()->menu(), nullptr);
}

TEST_F(StatusMenuTest, EachMenuBarSwitchStoresItsKeyAndFlipsItsMarkAtTheNextOpening) {
    struct Case {
        const char* title;
        const char* key;
        bool before;
    } cases[] = {
        {"状态栏播放器控件", "mediaControlsEnabled", false},
        {"网络流量显示", "networkTrafficEnabled", false},
        {"日历", "calendarEnabled", true},
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        openStatusMenu();
        EXPECT_EQ(item(c.title)->state() == MenuItemState::on, c.before);
        ASSERT_TRUE(menus.choose(c.title));
        EXPECT_EQ(defaults().object(c.key), PropertyValue(!c.before));
        openStatusMenu();
        EXPECT_EQ(item(c.title)->state() == MenuItemState::on, !c.before);
        menus.dismiss();
    }
    EXPECT_FALSE(delegate().calendarStatusItem()->isVisible()) << "the calendar item hides with its switch";
}

TEST_F(StatusMenuTest, ProxySwitchCarriesItsMarkInTheTitleAndWaitsForNetworkTraffic) {
    start();
    openStatusMenu();
    EXPECT_EQ(rowsOf(*menus.openMenu())[32], (Row{"✓  开启代理统计", false, false, -1}))
        << "disabled while network traffic is off";
    ASSERT_TRUE(menus.choose("网络流量显示"));
    openStatusMenu();
    EXPECT_EQ(rowsOf(*menus.openMenu())[32], (Row{"✓  开启代理统计", false, true, -1}));
    ASSERT_TRUE(menus.choose("✓  开启代理统计"));
    EXPECT_EQ(defaults().object("proxyTrafficEnabled"), PropertyValue(false));
    openStatusMenu();
    EXPECT_EQ(rowsOf(*menus.openMenu())[32], (Row{"开启代理统计", false, true, -1}));
}

TEST_F(StatusMenuTest, EveryTitleIsShownWithoutEllipses) {
    struct Case {
        InterfaceLanguage language;
    } cases[] = {{InterfaceLanguage::simplifiedChinese}, {InterfaceLanguage::english}, {InterfaceLanguage::french}};
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.language.caseName());
        InterfaceLanguage::setCurrent(c.language);
        auto menu = openStatusMenu();
        std::vector<std::shared_ptr<platform::Menu>> pending{menu};
        while (!pending.empty()) {
            auto next = pending.back();
            pending.pop_back();
            for (const auto& entry : next->items()) {
                const auto& title = entry->displayedTitle();
                EXPECT_EQ(title.find("…"), std::string::npos) << title;
                EXPECT_EQ(title.find("..."), std::string::npos) << title;
                if (entry->submenu()) pending.push_back(entry->submenu());
            }
        }
        menus.dismiss();
    }
}

TEST_F(StatusMenuTest, EveryIconIsSixteenPointsSquareWhenShown) {
    start();
    auto menu = openStatusMenu();
    std::vector<std::shared_ptr<platform::Menu>> pending{menu};
    int icons = 0;
    while (!pending.empty()) {
        auto next = pending.back();
        pending.pop_back();
        for (const auto& entry : next->items()) {
            if (entry->image()) {
                ++icons;
                EXPECT_EQ(entry->image()->size(), (platform::Size{16, 16})) << entry->displayedTitle();
            }
            if (entry->submenu()) pending.push_back(entry->submenu());
        }
    }
    EXPECT_GT(icons, 20);
}

TEST_F(StatusMenuTest, AIServicesShowTheirBundleIconsOrNone) {
    // An icon the bundle cannot read leaves its item without one.
    platform::Bundle::main().setResource("AIKimi", "ico", std::string("not an icon"));
    start();
    openStatusMenu();
    for (const char* title : {"Gemini", "千问", "豆包", "百度文心助手", "ChatGPT"}) {
        SCOPED_TRACE(title);
        auto service = item(title);
        ASSERT_TRUE(service->image());
        EXPECT_EQ(service->image()->size(), (platform::Size{16, 16}));
        EXPECT_FALSE(service->image()->isTemplate());
    }
    EXPECT_FALSE(item("Kimi")->image());
    EXPECT_TRUE(item("安静工作")->image()) << "the music items carry the music icon";
}

// Pictures for a person to look at: the opened menu as the screen shows it.
TEST_F(StatusMenuTest, WritesTheOpenedMenuInChineseAndEnglish) {
    // Tall enough for the whole menu under the menu bar.
    ASSERT_TRUE(desktop.screens().reconfigure(desktop.screens().primaryScreen(), {0, 0, 1440, 1300}));
    desktop.accessibility().setTrusted(true);
    // Measured with the fonts that draw it, as in the program.
    context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    start();
    const auto folder = std::filesystem::path(TALLOWMERE_BINARY_DIR) / "renderings";
    std::filesystem::create_directories(folder);
    for (auto [language, name] : {std::pair{InterfaceLanguage::simplifiedChinese, "zh-Hans"},
                                  std::pair{InterfaceLanguage::english, "en"}}) {
        SCOPED_TRACE(name);
        InterfaceLanguage::setCurrent(language);
        openStatusMenu();
        const auto file = folder / ("status_menu_" + std::string(name) + ".png");
        ASSERT_TRUE(platform::ScreenSnapshot::writePng(file).ok());
        EXPECT_GT(std::filesystem::file_size(file), 10000u);
        menus.dismiss();
    }
}

}  // namespace
}  // namespace tallowmere::testing
