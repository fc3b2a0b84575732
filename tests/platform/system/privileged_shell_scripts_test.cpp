#include "platform/system/privileged_shell_scripts.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/system/administrator_prompt.h"
#include "platform/system/command_table.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/process_runner.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* probeTemplate =
    "set -e\n"
    "/bin/cat STAGED > /private/etc/probe\n"
    "/usr/sbin/chown 0:0 /private/etc/probe\n"
    "/usr/bin/dscacheutil -flushcache\n"
    "/usr/bin/killall -HUP mDNSResponder\n"
    "/usr/bin/printf 'done \"%s\"' \"$(/bin/cat STAGED)\"";

std::string escapedForAppleScript(std::string_view script) {
    std::string escaped;
    for (char c : script) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string privileged(std::string_view script) {
    return "do shell script \"" + escapedForAppleScript(script) + "\" with administrator privileges";
}

std::string probeScript(const std::string& stagedWord) {
    std::string script = probeTemplate;
    for (auto at = script.find("STAGED"); at != std::string::npos; at = script.find("STAGED", at + stagedWord.size())) {
        script.replace(at, 6, stagedWord);
    }
    return script;
}

class PrivilegedShellScriptsTest : public testing::TallowmereTest {
protected:
    PrivilegedShellScriptsTest() {
        if (const char* previous = std::getenv("TMPDIR")) previousTemporary_ = previous;
        fs::create_directories(temporary());
        setenv("TMPDIR", temporary().c_str(), 1);
        PrivilegedShellScripts::shared().accept(probeTemplate, "STAGED");
        AdministratorPrompt::shared().setAsk([this](const std::string&) {
            ++prompts;
            return allow;
        });
    }
    ~PrivilegedShellScriptsTest() override {
        if (previousTemporary_) setenv("TMPDIR", previousTemporary_->c_str(), 1);
        else unsetenv("TMPDIR");
    }

    fs::path temporary() const { return home() / "tmp"; }

    fs::path stage(const std::string& name, const std::string& text) {
        const fs::path file = temporary() / "staging" / name;
        fs::create_directories(file.parent_path());
        EXPECT_TRUE(Files::writeAtomically(file, text).ok());
        return file;
    }

    static ProcessResult osascript(std::vector<std::string> arguments) {
        auto result = ProcessRunner::run({.executable = "/usr/bin/osascript", .arguments = std::move(arguments)});
        if (!result) {
            ADD_FAILURE() << result.error().message;
            return {};
        }
        return *result;
    }

    int prompts = 0;
    bool allow = true;

private:
    std::optional<std::string> previousTemporary_;
};

TEST_F(PrivilegedShellScriptsTest, RunsAnAcceptedScriptOnTheSimulatedSystem) {
    const fs::path staged = stage("it's \"x\"\\y.txt", "10.0.0.1 probe\n");
    // Owned by someone else before, so the chown shows.
    const fs::path probe = Paths::systemFile("/private/etc/probe");
    fs::create_directories(probe.parent_path());
    ASSERT_TRUE(Files::writeAtomically(probe, std::string_view("old\n")).ok());
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(probe.c_str(), 12345, 12345), 0);
    }

    ProcessResult result = osascript({"-e", privileged(probeScript(shellQuoted(staged.string())))});

    EXPECT_EQ(result.status, 0) << result.standardError;
    EXPECT_EQ(result.standardOutput, "done \"10.0.0.1 probe\"");
    EXPECT_EQ(prompts, 1);
    auto written = Files::readText(probe);
    ASSERT_TRUE(written.ok()) << "/private/etc is the simulated system's folder";
    EXPECT_EQ(*written, "10.0.0.1 probe\n");
    EXPECT_FALSE(fs::exists("/private/etc/probe"));
    struct stat owner{};
    ASSERT_EQ(::stat(probe.c_str(), &owner), 0);
    EXPECT_EQ(owner.st_uid, root ? 0u : ::geteuid()) << "chown 0:0 acts only for root";
    for (const auto& entry : fs::directory_iterator(temporary())) {
        EXPECT_EQ(entry.path().filename(), "staging") << "the helper's own links are removed";
    }
}

TEST_F(PrivilegedShellScriptsTest, ATemporaryFolderWithSpacesStillWorks) {
    const fs::path spaced = home() / "tmp dir $x";
    fs::create_directories(spaced);
    setenv("TMPDIR", spaced.c_str(), 1);
    const fs::path staged = spaced / "hosts.txt";
    ASSERT_TRUE(Files::writeAtomically(staged, std::string_view("10.0.0.2 spaced\n")).ok());

    ProcessResult result = osascript({"-e", privileged(probeScript(shellQuoted(staged.string())))});
    EXPECT_EQ(result.status, 0) << result.standardError;
    EXPECT_EQ(Files::readText(Paths::systemFile("/private/etc/probe")).valueOr(""), "10.0.0.2 spaced\n");
}

TEST_F(PrivilegedShellScriptsTest, ReportsCancelAndFailureAsOsascriptDoes) {
    const fs::path staged = stage("hosts.txt", "x\n");
    const std::string source = privileged(probeScript(shellQuoted(staged.string())));

    allow = false;
    ProcessResult cancelled = osascript({"-e", source});
    EXPECT_EQ(cancelled.status, 1);
    EXPECT_EQ(cancelled.standardError, "User canceled. (-128)\n");
    EXPECT_FALSE(fs::exists(Paths::systemFile("/private/etc/probe")));

    allow = true;
    CommandTable::shared().overrideCommand("/usr/bin/dscacheutil", fs::path("/bin/false"));
    ProcessResult failed = osascript({"-e", source});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.standardError, "execution error: The command exited with a non-zero status. (1)\n");

    AdministratorPrompt::shared().setAsk(nullptr);
    EXPECT_EQ(osascript({"-e", source}).standardError, "User canceled. (-128)\n") << "nobody to ask is a no";
}

TEST_F(PrivilegedShellScriptsTest, RefusesEverythingElseWithoutAsking) {
    const fs::path staged = stage("hosts.txt", "x\n");
    const std::string quoted = shellQuoted(staged.string());
    const fs::path outside = home() / "hosts.txt";
    ASSERT_TRUE(Files::writeAtomically(outside, std::string_view("x\n")).ok());
    fs::create_symlink(outside, temporary() / "link.txt");
    const fs::path other = stage("other.txt", "y\n");

    std::string twoFiles = probeScript(quoted);
    twoFiles.replace(twoFiles.rfind(quoted), quoted.size(), shellQuoted(other.string()));

    struct Case {
        const char* name;
        std::vector<std::string> arguments;
    } cases[] = {
        {"no script", {}},
        {"a script file", {"/tmp/script.scpt"}},
        {"another option", {"-l", "JavaScript", "-e", "1"}},
        {"unknown AppleScript", {"-e", "tell application \"Finder\" to quit"}},
        {"unknown shell script", {"-e", privileged("/bin/rm -rf /private/etc")}},
        {"without administrator privileges", {"-e", "do shell script \"" + escapedForAppleScript(probeScript(quoted)) + "\""}},
        {"an extra line", {"-e", privileged(probeScript(quoted) + "\n/bin/rm -rf /")}},
        {"staged outside the temporary folder", {"-e", privileged(probeScript(shellQuoted(outside.string())))}},
        {"staged through a link", {"-e", privileged(probeScript(shellQuoted((temporary() / "link.txt").string())))}},
        {"a missing staged file", {"-e", privileged(probeScript(shellQuoted((temporary() / "none").string())))}},
        {"two staged files", {"-e", privileged(twoFiles)}},
        {"an unquoted staged file", {"-e", privileged(probeScript(staged.string()))}},
        {"an unknown escape", {"-e", "do shell script \"echo \\n\" with administrator privileges"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProcessResult result = osascript(c.arguments);
        EXPECT_EQ(result.status, 1);
        EXPECT_FALSE(result.standardError.empty());
    }
    EXPECT_EQ(prompts, 0);
    EXPECT_FALSE(fs::exists(Paths::systemFile("/private/etc/probe")));
}

TEST_F(PrivilegedShellScriptsTest, SystemFilesStayInsideTheSimulatedRoot) {
    struct Case {
        const char* macPath;
        const char* inside;
    } cases[] = {
        {"/private/etc/hosts", "private/etc/hosts"},
        {"private/etc/hosts", "private/etc/hosts"},
        {"/../../etc/passwd", "etc/passwd"},
        {"/private/etc/../../../x", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.macPath);
        EXPECT_EQ(Paths::systemFile(c.macPath), Paths::systemRoot() / c.inside);
    }
    EXPECT_EQ(Paths::systemRoot(), home() / "Library/Tallowmere System");
}

}  // namespace
}  // namespace tallowmere::platform
