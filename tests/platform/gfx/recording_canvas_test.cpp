#include "platform/gfx/recording_canvas.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using RecordingCanvasTest = testing::TallowmereTest;

TEST_F(RecordingCanvasTest, RecordsShapesWithTheStateTheyWereDrawnIn) {
    RecordingCanvas canvas({16, 16});
    const Color separator = Color::system(SystemColor::separator);
    canvas.setFillColor(Color::sRGB(0.2, 0.4, 1));
    canvas.fillRoundedRect({1, 1, 14, 14}, 4);
    canvas.setStrokeColor(separator);
    canvas.setLineWidth(0.75);
    canvas.strokeRoundedRect({1, 1, 14, 14}, 4);

    const auto fills = canvas.operationsOf<RecordingCanvas::FillOp>();
    ASSERT_EQ(fills.size(), 1u);
    ASSERT_TRUE(fills[0].path.shape());
    EXPECT_EQ(*fills[0].path.shape(), Path::Shape(Path::RoundedRectShape{{1, 1, 14, 14}, 4, 4}));
    EXPECT_EQ(fills[0].state.fillColor, Color::sRGB(0.2, 0.4, 1));

    const auto strokes = canvas.operationsOf<RecordingCanvas::StrokeOp>();
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0].state.strokeColor, separator) << "dynamic colours are recorded as given";
    EXPECT_DOUBLE_EQ(strokes[0].state.lineWidth, 0.75);
}

TEST_F(RecordingCanvasTest, SaveAndRestoreBracketStateChanges) {
    RecordingCanvas canvas;
    canvas.save();
    canvas.translate(5, 7);
    canvas.setAlpha(2);  // clamped
    canvas.setLineDash({1, 3});
    canvas.strokeLine({0, 0}, {1, 1});
    canvas.restore();
    canvas.restore();  // unmatched: ignored
    canvas.strokeLine({0, 0}, {1, 1});

    const auto& ops = canvas.operations();
    ASSERT_EQ(ops.size(), 4u);
    EXPECT_TRUE(std::holds_alternative<RecordingCanvas::SaveOp>(ops[0]));
    EXPECT_TRUE(std::holds_alternative<RecordingCanvas::RestoreOp>(ops[2]));
    const auto strokes = canvas.operationsOf<RecordingCanvas::StrokeOp>();
    EXPECT_EQ(strokes[0].state.transform, AffineTransform::translation(5, 7));
    EXPECT_EQ(strokes[0].state.alpha, 1);
    EXPECT_EQ(strokes[0].state.lineDash.pattern, (std::vector<double>{1, 3}));
    EXPECT_EQ(strokes[1].state, GraphicsState{}) << "restore brings the first state back";
    EXPECT_EQ(canvas.saveDepth(), 0);
}

TEST_F(RecordingCanvasTest, UnusableStyleValuesAreIgnored) {
    RecordingCanvas canvas;
    canvas.setLineWidth(-1);
    canvas.setLineWidth(NAN);
    canvas.setLineDash({2, -1});
    canvas.translate(NAN, 0);
    EXPECT_EQ(canvas.state(), GraphicsState{});
    canvas.setLineDash({0, 0});
    EXPECT_TRUE(canvas.state().lineDash.pattern.empty()) << "an all-zero dash would draw nothing";
}

TEST_F(RecordingCanvasTest, ImageContentsAreRecordedOnlyWhenAskedFor) {
    const Image image = Image::withHandler({10, 10}, [](Canvas& c, Rect r) {
        c.fillEllipse(r);
        return true;
    });
    RecordingCanvas plain;
    plain.drawImage(image, {0, 0, 20, 20});
    EXPECT_EQ(plain.operations().size(), 1u);

    RecordingCanvas deep({100, 100}, 1, {.recordImageContents = true});
    deep.drawImage(image, {10, 20, 20, 20}, std::nullopt, 0.5);
    const auto images = deep.operationsOf<RecordingCanvas::ImageOp>();
    ASSERT_EQ(images.size(), 1u);
    EXPECT_EQ(images[0].opacity, 0.5);
    const auto fills = deep.operationsOf<RecordingCanvas::FillOp>();
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].state.transform.apply({10, 10}), (Point{30, 40})) << "image corner maps to destination corner";
    EXPECT_EQ(deep.saveDepth(), 0);
}

TEST_F(RecordingCanvasTest, TextIsRecordedWithItsRuns) {
    RecordingCanvas canvas;
    canvas.drawText("AI", {3, 4}, Font::boldSystemFont(10), Color::system(SystemColor::blue));
    canvas.drawText(AttributedString(""), Point{0, 0});  // nothing to draw
    EXPECT_EQ(canvas.drawnTexts(), (std::vector<std::string>{"AI"}));
    const auto text = canvas.operationsOf<RecordingCanvas::TextOp>()[0];
    EXPECT_EQ(text.origin, (Point{3, 4}));
    EXPECT_EQ(text.text.attributesAt(0).font, Font::boldSystemFont(10));
}

TEST_F(RecordingCanvasTest, ArcsRunCounterClockwiseUnlessAskedOtherwise) {
    // A smile from 205° to 335° passes under the centre; clockwise passes over it.
    Path smile;
    smile.arc({0, 0}, 4, 205, 335);
    EXPECT_LT(smile.bounds().minY(), -3.9);
    EXPECT_LT(smile.bounds().maxY(), -1.6);
    Path frown;
    frown.arc({0, 0}, 4, 205, 335, true);
    EXPECT_GT(frown.bounds().maxY(), 3.9);
    EXPECT_FALSE(smile.shape()) << "a free path has no shape";
}

}  // namespace
}  // namespace tallowmere::platform
