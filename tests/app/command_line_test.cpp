#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallowmere {
namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, OptionsAreReadAsLinuxProgramsReadThemAndUnknownOnesAreRefused) {
    struct Case {
        std::vector<std::string> arguments;
        Action action;
        std::string snapshotFile;  // empty: none
        std::string refusal;       // empty: accepted
    } cases[] = {
        {{}, Action::run, "", ""},
        {{"--finder-action", "tallowmere-finder://copy?directory=/tmp"}, Action::run, "", ""},
        {{"--help"}, Action::help, "", ""},
        {{"-h"}, Action::help, "", ""},
        {{"--version"}, Action::version, "", ""},
        {{"--snapshot", "shots/screen.png"}, Action::snapshot, "/home/me/shots/screen.png", ""},
        {{"--snapshot=../screen.png"}, Action::snapshot, "/home/screen.png", ""},
        {{"--snapshot", "/tmp/screen.png"}, Action::snapshot, "/tmp/screen.png", ""},
        {{"--snapshot"}, Action::run, "", "--snapshot needs a file"},
        {{"--snapshot="}, Action::run, "", "--snapshot needs a file"},
        {{"--snapshot", "a.png", "https://example.com"}, Action::run, "", "--snapshot takes no URLs"},
        {{"--help", "--version"}, Action::run, "", "--version cannot be combined with another command"},
        {{"--finder-actions"}, Action::run, "", "unknown option --finder-actions"},
        {{"https://example.com", "--open"}, Action::run, "", "unknown option --open"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const auto& argument : c.arguments) joined += argument + " ";
        SCOPED_TRACE(joined);
        auto line = CommandLine::parse(c.arguments, "/home/me");
        if (!c.refusal.empty()) {
            ASSERT_FALSE(line.ok());
            EXPECT_EQ(line.error().message, c.refusal);
            continue;
        }
        ASSERT_TRUE(line.ok()) << line.error().message;
        EXPECT_EQ(line->action, c.action);
        EXPECT_EQ(line->snapshotFile.string(), c.snapshotFile);
    }
}

}  // namespace
}  // namespace tallowmere
