#include "platform/base/wave_file.h"

#include <algorithm>

namespace tallowmere::platform {

namespace {

void appendLE(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void appendTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

std::vector<std::uint8_t> monoWaveFile(std::span<const std::int16_t> samples, std::uint32_t sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    appendTag(out, "RIFF");
    appendLE(out, 36 + dataBytes, 4);
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendLE(out, 16, 4);
    appendLE(out, 1, 2);  // PCM
    appendLE(out, 1, 2);  // one channel
    appendLE(out, sampleRate, 4);
    appendLE(out, sampleRate * 2, 4);
    appendLE(out, 2, 2);
    appendLE(out, 16, 2);
    appendTag(out, "data");
    appendLE(out, dataBytes, 4);
    for (const std::int16_t sample : samples) appendLE(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

std::int16_t waveSample(double value) {
    if (value >= 1) return 32767;
    return static_cast<std::int16_t>(std::clamp(value * 32767, -32768.0, 32767.0));
}

}  // namespace tallowmere::platform
