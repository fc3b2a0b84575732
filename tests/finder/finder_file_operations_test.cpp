#include "finder/finder_file_operations.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "finder_test.h"
#include "platform/desktop/pasteboard.h"
#include "platform/system/command_table.h"
#include "platform/system/hidden_flag.h"
#include "platform/system/trash.h"

namespace tallowmere {
namespace {

namespace fs = std::filesystem;
using platform::HiddenFlag::isHidden;
using platform::ModalResponses::alertFirstButton;

// What coreutils prints for the file: the digest before the first space.
std::string coreutilsDigest(const std::string& tool, const fs::path& file) {
    std::string command = tool + " '" + file.string() + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return {};
    char buffer[256] = {};
    const std::string line = std::fgets(buffer, sizeof buffer, pipe) ? buffer : "";
    ::pclose(pipe);
    return line.substr(0, line.find(' '));
}

class FinderFileOperationsTest : public testing::FinderTest {
protected:
    Path work = makeFolder(home() / "Work");
    FinderFileOperations& operations = FinderFileOperations::shared();

    void run(const std::string& action, const std::vector<Path>& paths, const Path& directory = {}) {
        operations.handle(action, directory.empty() ? work : directory, paths);
        runUntilIdle();
    }
    std::optional<std::string> pasteboardText() { return platform::Pasteboard::general().string(); }
    // Items under a folder, relative, sorted, ".hidden" included.
    static std::vector<std::string> tree(const Path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            names.push_back(fs::relative(entry.path(), folder).string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// --- Hashes ---------------------------------------------------------------------

TEST_F(FinderFileOperationsTest, HashesEqualCoreutils) {
    std::string big(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7919 % 251);
    const std::vector<Path> files = {makeFile(work / "empty"), makeFile(work / "空 格.txt", "hello\n"),
                                     makeFile(work / "big.bin", big)};
    struct Case {
        const char* action;
        const char* algorithm;
        const char* tool;
    } cases[] = {{"hash-md5", "MD5", "md5sum"}, {"hash-sha1", "SHA-1", "sha1sum"}, {"hash-sha256", "SHA-256", "sha256sum"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        run(c.action, files);
        std::string expected;
        for (const auto& file : files) {
            expected += (expected.empty() ? "" : "\n") + coreutilsDigest(c.tool, file) + "  " + file.filename().string();
        }
        EXPECT_EQ(pasteboardText(), expected);
        EXPECT_EQ(alerts.last().messageText, std::string("已复制 ") + c.algorithm + " 哈希值");
        EXPECT_EQ(alerts.last().informativeText, expected);
    }
}

TEST_F(FinderFileOperationsTest, OneFileGivesTheDigestAlone) {
    const auto file = makeFile(work / "a.txt", "abc");
    run("hash-sha256", {makeFolder(work / "folder"), file});
    EXPECT_EQ(pasteboardText(), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST_F(FinderFileOperationsTest, HashFailuresAreReported) {
    run("hash-md5", {makeFolder(work / "only-a-folder")});
    EXPECT_EQ(alertMessages().back(), "请选择文件后再计算哈希值。");

    // The command fails: nothing reaches the pasteboard.
    platform::CommandTable::shared().overrideCommand("/usr/bin/md5", [](platform::CommandCall& call) {
        call.writeOutput("0123456789abcdef0123456789abcdef\n");
        return 1;
    });
    platform::Pasteboard::general().clearContents();
    run("hash-md5", {makeFile(work / "x")});
    EXPECT_EQ(alertMessages().back(), "哈希值计算失败。");
    EXPECT_EQ(alerts.last().messageText, "文件操作未完成");
    EXPECT_FALSE(pasteboardText());

    // Error output never counts as a digest.
    platform::CommandTable::shared().overrideCommand("/usr/bin/md5", [](platform::CommandCall& call) {
        call.writeError("md5: warning\n");
        call.writeOutput("d41d8cd98f00b204e9800998ecf8427e\n");
        return 0;
    });
    run("hash-md5", {work / "x"});
    EXPECT_EQ(pasteboardText(), "d41d8cd98f00b204e9800998ecf8427e");
}

// --- Hidden flag ----------------------------------------------------------------

TEST_F(FinderFileOperationsTest, HideGoesOnPastAFailureAndNamesIt) {
    const auto good = makeFile(work / "good");
    const auto bad = makeFile(work / "bad\nname");  // cannot stand on a line of .hidden
    const auto last = makeFile(work / "last");
    run("hide", {good, bad, last});
    EXPECT_TRUE(isHidden(good));
    EXPECT_TRUE(isHidden(last));
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"以下项目处理失败：\nbad\nname"}));
    EXPECT_EQ(desktop.workspace().fileSystemChanges(), (std::vector<std::string>{work.string()}));
}

TEST_F(FinderFileOperationsTest, UnhideAllReachesEveryEntryAndNamesFailures) {
    std::vector<std::string> touched;
    platform::CommandTable::shared().overrideCommand("/usr/bin/chflags", [&](platform::CommandCall& call) {
        touched.push_back(fs::path(call.arguments().at(1)).filename().string());
        if (touched.back() == "stuck") return 1;
        return platform::HiddenFlag::setHidden(call.arguments().at(1), false) ? 0 : 1;
    });
    for (const char* name : {"h1", "h2", "stuck", "v1", "v2"}) makeFile(work / name);
    for (const char* name : {"h1", "h2", "stuck"}) ASSERT_TRUE(platform::HiddenFlag::setHidden(work / name, true));
    run("unhide-all", {}, work);
    EXPECT_EQ(touched, (std::vector<std::string>{"h1", "h2", "stuck", "v1", "v2"}));
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"以下项目处理失败：\nstuck"}));
    EXPECT_FALSE(isHidden(work / "h1"));

    touched.clear();
    run("unhide-all", {}, makeFolder(work / "empty"));
    EXPECT_TRUE(touched.empty());
    run("unhide-all", {}, work / "gone");
    EXPECT_EQ(alerts.count(), 2u);
}

// --- AirDrop --------------------------------------------------------------------

TEST_F(FinderFileOperationsTest, AirDropGetsTheItemsWhenAvailable) {
    const auto file = makeFile(work / "photo 1.png");
    run("airdrop", {file});
    ASSERT_EQ(desktop.sharingServices().performed().size(), 1u);
    EXPECT_EQ(desktop.sharingServices().performed()[0].items,
              (std::vector<std::string>{platform::Url::fileUrl(file.string()).string()}));

    desktop.sharingServices().setAvailable(platform::SharingService::sendViaAirDrop, false);
    run("airdrop", {file});
    EXPECT_EQ(alertMessages(), (std::vector<std::string>{"当前系统无法使用隔空投送。"}));
}

// --- Copy to, move to -----------------------------------------------------------

TEST_F(FinderFileOperationsTest, CopyAndMoveRefuseTheWholeJobOnAnyClash) {
    const auto one = makeFolder(work / "one");
    const auto two = makeFolder(work / "two");
    const auto into = makeFolder(home() / "Into");
    makeFile(into / "b.txt", "theirs");
    makeFile(into / "Z");
    struct Case {
        const char* name;
        const char* action;
        std::vector<Path> items;
        Path destination;
        std::string message;
    } cases[] = {
        {"nameTakenInDestination", "copy-to", {makeFile(one / "a.txt"), makeFile(one / "b.txt"), makeFile(one / "Z")}, into,
         "目标位置已有同名项目，未执行操作：\nZ\nb.txt"},
        {"sameNameTwiceInRequest", "move-to", {makeFile(one / "same"), makeFile(two / "same")}, makeFolder(home() / "Empty"),
         "目标位置已有同名项目，未执行操作：\nsame"},
        {"theItemsOwnFolder", "move-to", {one / "a.txt", one / "b.txt"}, one, "目标位置已有同名项目，未执行操作：\na.txt\nb.txt"},
        {"folderIntoItsOwnSubfolder", "copy-to", {one / "a.txt", work / "two"}, makeFolder(two / "inner"),
         "不能把文件夹放进它自身或它里面的文件夹，未执行操作：\ntwo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = tree(home());
        panels.choose({c.destination});
        run(c.action, c.items);
        EXPECT_EQ(alertMessages().back(), c.message);
        EXPECT_EQ(tree(home()), before);
    }
    EXPECT_TRUE(desktop.workspace().fileViewerSelections().empty());
}

TEST_F(FinderFileOperationsTest, CopyAndMoveSelectTheTargets) {
    const auto into = makeFolder(home() / "Into");
    const auto file = makeFile(work / "a.txt", "A");
    const auto folder = makeFolder(work / "d");
    makeFile(folder / "inner.txt", "I");
    ASSERT_TRUE(platform::HiddenFlag::setHidden(file, true));

    panels.choose({into});
    run("copy-to", {file, folder});
    ASSERT_EQ(panels.shown().size(), 1u);
    EXPECT_EQ(panels.shown()[0].title, "复制到");
    EXPECT_EQ(panels.shown()[0].message, "选择文件要复制到的文件夹\n\n" + file.string() + "\n" + folder.string());
    EXPECT_EQ(readFile(into / "d" / "inner.txt"), "I");
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(isHidden(into / "a.txt"));  // the mark travels with the copy

    const auto elsewhere = makeFolder(home() / "Elsewhere");
    panels.choose({elsewhere});
    run("move-to", {file, folder});
    EXPECT_EQ(panels.shown()[1].title, "移动到");
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(isHidden(file));
    EXPECT_TRUE(isHidden(elsewhere / "a.txt"));
    EXPECT_EQ(readFile(elsewhere / "d" / "inner.txt"), "I");
    ASSERT_EQ(desktop.workspace().fileViewerSelections().size(), 2u);
    EXPECT_EQ(desktop.finder().selection(), (std::vector<fs::path>{elsewhere / "a.txt", elsewhere / "d"}));

    panels.cancelNextOpen();
    run("copy-to", {elsewhere / "a.txt"});
    EXPECT_EQ(alerts.count(), 0u);
}

// A destination so deep that only short names fit under it: the second
// item cannot be moved after the first one was.
TEST_F(FinderFileOperationsTest, FailedMoveHalfWayPutsEverythingBack) {
    Path deep = home();
    while (deep.string().size() < 3900) deep /= std::string(200, 'd');
    makeFolder(deep);
    const auto first = makeFile(work / "a", "first");
    const auto second = makeFile(work / std::string(250, 'b'), "second");
    for (const char* action : {"move-to", "copy-to"}) {
        SCOPED_TRACE(action);
        panels.choose({deep});
        run(action, {first, second});
        EXPECT_EQ(alerts.count(), action == std::string("move-to") ? 1u : 2u);
        EXPECT_EQ(readFile(first), "first");
        EXPECT_EQ(readFile(second), "second");
        EXPECT_FALSE(fs::exists(deep / "a"));
    }
}

// --- Dissolve -------------------------------------------------------------------

TEST_F(FinderFileOperationsTest, DissolveMovesEntriesUpAndTrashesTheFolder) {
    const auto folder = makeFolder(work / "box");
    makeFile(folder / "a.txt", "A");
    makeFile(folder / ".dot");
    makeFolder(folder / "sub");
    ASSERT_TRUE(platform::HiddenFlag::setHidden(folder / "a.txt", true));
    const auto loose = makeFile(work / "loose.txt");
    const auto empty = makeFolder(work / "empty");

    alerts.answer(alertFirstButton);
    run("dissolve", {loose, folder, empty});
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_EQ(alerts.last().messageText, "解散所选文件夹？");
    EXPECT_EQ(alerts.last().informativeText, "文件夹内的项目会移到上一级；确认没有重名后，空文件夹会放入废纸篓。\n\n" +
                                                 folder.string() + "\n" + empty.string());
    EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"解散文件夹", "取消"}));
    EXPECT_EQ(tree(work), (std::vector<std::string>{".dot", ".hidden", "a.txt", "loose.txt", "sub"}));
    EXPECT_TRUE(isHidden(work / "a.txt"));
    const auto trash = platform::Trash::folder();
    EXPECT_TRUE(fs::is_directory(trash / "files" / "box"));
    EXPECT_TRUE(fs::is_empty(trash / "files" / "box"));
    EXPECT_TRUE(fs::exists(trash / "info" / "empty.trashinfo"));
}

TEST_F(FinderFileOperationsTest, TrashThatFailsLeavesTheEntriesUpAndSaysWhy) {
    const auto folder = makeFolder(work / "box");
    makeFile(folder / "a.txt");
    // A Trash that cannot be made: its place is taken by a file.
    const auto blocked = makeFile(home() / "not-a-folder");
    const char* previous = std::getenv("XDG_DATA_HOME");
    const std::optional<std::string> saved = previous ? std::optional<std::string>(previous) : std::nullopt;
    ::setenv("XDG_DATA_HOME", blocked.c_str(), 1);
    alerts.answer(alertFirstButton);
    run("dissolve", {folder});
    if (saved)
        ::setenv("XDG_DATA_HOME", saved->c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(alerts.count(), 2u);
    EXPECT_EQ(alerts.last().messageText, "文件操作未完成");
    EXPECT_NE(alerts.last().informativeText.find("not-a-folder"), std::string::npos) << alerts.last().informativeText;
    EXPECT_TRUE(fs::exists(work / "a.txt"));
    EXPECT_TRUE(fs::is_directory(folder));
}

TEST_F(FinderFileOperationsTest, DissolveRefusesClashesAndNestingBeforeAnythingMoves) {
    const auto left = makeFolder(work / "left");
    const auto right = makeFolder(work / "right");
    makeFile(left / "same.txt");
    makeFile(right / "same.txt");
    makeFile(right / "taken.txt");
    makeFile(work / "taken.txt");
    const auto self = makeFolder(work / "self");
    makeFile(self / "self");
    const auto outer = makeFolder(home() / "outer");
    const auto inner = makeFolder(outer / "inner");
    makeFile(inner / "x");
    struct Case {
        const char* name;
        std::vector<Path> folders;
        std::string message;
    } cases[] = {
        {"siblingsShareAName", {left, right}, "上一级存在同名项目，未执行解散：\nsame.txt\ntaken.txt"},
        {"entryNamedAsItsFolder", {self}, "上一级存在同名项目，未执行解散：\nself"},
        {"nested", {outer, inner}, "所选文件夹相互包含，未执行解散：\ninner"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = tree(home());
        alerts.answer(alertFirstButton);
        run("dissolve", c.folders);
        EXPECT_EQ(alertMessages().back(), c.message);
        EXPECT_EQ(tree(home()), before);
    }
    const auto count = alerts.count();
    alerts.answer(platform::ModalResponses::alertSecondButton);
    run("dissolve", {left});
    EXPECT_EQ(alerts.count(), count + 1);
    EXPECT_TRUE(fs::exists(left / "same.txt"));

    run("dissolve", {work / "taken.txt"});
    EXPECT_EQ(alertMessages().back(), "请选择至少一个文件夹。");
}

}  // namespace
}  // namespace tallowmere
