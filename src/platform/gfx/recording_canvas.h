#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

// Remembers every call with its parameters and the state it was made in, for
// tests to check what was drawn: "a rounded rect of radius 4 at (1, 1, 14, 14)
// filled in system blue". It paints nothing.
class RecordingCanvas final : public Canvas {
public:
    struct SaveOp { bool operator==(const SaveOp&) const = default; };
    struct RestoreOp { bool operator==(const RestoreOp&) const = default; };
    struct FillOp { Path path; FillRule rule; GraphicsState state; };
    struct StrokeOp { Path path; GraphicsState state; };
    struct ClipOp { Path path; FillRule rule; GraphicsState state; };
    struct LinearGradientOp { Gradient gradient; Point start, end; GraphicsState state; };
    struct RadialGradientOp {
        Gradient gradient;
        Point startCenter;
        double startRadius;
        Point endCenter;
        double endRadius;
        GraphicsState state;
    };
    struct ImageOp {
        Image image;
        Rect destination;
        std::optional<Rect> source;
        double opacity;
        CompositingOperation operation;
        GraphicsState state;
    };
    struct TextOp {
        AttributedString text;
        Point origin;
        std::optional<double> wrapWidth;
        GraphicsState state;
    };
    using Operation = std::variant<SaveOp, RestoreOp, FillOp, StrokeOp, ClipOp, LinearGradientOp,
                                   RadialGradientOp, ImageOp, TextOp>;

    struct Options {
        // Also record what handler images draw (inside a save, with the
        // transform that maps the image into its destination).
        bool recordImageContents = false;
    };

    explicit RecordingCanvas(Size size = {100, 100}, double scale = 1) : RecordingCanvas(size, scale, Options{}) {}
    RecordingCanvas(Size size, double scale, Options options);

    const std::vector<Operation>& operations() const { return operations_; }
    // Only the operations of one kind, in order.
    template <class Op>
    std::vector<Op> operationsOf() const {
        std::vector<Op> result;
        for (const auto& op : operations_)
            if (const auto* match = std::get_if<Op>(&op)) result.push_back(*match);
        return result;
    }
    // The texts drawn, in order (handy for "what does this label show").
    std::vector<std::string> drawnTexts() const;
    void clear() { operations_.clear(); }

protected:
    void onSave() override;
    void onRestore() override;
    void onFill(const Path& path, FillRule rule) override;
    void onStroke(const Path& path) override;
    void onClip(const Path& path, FillRule rule) override;
    void onLinearGradient(const Gradient& gradient, Point start, Point end) override;
    void onRadialGradient(const Gradient& gradient, Point startCenter, double startRadius, Point endCenter,
                          double endRadius) override;
    void onImage(const Image& image, Rect destination, std::optional<Rect> source, double opacity,
                 CompositingOperation operation) override;
    void onText(const AttributedString& text, Point origin, std::optional<double> wrapWidth) override;

private:
    Options options_;
    std::vector<Operation> operations_;
};

}  // namespace tallowmere::platform
