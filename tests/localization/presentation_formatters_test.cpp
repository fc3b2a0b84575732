#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "localization/font_weight_presentation.h"
#include "localization/network_rate_formatting.h"

namespace tallowmere {
namespace {

constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double infinity = std::numeric_limits<double>::infinity();

TEST(FontWeightPresentationTest, NamesWeightsByStrictThresholds) {
    struct Case {
        double weight;
        std::string_view key;
    } cases[] = {
        {100, "细体"}, {399.9, "细体"}, {400, "正常"}, {499, "正常"}, {500, "半粗"},
        {699, "半粗"}, {700, "粗"},     {1000, "粗"},  {nan, "粗"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.weight);
        EXPECT_EQ(FontWeightPresentation::nameKey(c.weight), c.key);
    }
}

TEST(FontWeightPresentationTest, NumbersAreShortestTextsInsideTheCssRange) {
    struct Case {
        double weight;
        std::string_view text;
    } cases[] = {
        {1, "1"},     {400, "400"},   {1000, "1000"},     {650.5, "650.5"}, {450.25, "450.25"},
        {0.5, "-"},   {1000.5, "-"},  {-400, "-"},        {nan, "-"},       {infinity, "-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.weight);
        EXPECT_EQ(FontWeightPresentation::number(c.weight), c.text);
    }
}

TEST(NetworkRateFormattingTest, ChoosesTheUnitBeforeRounding) {
    struct Case {
        double rate;
        std::string value;
        std::string unit;
    } cases[] = {
        {0, "0", "KB/s"},
        {1499, "1", "KB/s"},
        {2500, "2", "KB/s"},  // an exact half goes to the even neighbour
        {999'500, "1000", "KB/s"},
        {1'000'000, "1.0", "MB/s"},
        {9'960'000, "10.0", "MB/s"},
        {10'000'000, "10", "MB/s"},
        {123'456'789, "123", "MB/s"},
        {-5, "0", "KB/s"},
        {-0.0, "0", "KB/s"},
        {infinity, "-", "KB/s"},
        {nan, "-", "KB/s"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        EXPECT_EQ(NetworkRateFormatting::display(c.rate), std::make_pair(c.value, c.unit));
    }
}

}  // namespace
}  // namespace tallowmere
