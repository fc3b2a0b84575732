#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/system/command_table.h"
#include "platform/system/files.h"
#include "platform/system/process_runner.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

// The stand-ins are checked against this system's own digest programs, run
// through the same runner with the same arguments.
class HashCommandsTest : public testing::TallowmereTest {
protected:
    HashCommandsTest() {
        for (const char* tool :
             {"/usr/bin/sha1sum", "/usr/bin/sha256sum", "/usr/bin/sha512sum", "/usr/bin/md5sum"}) {
            CommandTable::shared().overrideCommand(tool, fs::path(tool));
        }
        std::string large;
        for (unsigned i = 0; i < 300000; ++i) large += static_cast<char>(i * 7919u % 251);
        write("hello.txt", "hello\n");
        write("empty", "");
        write("large.bin", large);
        write("with space.txt", "space");
        write("back\\slash", "escaped name");
    }

    void write(const std::string& name, const std::string& contents) {
        ASSERT_TRUE(Files::writeAtomically(home() / name, contents));
        files.push_back((home() / name).string());
    }

    static ProcessResult run(const std::string& executable, std::vector<std::string> arguments,
                             std::optional<std::string> input = std::nullopt) {
        auto result = ProcessRunner::run(
            {.executable = executable, .arguments = std::move(arguments), .standardInput = input});
        if (!result) {
            ADD_FAILURE() << executable << ": " << result.error().message;
            return {};
        }
        return *result;
    }

    // The digest of a GNU line; a leading "\" only says the name is escaped.
    static std::string digestOf(const std::string& line) {
        const std::size_t start = line.starts_with('\\') ? 1 : 0;
        return line.substr(start, line.find(' ') - start);
    }

    std::vector<std::string> files;
};

TEST_F(HashCommandsTest, ShasumMatchesTheSystemsDigestPrograms) {
    struct Case {
        std::vector<std::string> options;
        std::string reference;
    } cases[] = {
        {{}, "/usr/bin/sha1sum"},
        {{"-a", "1"}, "/usr/bin/sha1sum"},
        {{"-a", "256"}, "/usr/bin/sha256sum"},
        {{"-a512"}, "/usr/bin/sha512sum"},
        {{"--algorithm=256"}, "/usr/bin/sha256sum"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reference);
        std::vector<std::string> arguments = c.options;
        arguments.insert(arguments.end(), files.begin(), files.end());
        ProcessResult ours = run("/usr/bin/shasum", arguments);
        ProcessResult theirs = run(c.reference, files);
        EXPECT_EQ(ours.status, 0) << ours.standardError;
        EXPECT_EQ(ours.standardOutput, theirs.standardOutput);

        std::vector<std::string> fromInput = c.options;
        EXPECT_EQ(run("/usr/bin/shasum", fromInput, "from stdin").standardOutput,
                  run(c.reference, {}, "from stdin").standardOutput);
    }
}

TEST_F(HashCommandsTest, Md5PrintsTheMacFormatsOfTheSameDigest) {
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const std::string digest = digestOf(run("/usr/bin/md5sum", {file}).standardOutput);
        ASSERT_EQ(digest.size(), 32u);
        EXPECT_EQ(run("/usr/bin/md5", {file}).standardOutput,
                  "MD5 (" + file + ") = " + digest + "\n");
        EXPECT_EQ(run("/usr/bin/md5", {"-q", file}).standardOutput, digest + "\n");
        EXPECT_EQ(run("/usr/bin/md5", {"-r", file}).standardOutput, digest + " " + file + "\n");
    }
    EXPECT_EQ(run("/usr/bin/md5", {"-s", "abc"}).standardOutput,
              "MD5 (\"abc\") = 900150983cd24fb0d6963f7d28e17f72\n");
    EXPECT_EQ(run("/usr/bin/md5", {}, "abc").standardOutput, "900150983cd24fb0d6963f7d28e17f72\n");
}

TEST_F(HashCommandsTest, UnreadableFilesAreReportedWhileTheOthersAreHashed) {
    const std::string missing = (home() / "missing.txt").string();
    const std::string good = files.front();
    struct Case {
        std::string executable;
        std::vector<std::string> arguments;
        std::string standardError;
    } cases[] = {
        {"/usr/bin/shasum",
         {"-a", "256", missing, good},
         "shasum: " + missing + ": No such file or directory\n"},
        {"/usr/bin/md5",
         {"-q", missing, good},
         "md5: " + missing + ": No such file or directory\n"},
        {"/usr/bin/shasum",
         {"-a", "256", home().string(), good},
         "shasum: " + home().string() + ": Is a directory\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable);
        ProcessResult result = run(c.executable, c.arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.standardError, c.standardError);
        EXPECT_EQ(std::count(result.standardOutput.begin(), result.standardOutput.end(), '\n'), 1)
            << "the readable file is still hashed: " << result.standardOutput;
    }
}

TEST_F(HashCommandsTest, BadOptionsFailWithoutOutput) {
    struct Case {
        std::string executable;
        std::vector<std::string> arguments;
    } cases[] = {
        {"/usr/bin/shasum", {"-a", "3", "x"}},
        {"/usr/bin/shasum", {"-a"}},
        {"/usr/bin/shasum", {"-z", "x"}},
        {"/usr/bin/md5", {"-z", "x"}},
        {"/usr/bin/md5", {"-s"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable + " " + c.arguments.front());
        ProcessResult result = run(c.executable, c.arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.standardOutput, "");
        EXPECT_FALSE(result.standardError.empty());
    }
}

}  // namespace
}  // namespace tallowmere::platform
