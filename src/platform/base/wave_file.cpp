#include "platform/base/wave_file.h"

#include <algorithm>
#include <string_view>

namespace tallowmere::platform {

std::vector<std::uint8_t> monoWaveFile(std::span<const std::int16_t> samples, std::uint32_t sampleRate) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    // The whole file's size is known, so it is sized once and filled in place.
    std::vector<std::uint8_t> out(44 + std::size_t{dataBytes});
    std::size_t at = 0;
    const auto put = [&](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) out[at++] = static_cast<std::uint8_t>(value >> (8 * i));
    };
    const auto tag = [&](std::string_view name) {
        for (const char c : name) out[at++] = static_cast<std::uint8_t>(c);
    };
    tag("RIFF");
    put(36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(1, 2);  // one channel
    put(sampleRate, 4);
    put(sampleRate * 2, 4);
    put(2, 2);
    put(16, 2);
    tag("data");
    put(dataBytes, 4);
    for (const std::int16_t sample : samples) put(static_cast<std::uint16_t>(sample), 2);
    return out;
}

std::int16_t waveSample(double value) {
    if (value >= 1) return 32767;
    return static_cast<std::int16_t>(std::clamp(value * 32767, -32768.0, 32767.0));
}

}  // namespace tallowmere::platform
