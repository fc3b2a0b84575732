#include "platform/system/locale.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using LocaleTest = testing::TallowmereTest;

TEST_F(LocaleTest, PreferredLanguagesComeFromTheEnvironmentInOrder) {
    using Variables = std::map<std::string, std::string>;
    struct Case {
        Variables variables;
        std::vector<std::string> languages;
    } cases[] = {
        {{{"LANG", "zh_TW.UTF-8"}}, {"zh-TW"}},
        {{{"LANG", "C"}}, {}},
        {{{"LANG", "C.UTF-8"}, {"LC_ALL", "POSIX"}}, {}},
        {{}, {}},
        {{{"LANGUAGE", "fr_CA:fr:en"}, {"LANG", "de_AT.UTF-8"}}, {"fr-CA", "fr", "en", "de-AT"}},
        {{{"LANGUAGE", "zh_HK::C:zh_HK"}, {"LANG", "zh_HK.UTF-8"}}, {"zh-HK"}},
        // LC_ALL overrides LC_MESSAGES, which overrides LANG.
        {{{"LC_ALL", "ja_JP.eucJP"}, {"LC_MESSAGES", "ko_KR"}, {"LANG", "en_US"}}, {"ja-JP"}},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "ko_KR"}, {"LANG", "en_US"}}, {"ko-KR"}},
        {{{"LANG", "sr_RS.UTF-8@latin"}}, {"sr-RS"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.variables));
        auto environment = [&](const char* name) -> const char* {
            auto found = c.variables.find(name);
            return found == c.variables.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(Locale::languagesFromEnvironment(environment), c.languages);
    }
}

TEST_F(LocaleTest, TestsStartFromAFixedListAndSetTheirOwn) {
    EXPECT_EQ(Locale::preferredLanguages(), std::vector<std::string>{"en-US"});
    Locale::shared().setPreferredLanguages({"it", "pt-BR", "de-AT"});
    EXPECT_EQ(Locale::preferredLanguages(), (std::vector<std::string>{"it", "pt-BR", "de-AT"}));
}

}  // namespace
}  // namespace tallowmere::platform
