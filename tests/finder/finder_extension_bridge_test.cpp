#include "finder/finder_extension_bridge.h"

#include <gtest/gtest.h>

#include "finder/finder_destination_resolver.h"
#include "finder_test.h"
#include "platform/desktop/pasteboard.h"
#include "platform/system/hidden_flag.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using platform::HiddenFlag::isHidden;

class FinderExtensionBridgeTest : public testing::FinderTest {
protected:
    Path work = makeFolder(home() / "Work");
    FinderExtensionBridge& bridge = FinderExtensionBridge::shared();

    std::optional<std::string> pasteboardText() { return platform::Pasteboard::general().string(); }
};

TEST_F(FinderExtensionBridgeTest, IgnoresWhatIsNoRequest) {
    for (const char* text : {"https://example.com/copy", "tallowmere-finder://rename?directory=/tmp",
                             "tallowmere-finder:copy?directory=/tmp"}) {
        SCOPED_TRACE(text);
        send(text);
    }
    EXPECT_FALSE(bridge.hasHandledRequest());
    EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(FinderExtensionBridgeTest, RefusesBadPathsWithTheirTexts) {
    const auto file = makeFile(work / "a.txt").string();
    const std::string invalid = "文件操作路径无效，未执行操作。";
    const std::string missingItem = "所选项目已不存在，未执行操作。";
    const std::string missingFolder = "目标文件夹已不存在，请重新打开 Finder 文件夹后再试。";
    struct Case {
        const char* name;
        std::string url;
        std::string message;
    } cases[] = {
        {"relativeDirectory", requestURL("copy", "Work", {file}), invalid},
        {"emptyPath", requestURL("copy", work.string(), {file, ""}), invalid},
        {"relativePath", requestURL("hash-md5", work.string(), {"a.txt"}), invalid},
        {"nulInPath", "tallowmere-finder://copy?directory=" + work.string() + "&path=" + file + "%00.sh", invalid},
        {"missingItem", requestURL("copy", work.string(), {file, (work / "gone").string()}), missingItem},
        {"traversalToMissingItem", requestURL("copy", work.string(), {work.string() + "/../../../../no/such"}),
         missingItem},
        {"terminalWithMissingItem", requestURL("terminal", work.string(), {(work / "gone").string()}), missingItem},
        {"missingDirectory", requestURL("copy", (work / "gone").string(), {file}), missingFolder},
        {"directoryIsAFile", requestURL("create", file, {}, "txt"), missingFolder},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = alerts.count();
        platform::Pasteboard::general().clearContents();
        send(c.url);
        ASSERT_EQ(alerts.count(), before + 1);
        EXPECT_EQ(alerts.last().messageText, "塔洛梅文件操作未完成");
        EXPECT_EQ(alerts.last().informativeText, c.message);
        EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"好"}));
        EXPECT_FALSE(pasteboardText());
    }
    EXPECT_TRUE(bridge.hasHandledRequest());
    EXPECT_TRUE(desktop.workspace().openedApplications().empty());
}

TEST_F(FinderExtensionBridgeTest, CopiesItemPathsOrTheFolder) {
    const auto a = makeFile(work / "a b.txt").string();
    const auto b = makeFile(work / "文件.md").string();
    send(requestURL("copy", work.string(), {a, b, work.string() + "/./a b.txt"}));
    EXPECT_EQ(pasteboardText(), a + "\n" + b);
    send(requestURL("copy", work.string()));
    EXPECT_EQ(pasteboardText(), work.string());
    EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(FinderExtensionBridgeTest, CopyWithoutFolderAsksFinderForItsFrontFolder) {
    desktop.finder().setFrontWindowTarget(work);
    send(requestURL("copy", ""));
    EXPECT_EQ(pasteboardText(), work.string());
    EXPECT_TRUE(panels.shown().empty());
}

TEST_F(FinderExtensionBridgeTest, CreatesNumberedNewFilesNeverOverwriting) {
    makeFile(work / "新建文件.md", "keep");
    makeFile(work / "新建文件 (1).md", "keep");
    send(requestURL("create", work.string(), {}, "md"));
    EXPECT_TRUE(fs::exists(work / "新建文件 (2).md"));
    EXPECT_EQ(fs::file_size(work / "新建文件 (2).md"), 0u);
    EXPECT_EQ(readFile(work / "新建文件.md"), "keep");
    ASSERT_EQ(desktop.workspace().fileViewerSelections().size(), 1u);
    EXPECT_EQ(desktop.finder().selection(), (std::vector<fs::path>{work / "新建文件 (2).md"}));

    send(requestURL("create", work.string(), {}, "txt"));
    EXPECT_TRUE(fs::exists(work / "新建文件.txt"));

    // Types other than the two, or none, do nothing at all.
    for (const char* type : {"docx", "TXT", ""}) send(requestURL("create", work.string(), {}, type));
    EXPECT_EQ(std::distance(fs::directory_iterator(work), fs::directory_iterator()), 4);
    EXPECT_EQ(alerts.count(), 0u);
}

TEST_F(FinderExtensionBridgeTest, GivesUpAfterTenThousandNames) {
    makeFile(work / "新建文件.txt");
    for (int n = 1; n < 10000; ++n) makeFile(work / ("新建文件 (" + std::to_string(n) + ").txt"));
    send(requestURL("create", work.string(), {}, "txt"));
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"同名文件过多，请清理或改用其他文件夹。"}));
    EXPECT_FALSE(fs::exists(work / "新建文件 (10000).txt"));
}

TEST_F(FinderExtensionBridgeTest, OpensTerminalInTheFolder) {
    send(requestURL("terminal", work.string()));
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"未找到系统终端。"}));

    auto terminal = setup.addApplication({.bundleIdentifier = "com.apple.Terminal",
                                          .name = "Terminal",
                                          .bundlePath = "/System/Applications/Utilities/Terminal.app"});
    send(requestURL("terminal", work.string()));
    advance(1);
    ASSERT_EQ(terminal->openedURLs().size(), 1u);
    EXPECT_EQ(terminal->openedURLs().front(), platform::Url::fileUrl(work.string(), true).string());
}

TEST_F(FinderExtensionBridgeTest, ConfirmsHidingNamingAtMostTwentyTargets) {
    struct Case {
        int items;
        const char* tail;
    } cases[] = {{20, ""}, {25, "\n另有 5 个项目。"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items);
        const auto folder = makeFolder(work / std::to_string(c.items));
        std::vector<std::string> paths;
        for (int i = 0; i < c.items; ++i) paths.push_back(makeFile(folder / ("f" + std::to_string(100 + i))).string());
        alerts.answer(platform::ModalResponses::alertSecondButton);  // 取消
        send(requestURL("hide", folder.string(), paths));
        std::string listed;
        for (int i = 0; i < 20; ++i) listed += (i ? "\n" : "") + paths[static_cast<std::size_t>(i)];
        EXPECT_EQ(alerts.last().messageText, "隐藏所选文件？");
        EXPECT_EQ(alerts.last().informativeText, "此请求来自 Finder 链接。请核对目标后再继续：\n\n" + listed + c.tail);
        EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"隐藏所选文件", "取消"}));
        EXPECT_FALSE(fs::exists(folder / ".hidden"));
    }
}

TEST_F(FinderExtensionBridgeTest, HidesAndUnhidesOnceConfirmed) {
    const auto a = makeFile(work / "a").string();
    const auto b = makeFile(work / "b").string();
    alerts.answer(platform::ModalResponses::alertFirstButton);
    send(requestURL("hide", work.string(), {a, b}));
    EXPECT_TRUE(isHidden(a));
    EXPECT_TRUE(isHidden(b));
    EXPECT_EQ(readFile(work / ".hidden"), "a\nb\n");
    EXPECT_EQ(desktop.workspace().fileSystemChanges(), (std::vector<std::string>{work.string()}));

    alerts.answer(platform::ModalResponses::alertFirstButton);
    send(requestURL("unhide-all", work.string()));
    EXPECT_EQ(alerts.last().messageText, "取消隐藏文件夹内全部项目？");
    EXPECT_EQ(alerts.last().informativeText, "此请求来自 Finder 链接。请核对目标后再继续：\n\n" + work.string());
    EXPECT_FALSE(isHidden(a));
    EXPECT_FALSE(fs::exists(work / ".hidden"));
}

TEST_F(FinderExtensionBridgeTest, ReadsFinderSelectionWhenTheRequestHasNoItems) {
    const auto other = makeFolder(home() / "Other");
    const std::vector<fs::path> selected = {makeFile(work / "1.txt"), makeFile(other / "2.txt"), makeFile(work / "3.txt")};
    desktop.finder().setSelection(selected);
    alerts.answer(platform::ModalResponses::alertFirstButton);
    send(requestURL("hide", ""));
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().informativeText, "此请求来自 Finder 链接。请核对目标后再继续：\n\n" + selected[0].string() +
                                                 "\n" + selected[1].string() + "\n" + selected[2].string());
    for (const auto& item : selected) EXPECT_TRUE(isHidden(item)) << item;
}

TEST_F(FinderExtensionBridgeTest, SelectionThatCannotServeEndsTheRequest) {
    const auto file = makeFile(work / "f.txt");
    const auto folder = makeFolder(work / "d");
    struct Case {
        const char* name;
        std::string action;
        std::vector<fs::path> selection;
        bool automationAllowed;
        std::string message;
    } cases[] = {
        {"nothingSelected", "airdrop", {}, true, "请先在 Finder 中选中文件或文件夹，再执行此操作。"},
        {"automationRefused", "hash-md5", {file}, false,
         "无法读取 Finder 选中的项目。请在系统设置的隐私与安全性 → 自动化中，允许塔洛梅控制 Finder 后重试。"},
        {"dissolveAFile", "dissolve", {folder, file}, true, "解散文件夹仅适用于文件夹，请重新选择。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        desktop.finder().setSelection(c.selection);
        desktop.finder().setAutomationAllowed(c.automationAllowed);
        const auto before = alerts.count();
        send(requestURL(c.action, ""));
        ASSERT_EQ(alerts.count(), before + 1);
        EXPECT_EQ(alerts.last().informativeText, c.message);
    }
    EXPECT_TRUE(fs::exists(folder));
    EXPECT_TRUE(desktop.sharingServices().performed().empty());
}

TEST_F(FinderExtensionBridgeTest, FolderPanelWhenFinderCannotSay) {
    desktop.finder().setAutomationAllowed(false);
    panels.cancelNextOpen();
    send(requestURL("copy", ""));
    ASSERT_EQ(panels.shown().size(), 1u);
    EXPECT_EQ(panels.shown()[0].title, "选择新建文件的位置");
    EXPECT_FALSE(pasteboardText());

    panels.choose({work});
    send(requestURL("create", "", {}, "txt"));
    EXPECT_TRUE(fs::exists(work / "新建文件.txt"));
}

TEST_F(FinderExtensionBridgeTest, ResolverAnswersOnlyTheFirstOfOverlappingCalls) {
    desktop.finder().setFrontWindowTarget(std::nullopt);
    const auto desktopFolder = makeFolder(home() / "Desktop");
    std::vector<std::optional<fs::path>> answers;
    auto& resolver = FinderDestinationResolver::shared();
    resolver.resolve([&](auto folder) { answers.push_back(folder); });
    resolver.resolve([&](auto folder) { answers.push_back(folder); });
    runUntilIdle();
    EXPECT_EQ(answers, (std::vector<std::optional<fs::path>>{desktopFolder}));
    EXPECT_FALSE(resolver.isResolving());
}

}  // namespace
}  // namespace tallowmere
