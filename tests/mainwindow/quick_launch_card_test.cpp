#include <gtest/gtest.h>

#include <fstream>

#include "app/app_error.h"
#include "platform/base/format.h"
#include "mainwindow/program_main_window_fixture.h"
#include "mainwindow/quick_launch_application_offer.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/simulated_application.h"
#include "platform/ui/menu.h"

namespace tallowmere::testing {
namespace {

using platform::ActivationPolicy;

class QuickLaunchCardTest : public ProgramMainWindowTest {
protected:
    // One entry of every kind, the application first.
    void storeOneOfEachKind() {
        storeQuickLaunchEntries({entry(QuickLaunchKind::application, "Mail", "/Applications/Mail.app"),
                                 entry(QuickLaunchKind::website, "Example", "https://example.com", "chrome"),
                                 entry(QuickLaunchKind::information, "地址", "北京市"),
                                 entry(QuickLaunchKind::file, "Notes", (home() / "notes.txt").string()),
                                 entry(QuickLaunchKind::newFile, "新建文本", "")});
    }

    std::string selectedTitle(MainWindowController& c) { return c.quickLaunchPopup->titleOfSelectedItem(); }
};

TEST_F(QuickLaunchCardTest, TheButtonsFollowTheKindOfTheIconClicked) {
    storeOneOfEachKind();
    auto& c = openMainWindow();
    struct Case {
        std::size_t icon;
        const char* popupTitle;
        bool editEnabled;
        bool renameHidden;
        bool renameEnabled;
    } cases[] = {
        {1, "Example · 网页", true, true, false},   {2, "地址 · 信息", true, true, false},
        {0, "Mail · 应用", false, false, true},     {3, "Notes · 文件", false, false, true},
        {4, "新建文本 · 新建文件", false, false, true},
    };
    for (const auto& sc : cases) {
        SCOPED_TRACE(sc.popupTitle);
        pressIcon(c, sc.icon);
        EXPECT_EQ(selectedTitle(c), sc.popupTitle);
        EXPECT_EQ(c.quickLaunchIconStrip->selectedID(), store().entries()[sc.icon].id);
        EXPECT_EQ(c.quickLaunchEditButton->isEnabled(), sc.editEnabled);
        EXPECT_EQ(c.quickLaunchRenameButton->isHidden(), sc.renameHidden);
        EXPECT_EQ(c.quickLaunchRenameButton->isEnabled(), sc.renameEnabled);
        EXPECT_FALSE(c.quickLaunchEditButton->isEnabled() && c.quickLaunchRenameButton->isEnabled() &&
                     !c.quickLaunchRenameButton->isHidden());
    }

    // Choosing in the pop-up marks the same icon.
    c.quickLaunchPopup->selectItem(std::size_t{2});
    c.quickLaunchPopup->performClick();
    EXPECT_TRUE(menus.choose("地址 · 信息"));
    EXPECT_EQ(c.quickLaunchIconStrip->selectedID(), store().entries()[2].id);
    EXPECT_TRUE(c.quickLaunchEditButton->isEnabled());
}

TEST_F(QuickLaunchCardTest, AnEmptyListOffersNeitherEditNorRename) {
    storeQuickLaunchEntries({});
    auto& c = openMainWindow();
    EXPECT_FALSE(c.selectedQuickLaunchID());
    EXPECT_FALSE(c.quickLaunchEditButton->isEnabled());
    EXPECT_FALSE(c.quickLaunchRenameButton->isHidden());
    EXPECT_FALSE(c.quickLaunchRenameButton->isEnabled());
    cardButton(c, L("删除"))->performClick();
    EXPECT_EQ(alerts.count(), 0u) << "nothing to delete, nothing asked";
}

TEST_F(QuickLaunchCardTest, RunningApplicationsAreOfferedOnceEachByNameWithoutThisProgram) {
    auto editor = setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    setup.addApplication({.bundleIdentifier = "com.example.app10", .name = "App 10"});
    setup.addApplication({.bundleIdentifier = "com.example.agent", .name = "Agent",
                          .activationPolicy = ActivationPolicy::accessory});
    setup.addApplication({.bundleIdentifier = "com.example.app2", .name = "App 2"});
    // A second process of the editor, as when two copies of it run.
    std::vector running = desktop.runningApplications();
    running.push_back(std::make_shared<platform::RunningApplication>(90001, editor));

    std::vector<std::string> offered;
    for (const auto& application : applicationsToOffer(running)) offered.push_back(*application->localizedName());
    EXPECT_EQ(offered, (std::vector<std::string>{"App 2", "App 10", "Editor"}));

    storeQuickLaunchEntries({});
    auto& c = openMainWindow();
    cardButton(c, "+" + std::string(L("应用")))->performClick();
    EXPECT_EQ(menus.itemTitles(), (std::vector<std::string>{"App 2", "App 10", "Editor", "—", L("选择其他应用…")}));
    EXPECT_EQ(menus.opened().back().title, L("当前运行的应用"));

    alerts.answerWith([](platform::Alert& prompt) {
        EXPECT_EQ(prompt.messageText, L("应用显示名称"));
        EXPECT_EQ(std::static_pointer_cast<platform::TextField>(prompt.accessoryView)->stringValue(), "App 2");
        return platform::ModalResponses::alertFirstButton;
    });
    EXPECT_TRUE(menus.choose("App 2"));
    ASSERT_EQ(store().entries().size(), 1u);
    EXPECT_EQ(store().entries()[0].kind, QuickLaunchKind::application);
    EXPECT_EQ(store().entries()[0].target, "/Applications/App 2.app");
    EXPECT_EQ(c.statusText(), platform::formatTemplate(L("已添加快捷应用：%@"), "App 2"));
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"App 2"}));
}

TEST_F(QuickLaunchCardTest, TheNamePromptCanBeCancelledOrLeftBlank) {
    setup.addApplication({.bundleIdentifier = "com.example.editor", .name = "Editor"});
    storeQuickLaunchEntries({});
    auto& c = openMainWindow();
    const auto before = c.statusText();

    cardButton(c, "+" + std::string(L("应用")))->performClick();
    alerts.answer(platform::ModalResponses::alertFirstButton + 1);
    EXPECT_TRUE(menus.choose("Editor"));
    EXPECT_TRUE(store().entries().empty());
    EXPECT_EQ(c.statusText(), before);

    cardButton(c, "+" + std::string(L("应用")))->performClick();
    alerts.answerWith([](platform::Alert& prompt) {
        std::static_pointer_cast<platform::TextField>(prompt.accessoryView)->setStringValue("   ");
        return platform::ModalResponses::alertFirstButton;
    });
    EXPECT_TRUE(menus.choose("Editor"));
    ASSERT_EQ(store().entries().size(), 1u);
    EXPECT_EQ(store().entries()[0].name, "Editor");
}

TEST_F(QuickLaunchCardTest, WithNothingElseRunningTheMenuOnlyOffersTheChooser) {
    setup.addApplication({.bundleIdentifier = "com.example.agent", .name = "Agent",
                          .activationPolicy = ActivationPolicy::accessory});
    auto& c = openMainWindow();
    cardButton(c, "+" + std::string(L("应用")))->performClick();
    EXPECT_EQ(menus.itemTitles(), (std::vector<std::string>{L("暂无其他运行中应用"), "—", L("选择其他应用…")}));
    EXPECT_FALSE(menus.find(L("暂无其他运行中应用"))->isEnabled());
    menus.dismiss();

    // The quick-launch panel asks with a button in no window: the menu opens at the pointer.
    desktop.input().warpMouse({300, 500});
    auto detached = platform::Button::make();
    c.addQuickApplication(*detached);
    EXPECT_TRUE(menus.isOpen());
}

TEST_F(QuickLaunchCardTest, RenamingKeepsThePlaceAndTheIdentifier) {
    storeOneOfEachKind();
    auto& c = openMainWindow();
    const auto before = store().entries();
    pressIcon(c, 3);
    alerts.answerWith([](platform::Alert& prompt) {
        auto field = std::static_pointer_cast<platform::TextField>(prompt.accessoryView);
        EXPECT_EQ(field->stringValue(), "Notes");
        field->setStringValue("Plans");
        return platform::ModalResponses::alertFirstButton;
    });
    c.quickLaunchRenameButton->performClick();
    EXPECT_EQ(alerts.last().messageText, L("重命名快捷启动"));
    ASSERT_EQ(store().entries().size(), before.size());
    EXPECT_EQ(store().entries()[3].id, before[3].id);
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Mail", "Example", "地址", "Plans", "新建文本"}));
    EXPECT_EQ(selectedTitle(c), "Plans · 文件");
    EXPECT_EQ(c.statusText(), L("已重命名快捷启动项。"));
}

TEST_F(QuickLaunchCardTest, DeletingAsksFirst) {
    storeOneOfEachKind();
    auto& c = openMainWindow();
    pressIcon(c, 1);
    const auto status = c.statusText();
    alerts.answer(platform::ModalResponses::alertFirstButton + 1);
    cardButton(c, L("删除"))->performClick();
    EXPECT_EQ(alerts.last().messageText, L("删除快捷启动项？"));
    EXPECT_EQ(alerts.last().informativeText, L("这不会删除原始内容，只会移除快捷方式。"));
    EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{L("删除"), L("取消")}));
    EXPECT_EQ(store().entries().size(), 5u);
    EXPECT_EQ(c.statusText(), status);

    alerts.answer(platform::ModalResponses::alertFirstButton);
    cardButton(c, L("删除"))->performClick();
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Mail", "地址", "Notes", "新建文本"}));
    EXPECT_EQ(c.quickLaunchIconStrip->items().size(), 4u);
    EXPECT_EQ(c.statusText(), L("已删除快捷启动项。"));
}

TEST_F(QuickLaunchCardTest, ADoubleClickOpensTheEditorOfEditableKindsOnly) {
    storeOneOfEachKind();
    auto& c = openMainWindow();
    pressIcon(c, 2);
    pressIcon(c, 0, 2);
    EXPECT_EQ(alerts.count(), 0u);
    EXPECT_EQ(selectedTitle(c), "地址 · 信息") << "a double click on an application selects nothing";

    pressIcon(c, 1, 2);
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, L("编辑快捷网页"));
    EXPECT_EQ(selectedTitle(c), "Example · 网页");
}

TEST_F(QuickLaunchCardTest, DraggingAnIconSavesTheNewOrder) {
    storeOneOfEachKind();
    auto& c = openMainWindow();
    const auto moved = store().entries()[0].id;
    pressIcon(c, 0, 1, 120);  // past the next two icons
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"Example", "地址", "Mail", "Notes", "新建文本"}));
    EXPECT_EQ(c.selectedQuickLaunchID(), moved);
    EXPECT_EQ(c.quickLaunchIconStrip->selectedID(), moved);
    EXPECT_EQ(c.statusText(), L("快捷启动顺序已保存。"));
}

TEST_F(QuickLaunchCardTest, DroppedFilesStopAtTheFirstThatCannotBeAdded) {
    storeQuickLaunchEntries({});
    auto& c = openMainWindow();
    std::ofstream(home() / "report.pdf") << "%PDF";
    const std::vector<std::string> dropped = {
        platform::Url::fileUrl((home() / "report.pdf").string()).string(),
        platform::Url::fileUrl((home() / "gone.txt").string()).string(),
        platform::Url::fileUrl((home() / "report.pdf").string()).string(),
    };
    c.quickLaunchIconStrip->onImportFiles(dropped);
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"report.pdf"}));
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, errorDescription(AppError::invalidQuickFilePath));
    EXPECT_EQ(c.statusText(), errorDescription(AppError::invalidQuickFilePath));
    EXPECT_EQ(c.quickLaunchIconStrip->items().size(), 1u) << "what was stored is shown";

    // An application bundle becomes an application entry named without ".app".
    c.quickLaunchIconStrip->onImportFiles({platform::Url::fileUrl("/Applications/Editor.app", true).string()});
    ASSERT_EQ(store().entries().size(), 2u);
    EXPECT_EQ(store().entries()[1].kind, QuickLaunchKind::application);
    EXPECT_EQ(store().entries()[1].name, "Editor");
    EXPECT_EQ(c.statusText(), L("已添加本地文件或文件夹。"));
}

}  // namespace
}  // namespace tallowmere::testing
