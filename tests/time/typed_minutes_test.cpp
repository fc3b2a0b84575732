#include "time/typed_minutes.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tallowmere {
namespace {

TEST(TypedMinutesTest, OnlyWholeMinutesWithinTheLimitAreTaken) {
    struct Case {
        std::string typed;
        int longest;
        std::optional<int> minutes;
    } cases[] = {
        {"1", 1440, 1},
        {"1440", 1440, 1440},
        {" 25 ", 1440, 25},
        {"\t7\n", 1440, 7},
        {"\u30008\u3000", 1440, 8},  // ideographic spaces from a Chinese input method
        {"+5", 1440, 5},
        {"0030", 1440, 30},
        {"59", 59, 59},
        {"60", 59, std::nullopt},
        {"1441", 1440, std::nullopt},
        {"0", 1440, std::nullopt},
        {"-0", 1440, std::nullopt},
        {"-5", 1440, std::nullopt},
        {"2.5", 1440, std::nullopt},
        {"12abc", 1440, std::nullopt},
        {"abc", 1440, std::nullopt},
        {"", 1440, std::nullopt},
        {"   ", 1440, std::nullopt},
        {"+", 1440, std::nullopt},
        {"+-5", 1440, std::nullopt},
        {"1 0", 1440, std::nullopt},
        {"\uff11\uff12", 1440, std::nullopt},  // full-width digits are not read as numbers
        {"99999999999999999999999", 1440, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("\"" + c.typed + "\" within " + std::to_string(c.longest));
        EXPECT_EQ(typedWholeMinutes(c.typed, c.longest), c.minutes);
    }
}

}  // namespace
}  // namespace tallowmere
