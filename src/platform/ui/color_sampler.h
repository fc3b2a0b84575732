#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "platform/gfx/color.h"

namespace tallowmere::platform {

// The magnifying loupe that picks the colour of one pixel of the screen.
// Showing it returns at once; the completion runs on a later turn of the
// main queue with the colour, or nothing when the person pressed Escape (or
// nobody was there to pick). Answered by the `ModalResponder`.
class ColorSampler : public std::enable_shared_from_this<ColorSampler> {
public:
    static std::shared_ptr<ColorSampler> make();

    ColorSampler(const ColorSampler&) = delete;
    ColorSampler& operator=(const ColorSampler&) = delete;

    // While the loupe is up, a second `show` is ignored (its completion
    // never runs).
    void show(std::function<void(std::optional<Color>)> completion);
    bool isSampling() const { return sampling_; }

    struct Private;
    explicit ColorSampler(Private);

private:
    bool sampling_ = false;
};

}  // namespace tallowmere::platform
