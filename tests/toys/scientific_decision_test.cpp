#include "toys/scientific_decision.h"

#include <gtest/gtest.h>

#include <set>

namespace tallowmere::testing {
namespace {

const platform::Date now = platform::Date::fromTimeIntervalSince1970(1'796'889'600);

TEST(ScientificDecisionTest, NormalizedPeopleSplitsAtEverySeparatorAndDropsBlanks) {
    struct Case {
        const char* input;
        const char* people;
    } cases[] = {
        {"小王, 小李；；小张", "小王、小李、小张"},
        {"小王、小李，小张;小赵", "小王、小李、小张、小赵"},
        {"  小王 \n", "小王"},
        {"、 ,，;；", ""},
        {"", ""},
        {"小　王、\t小李\r\n", "小　王、小李"},  // inner spaces stay
        {"Ann Lee, Bo", "Ann Lee、Bo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(normalizedPeople(c.input), c.people);
    }
}

TEST(ScientificDecisionTest, ChecksRunInOrderAndStopAtTheFirst) {
    struct Case {
        DecisionForm form;
        const char* problem;
    } cases[] = {
        {{"", "", {"", "", "", ""}}, "请填写纷争人。"},
        {{" ,、 ", "事", {"a", "b", "", ""}}, "请填写纷争人。"},
        {{"小王", "  \n", {"a", "b", "", ""}}, "请填写事情概述。"},
        {{"小王", "事", {"a", "   ", "", ""}}, "请至少填写两个候选结果。"},
        {{"小王", "事", {"", "", "", "d"}}, "请至少填写两个候选结果。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        const auto outcome = drawDecision(c.form, now, [](std::size_t) -> std::size_t {
            ADD_FAILURE() << "drew despite a problem";
            return 0;
        });
        ASSERT_TRUE(std::holds_alternative<std::string>(outcome));
        EXPECT_EQ(std::get<std::string>(outcome), c.problem);
    }
}

TEST(ScientificDecisionTest, EachOutcomeKeepsTheLetterOfItsOwnField) {
    const DecisionForm form{"小王, 小李", "  午饭吃什么 ", {" 面条 ", "", "  ", "米饭"}};
    struct Case {
        std::size_t drawn;
        const char* letter;
        const char* text;
    } cases[] = {{0, "A", "面条"}, {1, "D", "米饭"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.letter);
        std::size_t offered = 0;
        const auto outcome = drawDecision(form, now, [&](std::size_t count) {
            offered = count;
            return c.drawn;
        });
        ASSERT_TRUE(std::holds_alternative<ScientificDecisionRecord>(outcome));
        const auto& record = std::get<ScientificDecisionRecord>(outcome);
        EXPECT_EQ(offered, 2u);
        EXPECT_EQ(record.people, "小王、小李");
        EXPECT_EQ(record.matter, "午饭吃什么");
        EXPECT_EQ(record.optionLetter, c.letter);
        EXPECT_EQ(record.optionText, c.text);
        EXPECT_EQ(record.date, now);
        EXPECT_EQ(decisionResultLine(record), std::string("科学决策结果：") + c.letter + " · " + c.text);
    }
}

TEST(ScientificDecisionTest, SecureDrawStaysInRangeAndReachesEveryIndex) {
    for (const std::size_t count : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(count);
        std::set<std::size_t> seen;
        for (int i = 0; i < 400; ++i) {
            const auto index = secureRandomIndex(count);
            ASSERT_LT(index, count);
            seen.insert(index);
        }
        EXPECT_EQ(seen.size(), count);  // missing one in 400 draws: odds below 1e-49
    }
}

}  // namespace
}  // namespace tallowmere::testing
