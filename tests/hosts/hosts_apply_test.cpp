#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

#include "hosts_fixture.h"
#include "platform/system/command_table.h"
#include "platform/ui/button.h"
#include "platform/ui/text_view.h"

namespace tallowmere::testing {
namespace {

namespace fs = std::filesystem;
using platform::CommandCall;
using platform::CommandTable;
using platform::SystemColor;

constexpr const char* applied = "127.0.0.1 localhost\n10.0.0.8 intranet.example\n";
constexpr const char* cannotConfirm = "未能确认系统 Hosts 内容与本次保存一致，请检查后重试。";

class HostsApplyTest : public HostsTest {};

TEST_F(HostsApplyTest, AnApplyRunsTheRealScriptOnTheSimulatedSystem) {
    auto& editor = controller();
    const std::string before = systemHosts();
    fs::permissions(editor.hostsURL, fs::perms(0600));
    ASSERT_TRUE(fs::exists(editor.hostsURL)) << "seeded from this machine's hosts file";

    applyAnswering(1000, "127.0.0.1 localhost\n10.0.0.8 intranet.example");

    EXPECT_EQ(systemHosts(), applied) << "the text with its final line feed, byte for byte";
    struct stat fileStatus{};
    ASSERT_EQ(::stat(editor.hostsURL.c_str(), &fileStatus), 0);
    EXPECT_EQ(fileStatus.st_mode & 07777, 0644u);
    EXPECT_EQ(namesIn(editor.hostsURL.parent_path()), std::vector<std::string>{"hosts"})
        << "no .tallowmere-hosts.* copy left beside it";
    EXPECT_TRUE(namesIn(temporaryFolder()).empty()) << "no staged file or folder left";
    ASSERT_EQ(backupCount(), 1u);
    EXPECT_EQ(read(backupFolder() / namesIn(backupFolder())[0]), before);
    EXPECT_EQ(status(), "已保存并应用");
    EXPECT_EQ(statusColor(), SystemColor::green);
    EXPECT_EQ(passwordPrompts(), 1u);
    EXPECT_TRUE(editorAlerts().empty());
    EXPECT_FALSE(editor.isSaving);
    EXPECT_TRUE(editor.applyButton->isEnabled());
}

TEST_F(HostsApplyTest, OutcomesThroughThePrivilegedHelper) {
    using Arrange = std::function<void()>;
    // osascript as a test's program: its status, standard error, and what it
    // writes over the system file.
    const auto osascriptAnswers = [this](int status, std::string error, std::optional<std::string> writes = {}) {
        return [=, this] {
            CommandTable::shared().overrideCommand(
                "/usr/bin/osascript", [=, hosts = controller().hostsURL](CommandCall& call) {
                    if (writes) write(hosts, *writes);
                    call.writeError(error);
                    return status;
                });
        };
    };
    struct Case {
        const char* name;
        Arrange arrange;
        std::optional<platform::ModalResponse> prompt;  // nothing: no prompt is shown
        std::string status;
        SystemColor color;
        std::optional<std::string> alertTitle;
        std::string alertText;  // empty: any
        bool written;           // the system file holds the applied text
        bool becomesActive;
    } cases[] = {
        {"success", {}, 1000, "办公 已应用到系统", SystemColor::green, {}, "", true, true},
        {"cache refresh failed",
         [] { CommandTable::shared().overrideCommand("/usr/bin/killall", fs::path("/bin/false")); },
         1000, "Hosts 已写入，网络缓存刷新未完成", SystemColor::orange, {}, "", true, true},
        {"prompt cancelled", {}, 1001, "未保存", SystemColor::secondaryLabel, {}, "", false, false},
        {"cancel told by its number alone", osascriptAnswers(1, "execution error: (-128)"), {}, "未保存",
         SystemColor::secondaryLabel, {}, "", false, false},
        {"cancel told in other case", osascriptAnswers(1, "USER CANCELED."), {}, "未保存",
         SystemColor::secondaryLabel, {}, "", false, false},
        {"failure with empty standard error", osascriptAnswers(1, ""), {}, "未保存", SystemColor::secondaryLabel,
         "无法应用 Hosts", cannotConfirm, false, false},
        {"script failure", osascriptAnswers(1, "\n execution error: mv: cannot move (1)\n"), {}, "未保存",
         SystemColor::secondaryLabel, "无法应用 Hosts", "execution error: mv: cannot move (1)", false, false},
        {"file read back differs", osascriptAnswers(0, "", "127.0.0.1 other\n"), {}, "未保存",
         SystemColor::secondaryLabel, "无法应用 Hosts", cannotConfirm, false, false},
        {"library write fails after the file was written",
         [this] {
             fs::remove(libraryFile());
             fs::create_directories(libraryFile() / "blocker");
         },
         1000, "Hosts 已写入，但配置状态保存失败", SystemColor::orange, "无法保存 Hosts 配置状态", "", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        context().setShared(std::make_shared<HostsEditorController>());
        context().setShared(std::make_shared<CommandTable>());
        fs::remove_all(supportFolder());
        setSystemHosts("127.0.0.1 localhost\n");
        const auto ids = loadProfiles({{"家里", "1 a\n"}, {"办公", applied}});
        auto& editor = controller();
        editor.library.activeProfileID = ids[0];
        editor.textView->setString("edited");
        editor.loadedContent = "loaded";
        const std::size_t alertsBefore = editorAlerts().size();
        if (c.arrange) c.arrange();

        applyAnswering(c.prompt, applied, ids[1], "办公 已应用到系统");

        EXPECT_EQ(status(), c.status);
        EXPECT_EQ(statusColor(), c.color);
        const auto shown = editorAlerts();
        ASSERT_EQ(shown.size() - alertsBefore, c.alertTitle ? 1u : 0u);
        if (c.alertTitle) {
            EXPECT_EQ(shown.back().messageText, *c.alertTitle);
            if (!c.alertText.empty()) {
                EXPECT_EQ(shown.back().informativeText, c.alertText);
            }
            EXPECT_FALSE(shown.back().informativeText.empty());
        }
        EXPECT_EQ(systemHosts() == applied, c.written);
        EXPECT_EQ(editor.library.activeProfileID, c.becomesActive ? ids[1] : ids[0]);
        EXPECT_FALSE(editor.isSaving);
        EXPECT_TRUE(editor.applyButton->isEnabled());
        EXPECT_EQ(editor.saveButton->isEnabled(), !c.written) << "after a failure, enabled while the editor differs";
        EXPECT_TRUE(namesIn(temporaryFolder()).empty()) << "the staged file is removed";
    }
}

TEST_F(HostsApplyTest, BadInputStopsBeforeAnyPrivilegedStep) {
    struct Case {
        const char* name;
        std::string systemFile;
        std::string text;
        std::string alertTitle;
        std::string alertText;  // empty: any
    } cases[] = {
        {"a line without a host name", "127.0.0.1 localhost\n", "127.0.0.1 a\n\n10.0.0.1\n", "Hosts 格式有误",
         "第 3 行缺少主机名，正确格式为：IP 地址 + 主机名。"},
        {"a system file that is not UTF-8", "127.0.0.1 \xff\xfe\n", "127.0.0.1 a\n", "无法保存 Hosts", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setSystemHosts(c.systemFile);
        const std::size_t alertsBefore = alerts.count();
        controller().applyToSystem(c.text, std::nullopt, "已保存并应用");
        runUntilIdle();

        ASSERT_EQ(alerts.count(), alertsBefore + 1) << "one alert and no password prompt";
        EXPECT_EQ(alerts.last().messageText, c.alertTitle);
        if (!c.alertText.empty()) {
            EXPECT_EQ(alerts.last().informativeText, c.alertText);
        }
        EXPECT_EQ(alerts.last().buttons, std::vector<std::string>{"好"});
        EXPECT_EQ(systemHosts(), c.systemFile) << "nothing is written";
        EXPECT_EQ(backupCount(), 0u) << "nothing is backed up";
        EXPECT_TRUE(namesIn(temporaryFolder()).empty()) << "nothing is staged";
        EXPECT_FALSE(controller().isSaving);
    }
}

TEST_F(HostsApplyTest, ACanonicallyEquivalentReadBackCountsAsApplied) {
    const std::string composed = "10.0.0.9 caf\u00E9.example\n";
    const std::string decomposed = "10.0.0.9 cafe\u0301.example\n";
    CommandTable::shared().overrideCommand("/usr/bin/osascript", [this, decomposed](CommandCall&) {
        write(controller().hostsURL, decomposed);
        return 0;
    });
    controller().applyToSystem(composed, std::nullopt, "已保存并应用");
    runUntilIdle();
    EXPECT_EQ(status(), "已保存并应用");
    EXPECT_TRUE(editorAlerts().empty());
}

TEST_F(HostsApplyTest, TheStagedFileIsPrivateToTheUser) {
    struct Seen {
        fs::path file;
        unsigned folderMode = 0;
        unsigned fileMode = 0;
        std::string text;
    } seen;
    CommandTable::shared().overrideCommand("/usr/bin/osascript", [&seen](CommandCall& call) {
        const std::string& source = call.arguments().at(1);
        const auto begin = source.find("/bin/cat '") + 10;
        seen.file = source.substr(begin, source.find("' >", begin) - begin);
        struct stat folder{}, file{};
        ::stat(seen.file.parent_path().c_str(), &folder);
        ::stat(seen.file.c_str(), &file);
        seen.folderMode = folder.st_mode & 07777;
        seen.fileMode = file.st_mode & 07777;
        seen.text = read(seen.file);
        return 1;
    });
    controller().applyToSystem("127.0.0.1 a", std::nullopt, "已保存并应用");
    runUntilIdle();

    EXPECT_EQ(seen.file.parent_path().parent_path(), temporaryFolder()) << "a fresh folder in the temporary folder";
    EXPECT_TRUE(seen.file.filename().string().starts_with("tallowmere-hosts-")) << seen.file;
    EXPECT_EQ(seen.folderMode, 0700u);
    EXPECT_EQ(seen.fileMode, 0600u);
    EXPECT_EQ(seen.text, "127.0.0.1 a\n");
    EXPECT_TRUE(namesIn(temporaryFolder()).empty()) << "file and folder removed after the script";
}

TEST_F(HostsApplyTest, ASecondApplyWhileOneWaitsIsRefused) {
    auto& editor = controller();
    alerts.answer(1000);
    editor.applyToSystem(applied, std::nullopt, "已保存并应用");
    ASSERT_TRUE(editor.isSaving) << "the script's end has not reached the main queue yet";
    EXPECT_EQ(status(), "等待管理员授权…");
    EXPECT_EQ(statusColor(), SystemColor::blue);
    EXPECT_FALSE(editor.applyButton->isEnabled());
    EXPECT_FALSE(editor.saveButton->isEnabled());

    editor.applyToSystem("127.0.0.1 other\n", std::nullopt, "已保存并应用");
    EXPECT_EQ(editorAlerts().back().messageText, "正在应用 Hosts");
    EXPECT_EQ(backupCount(), 1u) << "the refused apply backs nothing up";

    runUntilIdle();
    EXPECT_EQ(systemHosts(), applied);
    EXPECT_EQ(passwordPrompts(), 1u);
    EXPECT_EQ(status(), "已保存并应用");
}

TEST_F(HostsApplyTest, AHelperThatCannotLaunchGivesTheControlsBack) {
    CommandTable::shared().overrideCommand("/usr/bin/osascript", home() / "absent");
    auto& editor = controller();
    const std::string before = systemHosts();
    editor.applyToSystem(applied, std::nullopt, "已保存并应用");

    EXPECT_EQ(editorAlerts().back().messageText, "无法请求管理员授权");
    EXPECT_FALSE(editor.isSaving);
    EXPECT_TRUE(editor.applyButton->isEnabled());
    EXPECT_TRUE(editor.saveButton->isEnabled());
    EXPECT_EQ(status(), "等待管理员授权…") << "the status line keeps its text";
    EXPECT_TRUE(namesIn(temporaryFolder()).empty()) << "the staged file is removed";
    EXPECT_EQ(systemHosts(), before);
}

TEST_F(HostsApplyTest, ApplyingTheSelectedProfileStoresItsTextAndMarksItActive) {
    const auto ids = loadProfiles({{"办公", "1 a\n"}});
    auto& editor = controller();
    const auto categoryID = editor.library.categories[0].id;
    editor.selectedNode = HostsSidebarNode::makeProfile(categoryID, ids[0], "办公");

    editor.textView->setString("10.0.0.1\n");
    editor.applyCurrentProfile();
    EXPECT_EQ(editorAlerts().back().messageText, "Hosts 格式有误");
    EXPECT_EQ(editor.library.categories[0].profiles[0].content, "1 a\n") << "invalid text is not stored";

    editor.textView->setString("10.0.0.1 office");
    alerts.answer(1000);
    editor.applyCurrentProfile();
    runUntilIdle();
    EXPECT_EQ(editor.library.categories[0].profiles[0].content, "10.0.0.1 office") << "stored as typed";
    EXPECT_EQ(editor.loadedContent, "10.0.0.1 office");
    EXPECT_EQ(systemHosts(), "10.0.0.1 office\n") << "applied with a final line feed";
    EXPECT_EQ(status(), "此 Hosts 方案已应用到系统");
    EXPECT_EQ(HostsLibrary::decode(read(libraryFile()))->activeProfileID, ids[0]);
}

}  // namespace
}  // namespace tallowmere::testing
