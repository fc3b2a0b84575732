#include "platform/gfx/png.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using PngTest = testing::TallowmereTest;

Bitmap sampleBitmap() {
    Bitmap bitmap(5, 3, 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            bitmap.setPixel(x, y, {static_cast<std::uint8_t>(x * 50), static_cast<std::uint8_t>(y * 90),
                                   static_cast<std::uint8_t>(255 - x * 7), static_cast<std::uint8_t>(x * 60 + y)});
    return bitmap;
}

TEST_F(PngTest, EncodeThenDecodeKeepsEveryPixelEvenTranslucentOnes) {
    const Bitmap original = sampleBitmap();
    const auto bytes = encodePng(original);
    ASSERT_TRUE(bytes.ok()) << bytes.error().message;
    ASSERT_GE(bytes->size(), 8u);
    EXPECT_EQ((*bytes)[1], 'P');

    const auto decoded = decodePng(*bytes, 2);
    ASSERT_TRUE(decoded.ok()) << decoded.error().message;
    EXPECT_EQ(decoded->pixels(), original.pixels());
    EXPECT_EQ(decoded->pixelsWide(), 5);
    EXPECT_EQ(decoded->size(), (Size{2.5, 1.5}));
}

TEST_F(PngTest, DamagedInputIsAnErrorNotACrash) {
    const Data good = encodePng(sampleBitmap()).value();
    struct Case {
        const char* what;
        Data bytes;
    } cases[] = {
        {"empty", {}},
        {"not a PNG", {'h', 'e', 'l', 'l', 'o'}},
        {"header only", Data(good.begin(), good.begin() + 16)},
        {"truncated data", Data(good.begin(), good.end() - 20)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto decoded = decodePng(c.bytes);
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.error().code, ErrorCode::parseFailed);
    }
}

TEST_F(PngTest, AnEmptyBitmapCannotBeEncoded) {
    const auto bytes = encodePng(Bitmap(0, 4));
    ASSERT_FALSE(bytes.ok());
    EXPECT_EQ(bytes.error().code, ErrorCode::invalidArgument);
}

TEST_F(PngTest, FilesRoundTripAndAMissingFileIsNotFound) {
    const auto file = home() / "snapshot.png";
    ASSERT_TRUE(writePng(sampleBitmap(), file).ok());
    const auto read = readPng(file);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->pixels(), sampleBitmap().pixels());
    EXPECT_FALSE(std::filesystem::exists(home() / "snapshot.png.tmp-png"));

    const auto missing = readPng(home() / "absent.png");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, ErrorCode::notFound);

    const auto unwritable = writePng(sampleBitmap(), home() / "no-such-folder" / "x.png");
    ASSERT_FALSE(unwritable.ok());
    EXPECT_EQ(unwritable.error().code, ErrorCode::ioFailed);
}

}  // namespace
}  // namespace tallowmere::platform
