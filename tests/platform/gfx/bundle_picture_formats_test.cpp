#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/icon_file.h"
#include "platform/gfx/image.h"
#include "platform/gfx/image_filters.h"
#include "platform/gfx/png.h"
#include "platform/gfx/svg_image.h"

namespace tallowmere::platform {
namespace {

std::vector<std::uint8_t> iconFile(const std::vector<std::uint8_t>& picture, std::uint32_t offset = 22,
                                   std::uint16_t type = 1, std::uint16_t count = 1,
                                   std::optional<std::uint32_t> length = std::nullopt) {
    std::vector<std::uint8_t> out;
    auto le16 = [&](std::uint16_t v) {
        out.push_back(v & 0xff);
        out.push_back(v >> 8);
    };
    auto le32 = [&](std::uint32_t v) {
        le16(v & 0xffff);
        le16(v >> 16);
    };
    le16(0);
    le16(type);
    le16(count);
    out.insert(out.end(), {16, 16, 0, 0});
    le16(1);
    le16(32);
    le32(length.value_or(static_cast<std::uint32_t>(picture.size())));
    le32(offset);
    out.insert(out.end(), picture.begin(), picture.end());
    return out;
}

std::vector<std::uint8_t> smallPng() {
    Bitmap bitmap(2, 2);
    bitmap.setPixel(0, 0, Pixel{255, 0, 0, 255});
    auto bytes = encodePng(bitmap);
    return bytes.ok() ? *bytes : std::vector<std::uint8_t>{};
}

TEST(BundlePictureFormatsTest, IconFilesGiveTheirPngOrAClearFailure) {
    const auto png = smallPng();
    ASSERT_FALSE(png.empty());
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        std::optional<ErrorCode> failure;
    } cases[] = {
        {"a PNG picture", iconFile(png), std::nullopt},
        {"a bitmap picture", iconFile({40, 0, 0, 0, 16, 0, 0, 0, 32, 0, 0, 0}), ErrorCode::unsupported},
        {"a cursor file", iconFile(png, 22, 2), ErrorCode::parseFailed},
        {"no pictures", iconFile(png, 22, 1, 0), ErrorCode::parseFailed},
        {"an offset past the end", iconFile(png, 4000), ErrorCode::parseFailed},
        {"a length that wraps round", iconFile(png, 22, 1, 1, 0xffffffffu), ErrorCode::parseFailed},
        {"too short", {0, 0, 1, 0}, ErrorCode::parseFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto found = pngInIconFile(c.bytes);
        if (!c.failure) {
            ASSERT_TRUE(found.ok());
            EXPECT_EQ(std::vector<std::uint8_t>(found->begin(), found->end()), png);
        } else {
            ASSERT_FALSE(found.ok());
            EXPECT_EQ(found.error().code, *c.failure);
        }
    }
}

TEST(BundlePictureFormatsTest, SvgDocumentsAreDrawnAtTheirSize) {
    const std::string square = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="8">
        <rect x="0" y="0" width="8" height="8" fill="#ff0000"/></svg>)";
    auto image = imageFromSvg(square, 2);
    ASSERT_TRUE(image.ok());
    EXPECT_EQ(image->size(), (Size{16, 8}));
    ASSERT_TRUE(image->bitmap());
    EXPECT_EQ(image->bitmap()->pixel(2, 2), (Pixel{255, 0, 0, 255}));
    EXPECT_EQ(image->bitmap()->pixel(30, 2).alpha, 0);

    auto viewBoxOnly = imageFromSvg(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 10 20"/>)", 1);
    ASSERT_TRUE(viewBoxOnly.ok());
    EXPECT_EQ(viewBoxOnly->size(), (Size{10, 20}));

    for (std::string broken : {std::string("not svg"), std::string("<svg"), std::string()}) {
        SCOPED_TRACE(broken);
        EXPECT_FALSE(imageFromSvg(broken).ok());
    }
}

TEST(BundlePictureFormatsTest, PicturesMadeOnDemandMatchThoseMadeAtOnce) {
    const std::string square = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16px" height="8">
        <rect x="0" y="0" width="8" height="8" stroke-width="3" fill="#ff0000"/></svg>)";
    const std::vector<std::uint8_t> png = smallPng();
    struct Case {
        const char* what;
        Result<Image> onDemand;
        Result<Image> atOnce;
    } cases[] = {
        {"PNG", Result<Image>(Image::fromPngDataOnDemand(png, 2).value()), Image::fromPngData(png, 2)},
        {"SVG sized in its root", imageFromSvgOnDemand(square, 2), imageFromSvg(square, 2)},
        {"SVG sized by its view box", imageFromSvgOnDemand(R"(<svg viewBox="0 0 10 20" stroke-width="1"/>)", 1),
         imageFromSvg(R"(<svg viewBox="0 0 10 20" stroke-width="1"/>)", 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.onDemand.ok() && c.atOnce.ok());
        EXPECT_EQ(c.onDemand->size(), c.atOnce->size());
        ASSERT_TRUE(c.onDemand->bitmap() && c.atOnce->bitmap());
        EXPECT_EQ(c.onDemand->bitmap()->pixels(), c.atOnce->bitmap()->pixels());
    }

    // Not a PNG at all: no picture. A PNG whose body is damaged: its header's size, transparent.
    EXPECT_FALSE(Image::fromPngDataOnDemand({1, 2, 3}));
    std::vector<std::uint8_t> damaged = png;
    damaged.resize(33);
    const auto blank = Image::fromPngDataOnDemand(damaged, 1);
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->size(), (Size{2, 2}));
    EXPECT_EQ(blank->bitmap()->pixel(0, 0).alpha, 0);
    EXPECT_FALSE(imageFromSvgOnDemand("not svg").ok());
}

TEST(BundlePictureFormatsTest, OutlineFiltersTurnDarkLinesIntoAnOpaqueMask) {
    struct Case {
        Pixel input;
        std::uint8_t alpha;
    } cases[] = {
        {{0, 0, 0, 255}, 255},       // a line
        {{255, 255, 255, 255}, 0},   // the paper
        {{60, 60, 60, 255}, 255},    // a grey line, darkened by the contrast
        {{200, 200, 200, 255}, 0},   // a light shade, lightened away
        {{0, 0, 0, 0}, 0},           // nothing there
        {{200, 30, 30, 255}, 238},   // a red line counts by its grey
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.input.red) << "," << int(c.input.green) << ","
                                          << int(c.input.blue) << "," << int(c.input.alpha));
        Bitmap one(1, 1);
        one.setPixel(0, 0, c.input);
        const Pixel out = ImageFilters::maskToAlpha(ImageFilters::colorInvert(ImageFilters::colorControls(one, 0, 0, 1.8))).pixel(0, 0);
        EXPECT_NEAR(out.alpha, c.alpha, 6);
        EXPECT_EQ(out.red, 255);
    }
}

}  // namespace
}  // namespace tallowmere::platform
