// Every literal key the program passes to the lookup must have an English
// text somewhere, or users who do not read Chinese see the Chinese source.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/command_run.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

testing::CommandRun runCoverageScript(const std::string& arguments = {}) {
    return testing::runCommand(std::string("python3 '") + TALLOWMERE_SOURCE_DIR + "/scripts/check-l10n-coverage.py' " +
                               arguments);
}

class TranslationCoverageTest : public testing::TallowmereTest {};

TEST_F(TranslationCoverageTest, EveryKeyInTheSourcesHasAnEnglishText) {
    const auto run = runCoverageScript();
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST_F(TranslationCoverageTest, ReportsKeysWithoutEnglishAndWhereTheyAre) {
    const auto sources = home() / "src";
    std::filesystem::create_directories(sources / "feature");
    std::ofstream(sources / "feature" / "panel.cpp") << R"(
        auto title = L("窗口手势控制");                       // known to the built-in table
        auto about = L( "关于" );                            // known to the catalogue only
        auto missing = L("尚未翻译的标题");
        auto other = InterfaceLanguage::text("尚未翻译 \"引号\"", language);
        // L("注释里的键") is not a call
        auto computed = L(key);                              // not a literal: not collected
    )";

    const auto run = runCoverageScript("--sources '" + sources.string() + "'");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("feature/panel.cpp:4: no English text for \"尚未翻译的标题\""), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("\"尚未翻译 \"引号\"\""), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("窗口手势控制"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("关于"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("注释里的键"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("4 keys passed to L, 2 without an English text"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace tallowmere
