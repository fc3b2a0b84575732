#include "toys/squish_sound.h"

#include <cmath>
#include <numbers>

#include "platform/base/wave_file.h"
#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere {

SquishSound& SquishSound::shared() { return platform::AppContext::current().shared<SquishSound>(); }

SquishSound::SquishSound() : wav_(std::make_shared<const std::vector<std::uint8_t>>(makeWAV())) {}

std::vector<std::uint8_t> SquishSound::makeWAV() {
    std::vector<std::int16_t> samples(sampleCount);
    for (int i = 0; i < sampleCount; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double p = static_cast<double>(i) / sampleCount;
        const double envelope = std::pow(1 - p, 2.8);
        const double tone = std::sin(2 * std::numbers::pi * t * (92 - 38 * p));
        const double buzz = std::sin(t * 10869.910581420685) * std::sin(t * 1551.9467708733578);
        samples[static_cast<std::size_t>(i)] = platform::waveSample(envelope * (0.34 * buzz + 0.72 * tone));
    }
    return platform::monoWaveFile(samples, sampleRate);
}

void SquishSound::play() { platform::DesktopLink::desktop().sounds().playWave(name, wav_); }

}  // namespace tallowmere
