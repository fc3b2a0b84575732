#include "platform/system/process_runner.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/system/command_table.h"
#include "platform/system/files.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

namespace fs = std::filesystem;

class ProcessRunnerTest : public testing::TallowmereTest {
protected:
    static ProcessResult runOrFail(const ProcessRequest& request) {
        auto result = ProcessRunner::run(request);
        if (!result) {
            ADD_FAILURE() << request.executable << " did not launch: " << result.error().message;
            return {};
        }
        return *result;
    }

    CommandTable& commands() { return CommandTable::shared(); }
};

TEST_F(ProcessRunnerTest, TimeoutEndsASleepingChildAndSaysSo) {
    const auto started = std::chrono::steady_clock::now();
    ProcessResult result =
        runOrFail({.executable = "/bin/sleep", .arguments = {"10"}, .timeout = 1.0});
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    EXPECT_EQ(result.termination, ProcessTermination::timedOut);
    EXPECT_EQ(result.status, SIGTERM);
    EXPECT_FALSE(result.succeeded());
    EXPECT_LT(elapsed, 9.0) << "the child ran its full ten seconds";
}

TEST_F(ProcessRunnerTest, StandardInputRoundTripsByteForByte) {
    const std::string input("line one\nbinary \0\xff bytes\n", 25);
    ProcessResult result = runOrFail({.executable = "/bin/cat", .standardInput = input});
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(result.standardOutput, input);
}

TEST_F(ProcessRunnerTest, OutputIsKeptApartMergedOrDiscarded) {
    struct Case {
        ProcessOutput output;
        std::string standardOutput;
        std::string standardError;
    } cases[] = {
        {ProcessOutput::separate, "out;out;", "err;"},
        {ProcessOutput::merged, "out;err;out;", ""},  // in the order written
        {ProcessOutput::discarded, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.output));
        ProcessResult result = runOrFail(
            {.executable = "/bin/sh",
             .arguments = {"-c", "printf 'out;'; printf 'err;' >&2; printf 'out;'; exit 3"},
             .output = c.output});
        EXPECT_EQ(result.termination, ProcessTermination::exited);
        EXPECT_EQ(result.status, 3);
        EXPECT_EQ(result.standardOutput, c.standardOutput);
        EXPECT_EQ(result.standardError, c.standardError);
    }
}

TEST_F(ProcessRunnerTest, DeathBySignalIsNotAnExitStatus) {
    ProcessResult result =
        runOrFail({.executable = "/bin/sh", .arguments = {"-c", "kill -KILL $$"}});
    EXPECT_EQ(result.termination, ProcessTermination::uncaughtSignal);
    EXPECT_EQ(result.status, SIGKILL);
}

TEST_F(ProcessRunnerTest, ChattyChildOnBothStreamsAndBothDirectionsDoesNotHang) {
    // Far more than a pipe holds, in and out at once: a runner that writes all
    // input before reading, or reads one stream to its end first, deadlocks.
    const std::string input(3 * 1024 * 1024, 'x');
    ProcessResult result = runOrFail(
        {.executable = "/bin/sh",
         .arguments = {"-c", "head -c 1048576 /dev/zero >&2; cat; head -c 1048576 /dev/zero >&2"},
         .standardInput = input});
    EXPECT_TRUE(result.succeeded());
    EXPECT_EQ(result.standardOutput.size(), input.size());
    EXPECT_EQ(result.standardError.size(), 2u * 1024 * 1024);
}

TEST_F(ProcessRunnerTest, ChildThatStopsReadingEarlyDoesNotEndTheProgram) {
    // Writing to its closed stdin raises SIGPIPE unless the runner guards it.
    ProcessResult result = runOrFail(
        {.executable = "/usr/bin/true", .standardInput = std::string(4 * 1024 * 1024, 'x')});
    EXPECT_TRUE(result.succeeded());
}

TEST_F(ProcessRunnerTest, LaunchFailuresAreErrorsAtOnce) {
    const fs::path notExecutable = home() / "script.sh";
    ASSERT_TRUE(
        Files::writeAtomically(notExecutable, std::string_view("#!/bin/sh\necho hi\n"), 0644));
    commands().overrideCommand("/usr/bin/defaults", notExecutable);
    commands().overrideCommand("/usr/bin/pmset", home() / "absent");

    struct Case {
        std::string executable;
        ErrorCode code;
    } cases[] = {
        {"/usr/sbin/screencapture", ErrorCode::notFound},  // nothing stands for it here
        {"/sbin/shutdown", ErrorCode::notFound},           // exists on Linux, must never run
        {"/usr/bin/pmset", ErrorCode::notFound},           // override names a missing program
        {"/usr/bin/defaults", ErrorCode::permissionDenied},
        {"sh", ErrorCode::invalidArgument},  // no search of PATH
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable);
        auto result = ProcessRunner::run({.executable = c.executable});
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error().code, c.code) << result.error().message;

        bool called = false;
        auto started = ProcessRunner::start({.executable = c.executable},
                                            [&](const ProcessResult&) { called = true; });
        EXPECT_FALSE(started);
        runUntilIdle();
        EXPECT_FALSE(called);
    }
}

TEST_F(ProcessRunnerTest, OverridesReplaceACommandWithAHandlerOrAScript) {
    commands().overrideCommand("/usr/bin/osascript", [](CommandCall& call) {
        call.writeOutput("args:" + call.arguments().at(0) + ";");
        call.writeError("stdin:" + std::string(call.standardInput()) + ";");
        call.writeOutput("done");
        return 2;
    });
    ProcessResult merged = runOrFail({.executable = "/usr/bin/osascript",
                                      .arguments = {"-e"},
                                      .standardInput = "tell app",
                                      .output = ProcessOutput::merged});
    EXPECT_EQ(merged.standardOutput, "args:-e;stdin:tell app;done");
    EXPECT_EQ(merged.status, 2);

    const fs::path script = home() / "defaults.sh";
    ASSERT_TRUE(
        Files::writeAtomically(script, std::string_view("#!/bin/sh\necho \"read $2 $3\"\n"), 0755));
    commands().overrideCommand("/usr/bin/defaults", script);
    ProcessResult scripted =
        runOrFail({.executable = "/usr/bin/defaults",
                   .arguments = {"read", "com.apple.screensaver", "idleTime"}});
    EXPECT_EQ(scripted.standardOutput, "read com.apple.screensaver idleTime\n");

    commands().removeOverride("/usr/bin/defaults");
    EXPECT_FALSE(ProcessRunner::run({.executable = "/usr/bin/defaults"}));
}

TEST_F(ProcessRunnerTest, StartDeliversTheTerminationThroughTheMainQueue) {
    std::optional<ProcessResult> delivered;
    bool onMainThread = false;
    auto started = ProcessRunner::start({.executable = "/bin/sh",
                                         .arguments = {"-c", "read word; echo \"got $word\""},
                                         .standardInput = "pear\n"},
                                        [&](const ProcessResult& result) {
                                            delivered = result;
                                            onMainThread = context().mainQueue().isCurrentThread();
                                        });
    ASSERT_TRUE(started);
    auto process = *started;
    EXPECT_GT(process->processIdentifier(), 0);

    process->waitUntilExit();
    EXPECT_FALSE(process->isRunning());
    EXPECT_FALSE(delivered) << "the handler must wait for a turn of the main queue";
    runUntilIdle();
    ASSERT_TRUE(delivered);
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(delivered->standardOutput, "got pear\n");

    // A stand-in run inside the program reports the same way.
    std::optional<ProcessResult> hashed;
    auto standIn = ProcessRunner::start({.executable = "/usr/bin/md5", .standardInput = ""},
                                        [&](const ProcessResult& result) { hashed = result; });
    ASSERT_TRUE(standIn);
    EXPECT_FALSE(hashed);
    runUntilIdle();
    ASSERT_TRUE(hashed);
    EXPECT_EQ(hashed->standardOutput, "d41d8cd98f00b204e9800998ecf8427e\n");
}

TEST_F(ProcessRunnerTest, TerminateEndsAStartedChildAndIsHarmlessAfterwards) {
    std::optional<ProcessResult> delivered;
    auto started = ProcessRunner::start({.executable = "/bin/sleep", .arguments = {"10"}},
                                        [&](const ProcessResult& result) { delivered = result; });
    ASSERT_TRUE(started);
    auto process = *started;
    EXPECT_TRUE(process->isRunning());
    process->terminate();
    process->waitUntilExit();
    runUntilIdle();
    ASSERT_TRUE(delivered);
    EXPECT_EQ(delivered->termination, ProcessTermination::uncaughtSignal);
    EXPECT_EQ(delivered->status, SIGTERM);
    process->terminate();  // reaped: must not signal whatever has that id now

    // Dropping a running child kills it rather than leaving it behind.
    auto dropped = ProcessRunner::start({.executable = "/bin/sleep", .arguments = {"10"}}, nullptr);
    ASSERT_TRUE(dropped);
    const pid_t pid = (*dropped)->processIdentifier();
    dropped = Error{};
    EXPECT_NE(::kill(pid, 0), 0) << "the child outlived its handle";
}

}  // namespace
}  // namespace tallowmere::platform
