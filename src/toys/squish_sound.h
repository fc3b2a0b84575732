#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace tallowmere {

// The short wet buzz of a squashed buddy, made by the program itself: a
// falling tone and a buzz under a fading envelope, as a WAVE file.
class SquishSound {
public:
    static constexpr int sampleRate = 22050;
    static constexpr int sampleCount = 4189;
    static constexpr const char* name = "squish";

    // Made once per process, on first use.
    static SquishSound& shared();

    SquishSound();
    SquishSound(const SquishSound&) = delete;
    SquishSound& operator=(const SquishSound&) = delete;

    // The 44-byte RIFF header and the mono 16-bit samples.
    static std::vector<std::uint8_t> makeWAV();

    // Stops it if it is still sounding and plays it from the start.
    void play();

private:
    std::shared_ptr<const std::vector<std::uint8_t>> wav_;
};

}  // namespace tallowmere
