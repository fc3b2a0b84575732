#include <gtest/gtest.h>

#include <functional>

#include "hosts_fixture.h"
#include "platform/desktop/event.h"
#include "platform/ui/button.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/outline_view.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"

namespace tallowmere::testing {
namespace {

using platform::SystemColor;

// The editor window driven by the person at the desktop: rows clicked and
// double-clicked, text typed, buttons pressed.
class HostsEditorWindowTest : public HostsTest {
protected:
    platform::Window& window() { return *controller().windowController->window(); }
    platform::OutlineView& outline() { return *controller().outlineView; }

    void open() {
        controller().show();
        window().contentView()->layoutSubtreeIfNeeded();
    }

    std::vector<std::string> rowTitles() {
        std::vector<std::string> titles;
        for (std::size_t row = 0; row < outline().rowCount(); ++row) {
            titles.push_back(std::static_pointer_cast<HostsSidebarNode>(outline().itemAtRow(row))->title);
        }
        return titles;
    }
    std::optional<std::size_t> rowTitled(const std::string& title) {
        const auto titles = rowTitles();
        const auto found = std::find(titles.begin(), titles.end(), title);
        if (found == titles.end()) return std::nullopt;
        return static_cast<std::size_t>(found - titles.begin());
    }
    std::string selectedTitle() {
        const auto row = outline().selectedRow();
        return row ? rowTitles()[*row] : "<none>";
    }
    platform::ScreenPoint rowPoint(const std::string& title) {
        window().contentView()->layoutSubtreeIfNeeded();
        const auto row = rowTitled(title);
        EXPECT_TRUE(row) << title;
        return outline().convertToScreen(outline().rectOfRow(row.value_or(0)).center());
    }
    void clickRow(const std::string& title) {
        mouse.click(rowPoint(title));
        runUntilIdle();
    }
    void doubleClickRow(const std::string& title) {
        mouse.doubleClick(rowPoint(title));
        runUntilIdle();
    }

    std::shared_ptr<platform::Button> button(const std::string& title) {
        std::function<std::shared_ptr<platform::Button>(const platform::View&)> find =
            [&](const platform::View& view) -> std::shared_ptr<platform::Button> {
            for (const auto& child : view.subviews()) {
                auto asButton = std::dynamic_pointer_cast<platform::Button>(child);
                if (asButton && asButton->title() == title) return asButton;
                if (auto inside = find(*child)) return inside;
            }
            return nullptr;
        };
        auto found = find(*window().contentView());
        EXPECT_TRUE(found) << title;
        return found;
    }
    void press(const std::string& title) {
        window().contentView()->layoutSubtreeIfNeeded();
        auto target = button(title);
        mouse.click(target->convertToScreen(target->bounds().center()));
        runUntilIdle();
    }

    // Clicks at the end of the editor's text and types.
    void typeInEditor(const std::string& text) {
        auto& editor = *controller().textView;
        window().makeFirstResponder(controller().textView);
        editor.setSelectedRange({editor.string().size(), 0});
        std::size_t start = 0;
        for (auto end = text.find('\n'); end != std::string::npos; start = end + 1, end = text.find('\n', start)) {
            keyboard.type(text.substr(start, end - start));
            keyboard.press(platform::KeyCode::returnKey, "\r");
        }
        keyboard.type(text.substr(start));
        runUntilIdle();
    }
    void typeName(const std::string& text) {
        keyboard.type(text);
        keyboard.press(platform::KeyCode::returnKey);
        runUntilIdle();
    }
    const HostsCategory& category(std::size_t index) { return controller().library.categories.at(index); }
};

TEST_F(HostsEditorWindowTest, FirstShowOnACleanAccountSelectsTheSystemFile) {
    setSystemHosts("127.0.0.1 localhost\n");
    open();
    EXPECT_EQ(window().title(), "Hosts 编辑");
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().contentRectForFrameRect(window().frame()).size, (platform::Size{1040, 700}));
    EXPECT_EQ(window().minSize(), (platform::Size{820, 540}));
    EXPECT_EQ(rowTitles(), (std::vector<std::string>{"当前系统 Hosts", "我的 Hosts"}));
    EXPECT_EQ(selectedTitle(), "当前系统 Hosts");
    EXPECT_EQ(controller().titleLabel->stringValue(), "当前系统 Hosts");
    EXPECT_EQ(controller().subtitleLabel->stringValue(), "/private/etc/hosts");
    EXPECT_EQ(controller().textView->string(), "127.0.0.1 localhost\n");
    EXPECT_TRUE(controller().textView->isEditable());
    EXPECT_EQ(status(), "已载入当前系统配置");
    EXPECT_EQ(controller().saveButton->title(), "保存并应用");
    EXPECT_FALSE(controller().saveButton->isEnabled());
    EXPECT_TRUE(controller().applyButton->isHidden());

    // Closing hides the one window; the next show brings it back with the same row.
    clickRow("我的 Hosts");
    window().performClose();
    controller().show();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(selectedTitle(), "我的 Hosts");
    EXPECT_EQ(controller().subtitleLabel->stringValue(), "0 个 Hosts 方案");
    EXPECT_FALSE(controller().textView->isEditable());
}

TEST_F(HostsEditorWindowTest, RowsShowTheirKindActiveProfileAndKey) {
    const auto ids = loadProfiles({{"Dev", "10.0.0.1 dev\n"}, {"Test", "10.0.0.2 test\n"}});
    controller().library.activeProfileID = ids[1];
    open();
    using platform::FontWeight;
    struct Case {
        const char* title;
        std::string key;
        SystemColor tint;
        double size;
        FontWeight weight;
    } cases[] = {
        {"当前系统 Hosts", "system", SystemColor::controlAccent, 12.5, FontWeight::semibold},
        {"我的 Hosts", "category-" + category(0).id.uuidString(), SystemColor::secondaryLabel, 12, FontWeight::semibold},
        {"Dev", "profile-" + ids[0].uuidString(), SystemColor::secondaryLabel, 12.5, FontWeight::regular},
        {"Test", "profile-" + ids[1].uuidString(), SystemColor::green, 12.5, FontWeight::semibold},
    };
    ASSERT_EQ(outline().rowCount(), std::size(cases));
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        const auto& c = cases[row];
        SCOPED_TRACE(c.title);
        auto cell = outline().viewAt(0, row);
        ASSERT_TRUE(cell);
        auto label = std::dynamic_pointer_cast<platform::Label>(cell->findView(c.key));
        ASSERT_TRUE(label) << "the label carries the row's key";
        EXPECT_EQ(label->stringValue(), c.title);
        EXPECT_EQ(label->font().pointSize(), c.size);
        EXPECT_EQ(label->font().weight(), c.weight);
        std::shared_ptr<platform::ImageView> image;
        for (const auto& view : cell->subviews()) {
            if (auto found = std::dynamic_pointer_cast<platform::ImageView>(view)) image = found;
        }
        ASSERT_TRUE(image && image->image());
        EXPECT_EQ(image->contentTintColor()->systemColor(), c.tint);
        EXPECT_EQ(image->frame().size, (platform::Size{15, 15}));
    }
}

TEST_F(HostsEditorWindowTest, AddingAProfileWithTheSystemRowSelectedThenTypingItsName) {
    open();
    press("+ Hosts");
    ASSERT_EQ(category(0).profiles.size(), 1u);
    const auto& added = category(0).profiles[0];
    EXPECT_EQ(added.name, "新 Hosts");
    EXPECT_EQ(added.content, "# 新 Hosts\n127.0.0.1 localhost\n::1 localhost\n");
    EXPECT_EQ(selectedTitle(), "新 Hosts");
    EXPECT_EQ(controller().saveButton->title(), "保存方案");
    EXPECT_FALSE(controller().applyButton->isHidden());
    EXPECT_NE(read(libraryFile()).find("新 Hosts"), std::string::npos) << "stored at once";

    typeName("Office");
    EXPECT_EQ(category(0).profiles[0].name, "Office");
    EXPECT_EQ(rowTitles(), (std::vector<std::string>{"当前系统 Hosts", "我的 Hosts", "Office"}));
    EXPECT_EQ(selectedTitle(), "Office");
    EXPECT_EQ(category(0).profiles[0].content, "# 新 Hosts\n127.0.0.1 localhost\n::1 localhost\n")
        << "renaming keeps the content";
    EXPECT_NE(read(libraryFile()).find("Office"), std::string::npos);

    // A second one goes to the selected profile's category with the next free name.
    press("+ Hosts");
    runUntilIdle();
    keyboard.press(platform::KeyCode::returnKey);
    runUntilIdle();
    EXPECT_EQ(category(0).profiles.at(1).name, "新 Hosts");
    press("+ 分类");
    typeName("Lab");
    EXPECT_EQ(category(1).name, "Lab");
    press("+ Hosts");
    EXPECT_EQ(category(1).profiles.at(0).name, "新 Hosts") << "names of other categories do not count";
}

TEST_F(HostsEditorWindowTest, EditingSavingAndLeavingAProfile) {
    setSystemHosts("127.0.0.1 localhost\n");
    loadProfiles({{"Dev", "10.0.0.1 dev\n"}, {"Test", "10.0.0.2 test\n"}});
    open();
    clickRow("Dev");
    EXPECT_EQ(controller().textView->string(), "10.0.0.1 dev\n");
    EXPECT_EQ(status(), "本地方案，尚未应用到系统");

    typeInEditor("x");
    EXPECT_EQ(status(), "有未保存的更改");
    EXPECT_EQ(statusColor(), SystemColor::orange);
    EXPECT_TRUE(controller().saveButton->isEnabled());
    keyboard.press(platform::KeyCode::deleteKey);
    runUntilIdle();
    EXPECT_EQ(controller().textView->string(), "10.0.0.1 dev\n");
    EXPECT_FALSE(controller().saveButton->isEnabled());
    EXPECT_EQ(status(), "有未保存的更改") << "the orange text stays";

    typeInEditor("10.0.0.9 api\n");
    press("保存方案");
    EXPECT_EQ(status(), "方案已保存");
    EXPECT_EQ(statusColor(), SystemColor::green);
    EXPECT_FALSE(controller().saveButton->isEnabled());
    EXPECT_NE(read(libraryFile()).find("10.0.0.9 api"), std::string::npos);
    EXPECT_EQ(systemHosts(), "127.0.0.1 localhost\n") << "saving a profile leaves the system file alone";

    // Leaving an edited profile stores it, unvalidated and without a prompt.
    typeInEditor("not a hosts line");
    clickRow("Test");
    EXPECT_EQ(category(0).profiles[0].content, "10.0.0.1 dev\n10.0.0.9 api\nnot a hosts line");
    EXPECT_EQ(alerts.count(), 0u);
    EXPECT_EQ(controller().textView->string(), "10.0.0.2 test\n");

    // Leaving the edited system file drops the edit.
    clickRow("当前系统 Hosts");
    typeInEditor("1.2.3.4 gone\n");
    clickRow("Test");
    clickRow("当前系统 Hosts");
    EXPECT_EQ(controller().textView->string(), "127.0.0.1 localhost\n");
    EXPECT_EQ(systemHosts(), "127.0.0.1 localhost\n");
}

TEST_F(HostsEditorWindowTest, InvalidProfileTextStaysUnsavedBehindTheAlert) {
    loadProfiles({{"Dev", "10.0.0.1 dev\n"}});
    open();
    clickRow("Dev");
    typeInEditor("10.0.0.2\n");
    press("保存方案");
    ASSERT_EQ(editorAlerts().size(), 1u);
    EXPECT_EQ(editorAlerts()[0].messageText, "Hosts 格式有误");
    EXPECT_NE(editorAlerts()[0].informativeText.find("2"), std::string::npos) << editorAlerts()[0].informativeText;
    EXPECT_EQ(category(0).profiles[0].content, "10.0.0.1 dev\n");
    EXPECT_EQ(controller().textView->string(), "10.0.0.1 dev\n10.0.0.2\n");
    EXPECT_TRUE(controller().saveButton->isEnabled());

    press("重新载入");
    EXPECT_EQ(controller().textView->string(), "10.0.0.1 dev\n");
    EXPECT_FALSE(controller().saveButton->isEnabled());
}

TEST_F(HostsEditorWindowTest, UniqueNameCountsUpFromTwo) {
    struct Case {
        std::vector<std::string> existing;
        const char* expected;
    } cases[] = {
        {{}, "新分类"},
        {{"新分类 2"}, "新分类"},
        {{"新分类", "新分类 2"}, "新分类 3"},
        {{"新分类", "新分类 3"}, "新分类 2"},
        {{"新分类 ", "新分类x"}, "新分类"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(HostsEditorController::uniqueName("新分类", c.existing), c.expected);
    }
}

TEST_F(HostsEditorWindowTest, RenamingByDoubleClick) {
    loadProfiles({{"Dev", "10.0.0.1 dev\n"}, {"Test", "10.0.0.2 test\n"}});
    open();
    struct Case {
        const char* row;
        const char* typed;
        std::vector<std::string> rows;
    } cases[] = {
        {"我的 Hosts", "Team", {"当前系统 Hosts", "Team", "Dev", "Test"}},
        {"Dev", "  Stage  ", {"当前系统 Hosts", "Team", "Stage", "Test"}},
        {"Test", "Stage", {"当前系统 Hosts", "Team", "Stage", "Stage"}},
        {"Stage", "   ", {"当前系统 Hosts", "Team", "Stage", "Stage"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        doubleClickRow(c.row);
        // Select the old name and type over it.
        keyboard.press('a', platform::ModifierFlags{platform::ModifierFlags::command});
        typeName(c.typed);
        EXPECT_EQ(rowTitles(), c.rows);
    }
    EXPECT_EQ(category(0).name, "Team");
    EXPECT_EQ(category(0).profiles[0].name, "Stage");
    EXPECT_NE(read(libraryFile()).find("\"Team\""), std::string::npos);

    // The system row never goes into editing.
    doubleClickRow("当前系统 Hosts");
    keyboard.type("zz");
    keyboard.press(platform::KeyCode::returnKey);
    runUntilIdle();
    EXPECT_EQ(rowTitles()[0], "当前系统 Hosts");
}

TEST_F(HostsEditorWindowTest, FailedLibraryWritesAreShownNotHidden) {
    loadProfiles({{"Dev", "10.0.0.1 dev\n"}});
    open();
    clickRow("Dev");
    // A folder where the library file goes: every write of it fails.
    std::filesystem::remove(libraryFile());
    std::filesystem::create_directories(libraryFile() / "in-the-way");
    typeInEditor("10.0.0.2 api\n");
    press("保存方案");
    EXPECT_NE(status(), "方案已保存");
    EXPECT_EQ(statusColor(), SystemColor::red);
    ASSERT_EQ(editorAlerts().size(), 1u);
    EXPECT_EQ(editorAlerts()[0].messageText, "无法保存 Hosts");
    EXPECT_TRUE(controller().saveButton->isEnabled());

    clickRow("我的 Hosts");
    EXPECT_EQ(statusColor(), SystemColor::red) << status();
    struct Case {
        const char* button;
    } cases[] = {{"+ 分类"}, {"+ Hosts"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        press(c.button);
        EXPECT_EQ(statusColor(), SystemColor::red) << status();
        typeName("Renamed");  // the rename's write fails too
        EXPECT_EQ(statusColor(), SystemColor::red) << status();
    }
}

TEST_F(HostsEditorWindowTest, AnUnreadableSystemFileLeavesNothingToSaveOverIt) {
    loadProfiles({{"Dev", "10.0.0.1 dev\n"}});
    setSystemHosts("127.0.0.1 localhost\n");
    open();
    clickRow("Dev");
    std::filesystem::remove(controller().hostsURL);
    clickRow("当前系统 Hosts");
    EXPECT_EQ(status(), "无法读取系统 Hosts");
    EXPECT_EQ(statusColor(), SystemColor::red);
    EXPECT_EQ(controller().textView->string(), "");
    EXPECT_FALSE(controller().textView->isEditable());
    EXPECT_FALSE(controller().saveButton->isEnabled());
    EXPECT_TRUE(controller().applyButton->isHidden());
}

// --- Quick menu -------------------------------------------------------------------------

struct QuickItem {
    std::string title;
    platform::MenuItemState state = platform::MenuItemState::off;
    bool enabled = true;
    std::vector<QuickItem> submenu;
    bool operator==(const QuickItem&) const = default;
};

std::ostream& operator<<(std::ostream& out, const QuickItem& item) {
    out << "{" << item.title << (item.state == platform::MenuItemState::on ? " ✓" : "")
        << (item.enabled ? "" : " disabled");
    for (const auto& child : item.submenu) out << " " << child;
    return out << "}";
}

std::vector<QuickItem> describe(const platform::Menu& menu) {
    std::vector<QuickItem> items;
    for (const auto& item : menu.items()) {
        QuickItem described{item->isSeparatorItem() ? "---" : item->title(), item->state(), item->isEnabled(), {}};
        if (item->submenu()) described.submenu = describe(*item->submenu());
        items.push_back(std::move(described));
    }
    return items;
}

TEST_F(HostsEditorWindowTest, WhileAnApplyWaitsTheSidebarAndQuickMenuHoldStill) {
    setSystemHosts("127.0.0.1 localhost\n");
    loadProfiles({{"Dev", "10.0.0.1 dev\n"}, {"Test", "10.0.0.2 test\n"}});
    open();
    clickRow("Dev");
    alerts.answer(platform::ModalResponses::alertFirstButton);
    controller().applyToSystem("10.0.0.1 dev\n", std::nullopt, "已保存并应用");
    ASSERT_TRUE(controller().isSaving);

    auto waiting = describe(*controller().makeQuickSelectionMenu());
    EXPECT_FALSE(waiting[0].submenu[0].enabled);
    EXPECT_FALSE(waiting[0].submenu[1].enabled);
    mouse.click(rowPoint("Test"));  // the main queue is not run: the script has not ended
    EXPECT_EQ(controller().selectedNode->title, "Dev") << "no new selection while saving";
    EXPECT_EQ(selectedTitle(), "Dev");
    controller().textView->insertText("x");
    EXPECT_EQ(status(), "等待管理员授权…") << "typing leaves the status alone";

    runUntilIdle();
    EXPECT_FALSE(controller().isSaving);
    EXPECT_TRUE(describe(*controller().makeQuickSelectionMenu())[0].submenu[1].enabled);
}

TEST_F(HostsEditorWindowTest, StaleKeysFallBackOrChangeNothing) {
    const auto ids = loadProfiles({{"Dev", "10.0.0.1 dev\n"}});
    open();
    controller().rebuildSidebar("profile-" + platform::Uuid::random().uuidString());
    EXPECT_EQ(selectedTitle(), "当前系统 Hosts");

    clickRow("Dev");
    controller().library.categories[0].profiles.clear();
    controller().reloadCurrent();
    EXPECT_EQ(controller().titleLabel->stringValue(), "Dev") << "a vanished profile's load changes nothing";
    controller().loadCategory(platform::Uuid::random());
    EXPECT_EQ(controller().titleLabel->stringValue(), "Dev");
    (void)ids;
}

TEST_F(HostsEditorWindowTest, AKeptAsideLibraryIsAnnouncedWhenTheWindowOpens) {
    write(libraryFile(), "{ not json");
    open();
    EXPECT_TRUE(status().starts_with("Hosts 方案库无法读取，已另存为 hosts-library.json.unreadable-")) << status();
    EXPECT_EQ(statusColor(), SystemColor::orange);
    clickRow("我的 Hosts");
    controller().show();
    EXPECT_EQ(status(), "点击 + Hosts 可直接在此分类中新建") << "announced once";
}

TEST_F(HostsEditorWindowTest, QuickMenuListsCategoriesAndProfiles) {
    using State = platform::MenuItemState;
    const QuickItem closing{"请先在 Hosts 编辑中新建方案", State::off, false, {}};
    const QuickItem separator{"---", State::off, false, {}};

    controller().loadLibraryIfNeeded();
    controller().library.categories.clear();
    EXPECT_EQ(describe(*controller().makeQuickSelectionMenu()), (std::vector<QuickItem>{separator, closing}));

    controller().library = HostsLibrary::makeDefault();
    EXPECT_EQ(describe(*controller().makeQuickSelectionMenu()),
              (std::vector<QuickItem>{{"我的 Hosts", State::off, true, {{"暂无 Hosts", State::off, false, {}}}},
                                      separator,
                                      closing}));

    const auto ids = loadProfiles({{"Dev", "10.0.0.1 dev\n"}, {"Test", "10.0.0.2 test\n"}});
    const auto otherID = platform::Uuid::random();
    controller().library.categories.push_back(
        {platform::Uuid::random(), "Work", {{otherID, "VPN", "10.1.0.1 vpn\n", platform::Date::fromTimeIntervalSince1970(0)}}});
    controller().library.activeProfileID = ids[1];
    auto menu = controller().makeQuickSelectionMenu();
    EXPECT_EQ(menu->title(), "Hosts 快速选择");
    EXPECT_EQ(describe(*menu),
              (std::vector<QuickItem>{
                  {"我的 Hosts", State::off, true, {{"Dev", State::off, true, {}}, {"Test", State::on, true, {}}}},
                  {"Work", State::off, true, {{"VPN", State::off, true, {}}}}}));
    EXPECT_EQ(*menu->items()[1]->submenu()->items()[0]->representedObjectAs<std::string>(), otherID.uuidString());
}

TEST_F(HostsEditorWindowTest, ApplyingFromTheQuickMenuWithTheWindowClosed) {
    setSystemHosts("127.0.0.1 localhost\n");
    const auto ids = loadProfiles({{"Dev", "10.0.0.1 dev\n"}, {"Test", "10.0.0.2 test\n"}});
    auto menu = controller().makeQuickSelectionMenu();
    auto profiles = menu->items()[0]->submenu();

    alerts.answer(platform::ModalResponses::alertFirstButton);
    profiles->performActionForItem(1);
    runUntilIdle();
    EXPECT_EQ(passwordPrompts(), 1u);
    EXPECT_EQ(systemHosts(), "10.0.0.2 test\n");
    EXPECT_EQ(controller().library.activeProfileID, ids[1]);
    EXPECT_EQ(status(), "Test 已应用到系统");
    EXPECT_FALSE(controller().windowController) << "the window need not open";

    auto rebuilt = describe(*controller().makeQuickSelectionMenu());
    EXPECT_EQ(rebuilt[0].submenu[0].state, platform::MenuItemState::off);
    EXPECT_EQ(rebuilt[0].submenu[1].state, platform::MenuItemState::on);

    // An item whose profile is gone does nothing.
    controller().library.categories[0].profiles.clear();
    profiles->performActionForItem(0);
    runUntilIdle();
    EXPECT_EQ(passwordPrompts(), 1u);
    EXPECT_EQ(systemHosts(), "10.0.0.2 test\n");
}

}  // namespace
}  // namespace tallowmere::testing
