#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tallowmere::platform {

// A whole RIFF WAVE file of mono signed 16-bit little-endian samples: the
// 44-byte header ("RIFF", size, "WAVE", a 16-byte "fmt " chunk of PCM, one
// channel, the rate, 2 bytes a frame, 16 bits) and the "data" chunk.
std::vector<std::uint8_t> monoWaveFile(std::span<const std::int16_t> samples, std::uint32_t sampleRate);

// A sample value in -1...1 (and beyond, limited) as a 16-bit sample,
// truncated toward zero as a conversion to an integer does.
std::int16_t waveSample(double value);

}  // namespace tallowmere::platform
