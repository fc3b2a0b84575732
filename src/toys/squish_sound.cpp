#include "toys/squish_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere {

namespace {

void appendLE(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

SquishSound& SquishSound::shared() { return platform::AppContext::current().shared<SquishSound>(); }

SquishSound::SquishSound() : wav_(std::make_shared<const std::vector<std::uint8_t>>(makeWAV())) {}

std::vector<std::uint8_t> SquishSound::makeWAV() {
    constexpr std::uint32_t dataBytes = sampleCount * 2;
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    appendTag(out, "RIFF");
    appendLE(out, 36 + dataBytes, 4);
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendLE(out, 16, 4);
    appendLE(out, 1, 2);  // PCM
    appendLE(out, 1, 2);  // mono
    appendLE(out, sampleRate, 4);
    appendLE(out, sampleRate * 2, 4);
    appendLE(out, 2, 2);
    appendLE(out, 16, 2);
    appendTag(out, "data");
    appendLE(out, dataBytes, 4);
    for (int i = 0; i < sampleCount; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const double p = static_cast<double>(i) / sampleCount;
        const double envelope = std::pow(1 - p, 2.8);
        const double tone = std::sin(2 * std::numbers::pi * t * (92 - 38 * p));
        const double buzz = std::sin(t * 10869.910581420685) * std::sin(t * 1551.9467708733578);
        const double value = envelope * (0.34 * buzz + 0.72 * tone);
        // Truncated toward zero, as a conversion to an integer does.
        const double scaled = value >= 1 ? 32767.0 : std::clamp(value * 32767, -32768.0, 32767.0);
        const auto sample = static_cast<std::int16_t>(scaled);
        appendLE(out, static_cast<std::uint16_t>(sample), 2);
    }
    return out;
}

void SquishSound::play() { platform::DesktopLink::desktop().sounds().playWave(name, wav_); }

}  // namespace tallowmere
