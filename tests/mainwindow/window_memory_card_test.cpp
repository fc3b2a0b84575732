#include <gtest/gtest.h>

#include "app/app_error.h"
#include "platform/base/format.h"
#include "mainwindow/program_main_window_fixture.h"
#include "platform/base/iso8601.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/simulated_application.h"
#include "platform/desktop/simulated_window.h"
#include "support/scoped_time_zone.h"
#include "windows/layout_store.h"

namespace tallowmere::testing {
namespace {

using platform::Alert;
namespace ModalResponses = platform::ModalResponses;

// Three windows of two applications on the desk; the person saves the
// workspace from the status menu and uses the card to restore or delete it.
class WindowMemoryCardTest : public ProgramMainWindowTest {
protected:
    WindowMemoryCardTest() {
        notes = editor->addWindow({.title = "notes", .frame = {100, 100, 800, 600}});
        draft = editor->addWindow({.title = "Draft", .frame = {300, 200, 700, 500}});
        shell = terminal->addWindow({.title = "zsh", .frame = {400, 300, 600, 400}});
    }

    // "保存工作区位置" from the status menu (its title notes a missing
    // trust), the dialog answered by `answer`.
    void saveFromStatusMenu(std::function<platform::ModalResponse(Alert&)> answer) {
        alerts.answerWith(std::move(answer));
        menuBar.click(*delegate().statusItem());
        for (const auto& title : menus.itemTitles()) {
            if (title.starts_with(L("保存工作区位置"))) {
                EXPECT_TRUE(menus.choose(title));
                return;
            }
        }
        ADD_FAILURE() << "no save item in the status menu";
    }
    void saveNamed(const std::string& name) {
        saveFromStatusMenu([name](Alert& dialog) {
            std::static_pointer_cast<platform::TextField>(dialog.accessoryView)->setStringValue(name);
            return ModalResponses::alertFirstButton;
        });
    }
    LayoutStore& layouts() { return *delegate().layoutStore(); }
    bool controlsEnabled(MainWindowController& c) {
        bool all = true, any = false;
        for (const auto& control : c.workspaceControls) {
            all = all && control->isEnabled();
            any = any || control->isEnabled();
        }
        EXPECT_EQ(all, any) << "the pop-up and both buttons go together";
        return all;
    }

    std::shared_ptr<platform::SimulatedApplication> editor =
        setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    std::shared_ptr<platform::SimulatedApplication> terminal =
        setup.addApplication({.bundleIdentifier = "com.example.terminal", .name = "Terminal"});
    std::shared_ptr<platform::SimulatedWindow> notes, draft, shell;
};

TEST_F(WindowMemoryCardTest, SavingNamesTheLayoutByTheStampOrTheNextNumber) {
    setup.grantAccessibility();
    ScopedTimeZone zone("Asia/Shanghai");
    clock().setNow(platform::Iso8601::parse("2026-12-11T03:18:40Z").value());
    auto& c = openMainWindow();
    EXPECT_EQ(c.layoutPopup->itemTitles(), (std::vector<std::string>{L("暂无已保存布局")}));
    EXPECT_FALSE(controlsEnabled(c));

    std::string offered;
    saveFromStatusMenu([&](Alert& dialog) {
        EXPECT_EQ(dialog.messageText, L("保存当前工作区"));
        EXPECT_EQ(dialog.accessoryView->frame().size, (platform::Size{300, 24}));
        offered = std::static_pointer_cast<platform::TextField>(dialog.accessoryView)->stringValue();
        return ModalResponses::alertFirstButton;
    });
    EXPECT_EQ(offered, "2612111118") << "local time, two digits each, no separators";
    saveNamed("   ");
    saveNamed("Desk");
    EXPECT_EQ(c.layoutPopup->itemTitles(),
              (std::vector<std::string>{platform::formatTemplate(L("%@ · %d 个窗口"), "Desk", 3LL),
                                        platform::formatTemplate(L("%@ · %d 个窗口"), platform::formatTemplate(L("工作区 %d"), 2LL), 3LL),
                                        platform::formatTemplate(L("%@ · %d 个窗口"), "2612111118", 3LL)}))
        << "the newest first";
    EXPECT_TRUE(controlsEnabled(c));
    EXPECT_EQ(c.statusText(), L("已保存当前工作区。"));

    // Cancelling saves nothing and says nothing new.
    c.statusLabel->setStringValue("-");
    saveFromStatusMenu([](Alert&) { return ModalResponses::alertFirstButton + 1; });
    EXPECT_EQ(layouts().layouts.size(), 3u);
    EXPECT_EQ(c.statusText(), "-");
}

TEST_F(WindowMemoryCardTest, WithoutAccessibilitySavingAlertsAndStoresNothing) {
    auto& c = openMainWindow();
    // The status menu offers no save without trust; trust can go while the dialog is up.
    alerts.answer(ModalResponses::alertFirstButton);
    c.saveLayout();
    EXPECT_TRUE(layouts().layouts.empty());
    EXPECT_EQ(alerts.last().messageText, errorDescription(AppError::accessibilityRequired));
    EXPECT_EQ(c.statusText(), errorDescription(AppError::accessibilityRequired));
    EXPECT_FALSE(controlsEnabled(c));
}

TEST_F(WindowMemoryCardTest, RestoreReportsTheWindowsPutBack) {
    setup.grantAccessibility();
    auto& c = openMainWindow();
    saveNamed("Desk");
    notes->setFrame({10, 500, 300, 200});
    shell->setFrame({20, 30, 500, 400});
    std::static_pointer_cast<platform::Button>(c.workspaceControls.at(1))->performClick();
    EXPECT_EQ(c.statusText(), L("正在恢复布局…"));
    advance(5);
    EXPECT_EQ(notes->frame(), platform::AXRect(100, 100, 800, 600));
    EXPECT_EQ(c.statusText(), platform::formatTemplate(L("已恢复 %d 个窗口。"), 3LL));
    EXPECT_EQ(c.statusText(), "已恢复 3 个窗口。");

    // A layout that is gone by the time it is restored is reported as such.
    const auto id = layouts().layouts.front().id;
    ASSERT_TRUE(layouts().deleteLayout(id).ok());
    std::static_pointer_cast<platform::Button>(c.workspaceControls.at(1))->performClick();
    advance(5);
    EXPECT_EQ(alerts.last().messageText, errorDescription(AppError::layoutNotFound));
    EXPECT_EQ(c.statusText(), errorDescription(AppError::layoutNotFound));
}

TEST_F(WindowMemoryCardTest, DeletingTheLastLayoutDisablesTheCardWithoutAsking) {
    setup.grantAccessibility();
    auto& c = openMainWindow();
    saveNamed("One");
    saveNamed("Two");
    const auto alertsBefore = alerts.count();
    auto remove = std::dynamic_pointer_cast<platform::Button>(c.workspaceControls.back());
    ASSERT_TRUE(remove);
    remove->performClick();
    EXPECT_EQ(c.layoutPopup->itemTitles(), (std::vector<std::string>{platform::formatTemplate(L("%@ · %d 个窗口"), "One", 3LL)}));
    EXPECT_EQ(c.statusText(), L("已删除布局。"));
    remove->performClick();
    EXPECT_EQ(c.layoutPopup->itemTitles(), (std::vector<std::string>{L("暂无已保存布局")}));
    EXPECT_FALSE(controlsEnabled(c));
    EXPECT_EQ(alerts.count(), alertsBefore) << "no confirmation";
    EXPECT_TRUE(layouts().layouts.empty());
}

TEST_F(WindowMemoryCardTest, WithWindowMemoryOffTheCardStaysDisabled) {
    setup.grantAccessibility();
    auto& c = openMainWindow();
    saveNamed("Desk");
    defaults().set("workspaceMemoryEnabled", false);
    c.refreshLayouts();
    EXPECT_EQ(layouts().layouts.size(), 1u);
    EXPECT_FALSE(controlsEnabled(c));
    defaults().set("workspaceMemoryEnabled", true);
    c.refreshLayouts();
    EXPECT_TRUE(controlsEnabled(c));
}

}  // namespace
}  // namespace tallowmere::testing
