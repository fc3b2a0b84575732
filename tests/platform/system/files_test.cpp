#include "platform/system/files.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/system/atomic_file_writer.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::TallowmereTest {
protected:
    ~FilesTest() override { ::umask(savedUmask_); }

    static mode_t modeOf(const fs::path& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
        return info.st_mode & 07777;
    }

    static std::set<std::string> namesIn(const fs::path& folder) {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    static std::string contentsOf(const fs::path& path) {
        return Files::readText(path).valueOr(std::string("<missing>"));
    }

    mode_t savedUmask_ = ::umask(022);
};

TEST_F(FilesTest, AtomicWriteIsNeverMoreOpenThanItsFinalMode) {
    struct Case {
        mode_t umask;
        mode_t mode;
    } cases[] = {
        {0, 0600},  // a wide-open umask must not expose a private file
        {0, 0644},
        {077, 0644},  // a narrow umask must not keep a shared file private
        {022, 0640},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "umask " << std::oct << c.umask << " mode " << c.mode);
        ::umask(c.umask);
        const fs::path folder =
            home() / ("case-" + std::to_string(c.umask) + "-" + std::to_string(c.mode));
        fs::create_directory(folder);
        const fs::path destination = folder / "configuration.plist";
        ASSERT_TRUE(Files::writeAtomically(destination, std::string_view("old")));

        AtomicFileWriter writer(destination, c.mode);
        fs::path seenTemporary;
        mode_t modeAtCreation = 07777;
        writer.onTemporaryCreated = [&](const fs::path& temporary) {
            seenTemporary = temporary;
            modeAtCreation = modeOf(temporary);
        };
        ASSERT_TRUE(writer.write("new contents"));

        EXPECT_EQ(seenTemporary.parent_path(), folder)
            << "the temporary must be renamed within one folder";
        EXPECT_EQ(modeAtCreation & ~c.mode, 0u)
            << "temporary file was created with mode " << std::oct << modeAtCreation;
        EXPECT_EQ(modeOf(destination), c.mode);
        EXPECT_EQ(contentsOf(destination), "new contents");
        EXPECT_EQ(namesIn(folder), std::set<std::string>{"configuration.plist"});
    }
}

TEST_F(FilesTest, FailedWriteLeavesTheOldFileAndNoTemporary) {
    const fs::path destination = home() / "layouts.json";
    ASSERT_TRUE(Files::writeAtomically(destination, std::string_view("[1]"), 0600));

    // Something removes the temporary file mid-write: the rename then fails.
    AtomicFileWriter writer(destination, 0600);
    writer.onTemporaryCreated = [](const fs::path& temporary) { fs::remove(temporary); };
    auto result = writer.write("[1, 2]");
    ASSERT_FALSE(result);
    EXPECT_NE(result.error().message.find("layouts.json"), std::string::npos)
        << result.error().message;
    EXPECT_EQ(contentsOf(destination), "[1]");
    EXPECT_EQ(modeOf(destination), 0600u);
    EXPECT_EQ(namesIn(home()), std::set<std::string>{"layouts.json"});

    auto intoMissingFolder =
        Files::writeAtomically(home() / "absent" / "layouts.json", std::string_view("[]"));
    ASSERT_FALSE(intoMissingFolder);
    EXPECT_EQ(intoMissingFolder.error().code, ErrorCode::notFound);
}

TEST_F(FilesTest, LeftoversOfCrashedWritesGoAndNothingElseDoes) {
    const fs::path destination = home() / "configuration.plist";
    ASSERT_TRUE(Files::writeAtomically(destination, std::string_view("kept")));
    struct Case {
        const char* name;
        bool leftover;
    } cases[] = {
        {".configuration.plist.tmp-0123456789abcdef", true},
        {".configuration.plist.tmp-0123456789ABCDEF", false},  // not digits the writer makes
        {".configuration.plist.tmp-0123456789abcde", false},
        {".configuration.plist.tmp-0123456789abcdef0", false},
        {"configuration.plist.tmp-0123456789abcdef", false},
        {".layouts.json.tmp-0123456789abcdef", false},  // another file's write
        {".configuration.plist.unreadable-20261210T083000Z", false},
    };
    for (const Case& c : cases) ASSERT_TRUE(Files::writeAtomically(home() / c.name, std::string_view("x")));
    // A link of the pattern is not the writer's, nor is what it points at.
    fs::create_directory(home() / "elsewhere");
    ASSERT_TRUE(Files::writeAtomically(home() / "elsewhere/notes", std::string_view("mine")));
    fs::create_symlink(home() / "elsewhere/notes", home() / ".configuration.plist.tmp-00000000deadbeef");
    // A write under way in another process holds its temporary file locked.
    const fs::path held = home() / ".configuration.plist.tmp-fedcba9876543210";
    const int writer = ::open(held.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX | LOCK_NB), 0);

    EXPECT_EQ(AtomicFileWriter::removeLeftovers(destination), 1u);
    for (const Case& c : cases) EXPECT_EQ(fs::exists(home() / c.name), !c.leftover) << c.name;
    EXPECT_TRUE(fs::is_symlink(home() / ".configuration.plist.tmp-00000000deadbeef"));
    EXPECT_EQ(contentsOf(home() / "elsewhere/notes"), "mine");
    EXPECT_EQ(contentsOf(destination), "kept");
    EXPECT_TRUE(fs::exists(held));

    ::close(writer);  // its process died
    EXPECT_EQ(AtomicFileWriter::removeLeftovers(destination), 1u);
    EXPECT_FALSE(fs::exists(held));
}

TEST_F(FilesTest, ACleanUpDuringAWriteLeavesTheWriteAlone) {
    const fs::path destination = home() / "configuration.plist";
    AtomicFileWriter writer(destination, 0600);
    std::size_t removedMidWrite = 99;
    writer.onTemporaryCreated = [&](const fs::path&) {
        removedMidWrite = AtomicFileWriter::removeLeftovers(destination);
    };
    ASSERT_TRUE(writer.write("whole"));
    EXPECT_EQ(removedMidWrite, 0u);
    EXPECT_EQ(contentsOf(destination), "whole");
    EXPECT_EQ(namesIn(home()), std::set<std::string>{"configuration.plist"});
}

TEST_F(FilesTest, ExclusiveCreateReportsExistsDistinctlyAndKeepsTheFirstFile) {
    const fs::path path = home() / "new.txt";
    ASSERT_TRUE(Files::createExclusively(path, std::string_view("first"), 0600));
    EXPECT_EQ(modeOf(path), 0600u);

    auto second = Files::createExclusively(path, std::string_view("second"));
    ASSERT_FALSE(second);
    EXPECT_EQ(second.error().code, ErrorCode::alreadyExists);
    EXPECT_EQ(contentsOf(path), "first");
    EXPECT_EQ(namesIn(home()), std::set<std::string>{"new.txt"});

    auto elsewhere = Files::createExclusively(home() / "absent" / "new.txt", std::string_view("x"));
    ASSERT_FALSE(elsewhere);
    EXPECT_EQ(elsewhere.error().code, ErrorCode::notFound);
}

TEST_F(FilesTest, ReadTellsMissingFromUnreadable) {
    const fs::path path = home() / "data.bin";
    ASSERT_TRUE(Files::writeAtomically(path, Data{0, 1, 255}));
    EXPECT_EQ(Files::read(path).valueOr(Data{}), (Data{0, 1, 255}));

    auto missing = Files::read(home() / "none.bin");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, ErrorCode::notFound);

    auto folder = Files::read(home());
    ASSERT_FALSE(folder);
    EXPECT_NE(folder.error().code, ErrorCode::notFound);
}

TEST_F(FilesTest, CreateDirectoriesGivesEveryNewFolderTheModeAndLeavesOldOnes) {
    ::umask(077);
    fs::create_directory(home() / "Library");
    fs::permissions(home() / "Library", fs::perms(0700));
    const fs::path deep = home() / "Library" / "Application Support" / "com.quenlow.tallowmere";
    ASSERT_TRUE(Files::createDirectories(deep, 0755));
    EXPECT_EQ(modeOf(home() / "Library"), 0700u);
    EXPECT_EQ(modeOf(home() / "Library" / "Application Support"), 0755u);
    EXPECT_EQ(modeOf(deep), 0755u);
    EXPECT_TRUE(Files::createDirectories(deep, 0700)) << "an existing folder is success";
    EXPECT_EQ(modeOf(deep), 0755u);

    ASSERT_TRUE(Files::writeAtomically(home() / "plain", std::string_view("")));
    auto throughFile = Files::createDirectories(home() / "plain" / "sub");
    ASSERT_FALSE(throughFile);
    EXPECT_NE(throughFile.error().code, ErrorCode::alreadyExists);
}

TEST_F(FilesTest, KeepAsideNeverOverwritesAnEarlierKeptFile) {
    const fs::path path = home() / "layouts.json";
    const Date now = clock().now();  // 2026-12-10T08:30:00Z
    ASSERT_TRUE(Files::writeAtomically(path, std::string_view("garbage 1")));
    auto first = Files::keepAside(path, now);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->filename(), "layouts.json.unreadable-20261210T083000Z");

    ASSERT_TRUE(Files::writeAtomically(path, std::string_view("garbage 2")));
    auto second = Files::keepAside(path, now);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->filename(), "layouts.json.unreadable-20261210T083000Z-2");

    EXPECT_EQ(contentsOf(*first), "garbage 1");
    EXPECT_EQ(contentsOf(*second), "garbage 2");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(Files::keepAside(path, now));
}

}  // namespace
}  // namespace tallowmere::platform
