// Moves, copies and listings of folder items, the hidden mark and the Trash.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>

#include "platform/system/command_table.h"
#include "platform/system/files.h"
#include "platform/system/hidden_flag.h"
#include "platform/system/process_runner.h"
#include "platform/system/trash.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

class FileItemsTest : public testing::TallowmereTest {
protected:
    fs::path work = home() / "work";
    FileItemsTest() { fs::create_directories(work); }

    static fs::path write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

// Another file system than HOME's, where one exists, for moves that copy.
fs::path otherFileSystem() {
    return fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
}

TEST_F(FileItemsTest, MoveAndCopyNeverReplace) {
    const auto source = write(work / "a.txt", "mine");
    const auto taken = write(work / "b" / "a.txt", "theirs");
    const auto folder = work / "f";
    fs::create_directories(folder / "in");
    struct Case {
        const char* name;
        std::function<Result<void>()> act;
        ErrorCode code;
    } cases[] = {
        {"moveOntoFile", [&] { return Files::moveItem(source, taken); }, ErrorCode::alreadyExists},
        {"copyOntoFile", [&] { return Files::copyItem(source, taken); }, ErrorCode::alreadyExists},
        {"moveOntoEmptyFolder", [&] { return Files::moveItem(work / "b", folder / "in"); }, ErrorCode::alreadyExists},
        {"moveIntoItself", [&] { return Files::moveItem(folder, folder / "in" / "f"); }, ErrorCode::invalidArgument},
        {"copyIntoItself", [&] { return Files::copyItem(folder, folder / "in" / "copy"); }, ErrorCode::invalidArgument},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto result = c.act();
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().code, c.code);
        EXPECT_EQ(read(source), "mine");
        EXPECT_EQ(read(taken), "theirs");
        EXPECT_FALSE(fs::exists(folder / "in" / "f"));
        EXPECT_FALSE(fs::exists(folder / "in" / "copy"));
    }
}

TEST_F(FileItemsTest, MoveAcrossFileSystemsCopiesThenRemoves) {
    const auto folder = work / "tree";
    write(folder / "x.txt", "x");
    write(folder / "deep" / "y.bin", std::string(200000, 'y'));
    fs::create_symlink("x.txt", folder / "link");
    fs::permissions(folder / "x.txt", fs::perms(0640));
    const auto target = otherFileSystem() / ("tallowmere-move-" + std::to_string(::getpid()));
    fs::remove_all(target);
    ASSERT_TRUE(Files::moveItem(folder, target));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(read(target / "x.txt"), "x");
    EXPECT_EQ(read(target / "deep" / "y.bin").size(), 200000u);
    EXPECT_EQ(fs::read_symlink(target / "link"), "x.txt");
    EXPECT_EQ(fs::status(target / "x.txt").permissions() & fs::perms::all, fs::perms(0640));
    ASSERT_TRUE(Files::moveItem(target, folder));
    EXPECT_FALSE(fs::exists(target));
    EXPECT_EQ(read(folder / "x.txt"), "x");
}

TEST_F(FileItemsTest, ListingKeepsHiddenEntriesButNotTheBookkeeping) {
    write(work / ".dot", "");
    write(work / "b", "");
    write(work / "a", "");
    ASSERT_TRUE(HiddenFlag::setHidden(work / "b", true));
    auto listed = Files::contentsOfDirectory(work);
    ASSERT_TRUE(listed);
    EXPECT_EQ(*listed, (std::vector<fs::path>{work / ".dot", work / "a", work / "b"}));
    EXPECT_FALSE(Files::contentsOfDirectory(work / "none"));
}

TEST_F(FileItemsTest, ChflagsKeepsTheNameInTheFoldersList) {
    write(work / ".hidden", "kept by another program\n");
    write(work / "a", "");
    write(work / "b", "");
    auto chflags = [](std::vector<std::string> arguments) {
        return ProcessRunner::run({"/usr/bin/chflags", std::move(arguments)});
    };
    auto ran = chflags({"hidden", (work / "a").string(), (work / "missing").string(), (work / "b").string()});
    ASSERT_TRUE(ran);
    EXPECT_EQ(ran->status, 1);
    EXPECT_EQ(ran->standardError, "chflags: " + (work / "missing").string() + ": No such file or directory\n");
    EXPECT_EQ(read(work / ".hidden"), "kept by another program\na\nb\n");
    ASSERT_TRUE(chflags({"nohidden", (work / "a").string()}));
    EXPECT_EQ(read(work / ".hidden"), "kept by another program\nb\n");
    EXPECT_EQ(chflags({"uchg", (work / "a").string()})->status, 1);

    // The mark travels with a move and a copy, and the list goes when empty.
    fs::create_directories(home() / "other");
    ASSERT_TRUE(Files::copyItem(work / "b", home() / "other" / "b"));
    EXPECT_EQ(read(home() / "other" / ".hidden"), "b\n");
    ASSERT_TRUE(Files::moveItem(work / "b", home() / "other" / "b2"));
    EXPECT_EQ(read(home() / "other" / ".hidden"), "b\nb2\n");
    EXPECT_EQ(read(work / ".hidden"), "kept by another program\n");
}

TEST_F(FileItemsTest, TrashLeavesInfoAFileManagerReads) {
    const auto item = write(work / "报告 #1%.txt", "x");
    ASSERT_TRUE(HiddenFlag::setHidden(item, true));
    const Date when = Date::fromTimeIntervalSince1970(1765360800);  // 2025-12-10T10:00:00Z
    auto trashed = Trash::moveToTrash(item, when);
    ASSERT_TRUE(trashed);
    EXPECT_EQ(*trashed, Trash::folder() / "files" / "报告 #1%.txt");
    EXPECT_FALSE(fs::exists(item));
    EXPECT_FALSE(fs::exists(work / ".hidden"));

    // A second item of the same name gets its own place.
    write(item, "y");
    auto second = Trash::moveToTrash(item, when);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->filename(), "报告 #1%.txt.2");

    // Read as file managers read it: a key file with a percent-encoded path.
    const auto info = Trash::folder() / "info" / "报告 #1%.txt.trashinfo";
    const std::string script =
        "import configparser,sys,urllib.parse\n"
        "c=configparser.ConfigParser(interpolation=None);c.optionxform=str\n"
        "c.read(sys.argv[1],encoding='utf-8')\n"
        "s=c['Trash Info'];print(urllib.parse.unquote(s['Path']));print(s['DeletionDate'])\n";
    auto ran = ProcessRunner::run({"/bin/sh", {"-c", "python3 -c \"$0\" \"$1\"", script, info.string()}});
    ASSERT_TRUE(ran);
    EXPECT_EQ(ran->standardError, "");
    const auto lines = ran->standardOutput;
    EXPECT_EQ(lines.substr(0, lines.find('\n')), item.string());
    EXPECT_TRUE(std::regex_match(lines.substr(lines.find('\n') + 1), std::regex("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\n")))
        << lines;
}

}  // namespace
}  // namespace tallowmere::platform
