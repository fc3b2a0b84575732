#include "platform/ui/color_sampler.h"

#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/ui_trace.h"

namespace tallowmere::platform {

struct ColorSampler::Private {};
ColorSampler::ColorSampler(Private) {}

std::shared_ptr<ColorSampler> ColorSampler::make() { return std::make_shared<ColorSampler>(Private{}); }

void ColorSampler::show(std::function<void(std::optional<Color>)> completion) {
    if (sampling_) return;
    sampling_ = true;
    UiTrace::shared().record("colour sampler shown");
    auto self = shared_from_this();
    AppContext::current().mainQueue().async([self, completion = std::move(completion)] {
        std::optional<Color> picked;
        if (auto responder = Application::shared().modalResponder()) {
            if (auto answer = responder->answerColorSampler(*self)) picked = *answer;
        }
        self->sampling_ = false;
        UiTrace::shared().record(picked ? "colour sampler picked " + picked->hexString() : "colour sampler cancelled");
        if (completion) completion(picked);
    });
}

}  // namespace tallowmere::platform
