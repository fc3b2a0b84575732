#include "platform/gfx/caching_text_measurer.h"

#include <gtest/gtest.h>

#include "platform/gfx/deterministic_text_measurer.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

// The deterministic measurer, counting what reaches it.
class CountingMeasurer final : public TextMeasurer {
public:
    LineMetrics lineMetrics(const Font& font) const override {
        ++metricsAsked;
        return measurer.lineMetrics(font);
    }
    Size measure(const AttributedString& text, std::optional<double> wrapWidth = std::nullopt) const override {
        ++measured;
        return measurer.measure(text, wrapWidth);
    }
    using TextMeasurer::measure;

    DeterministicTextMeasurer measurer;
    mutable int measured = 0;
    mutable int metricsAsked = 0;
};

AttributedString styled(const std::string& text, double size, std::optional<Color> color = std::nullopt,
                        double kern = 0) {
    TextAttributes attributes;
    attributes.font = Font::systemFont(size);
    attributes.foregroundColor = color;
    attributes.kern = kern;
    return AttributedString(text, attributes);
}

using CachingTextMeasurerTest = testing::TallowmereTest;

TEST_F(CachingTextMeasurerTest, AsksAgainOnlyForWhatChangesASize) {
    struct Case {
        const char* name;
        AttributedString text;
        std::optional<double> wrapWidth;
        bool measuredAgain;
    } cases[] = {
        {"the same", styled("Hosts", 13), std::nullopt, false},
        {"another colour", styled("Hosts", 13, Color::sRGB(1, 0, 0)), std::nullopt, false},
        {"another text", styled("Hosts!", 13), std::nullopt, true},
        {"another font size", styled("Hosts", 14), std::nullopt, true},
        {"another kern", styled("Hosts", 13, std::nullopt, 1), std::nullopt, true},
        {"a wrap width", styled("Hosts", 13), 40.0, true},
        {"a wrap width of zero", styled("Hosts", 13), 0.0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto counting = std::make_shared<CountingMeasurer>();
        CachingTextMeasurer caching(counting);
        caching.measure(styled("Hosts", 13));
        const Size second = caching.measure(c.text, c.wrapWidth);
        EXPECT_EQ(counting->measured, c.measuredAgain ? 2 : 1);
        EXPECT_EQ(second, counting->measurer.measure(c.text, c.wrapWidth)) << "the answer is the measurer's own";
        EXPECT_EQ(caching.measure(c.text, c.wrapWidth), second);
        EXPECT_EQ(counting->measured, c.measuredAgain ? 2 : 1) << "asked once only";
    }
}

TEST_F(CachingTextMeasurerTest, RemembersLineMetricsPerFontAndStartsAgainWhenFull) {
    auto counting = std::make_shared<CountingMeasurer>();
    CachingTextMeasurer caching(counting);
    EXPECT_EQ(caching.lineMetrics(Font::systemFont(13)), counting->measurer.lineMetrics(Font::systemFont(13)));
    caching.lineMetrics(Font::systemFont(13));
    caching.lineMetrics(Font::systemFont(20));
    EXPECT_EQ(counting->metricsAsked, 2);

    for (std::size_t i = 0; i <= CachingTextMeasurer::capacity; ++i) caching.measure("text " + std::to_string(i), Font::systemFont(13));
    const int before = counting->measured;
    caching.measure("text 0", Font::systemFont(13));
    EXPECT_EQ(counting->measured, before + 1) << "the oldest texts were let go";
}

}  // namespace
}  // namespace tallowmere::platform
