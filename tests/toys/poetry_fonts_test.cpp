#include "toys/poetry_fonts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/gfx/font_library.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/runtime/app_context.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

using ::testing::Each;
using ::testing::HasSubstr;
using ::testing::Not;
using namespace platform;

using PoetryFontsTest = testing::TallowmereTest;

// On the machine's own fonts (scripts/install-deps brings Noto CJK and
// Debian's Kaiti-style UKai): the poem's Kaiti is reached by name, while the
// Kaiti package never becomes the face of the interface's Chinese text.
TEST_F(PoetryFontsTest, KaitiIsReachedByNameWhileInterfaceChineseKeepsTheSystemFace) {
    AppContext::current().setShared(FontLibrary::makeFromFontconfig());
    const PangoTextMeasurer measurer;
    const auto families = [&](const std::string& text, const Font& font) {
        return measurer.faceFamilies(AttributedString(text, {.font = font}));
    };

    const Font kaiti = PoetryFonts::kaiti(22);
    EXPECT_EQ(kaiti.familyName(), "AR PL UKai CN") << "is fonts-arphic-ukai installed (scripts/install-deps)?";
    for (const std::string text : {"春眠不觉晓", "鑑賞錄", "——孟浩然《春晓》"}) {
        SCOPED_TRACE(text);
        EXPECT_THAT(families(text, kaiti), Each(HasSubstr("UKai")));
        for (const Font& font : {Font::systemFont(13), Font::systemFont(26, FontWeight::semibold),
                                 Font::monospacedSystemFont(12), Font::menuFont(14)}) {
            SCOPED_TRACE(font.description());
            const auto drawn = families(text, font);
            ASSERT_FALSE(drawn.empty());
            EXPECT_THAT(drawn, Each(Not(HasSubstr("UKai"))));
        }
    }
}

}  // namespace
}  // namespace tallowmere
