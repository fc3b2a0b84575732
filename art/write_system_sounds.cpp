// Writes the simulated Mac's system sounds that the program plays, as the
// bundle's "Glass.wav" (a struck glass: a few inharmonic partials ringing
// out) and "Beep.wav" (the short alert tone). Our own synthesis, mono 16-bit.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

#include "platform/base/wave_file.h"

using namespace tallowmere::platform;

namespace {

constexpr std::uint32_t rate = 22050;

struct Partial {
    double frequency;
    double amplitude;
    double decayPerSecond;
};

std::vector<std::int16_t> ring(double seconds, std::initializer_list<Partial> partials, double attack) {
    const auto count = static_cast<std::size_t>(seconds * rate);
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        double value = 0;
        for (const auto& p : partials) {
            value += p.amplitude * std::exp(-p.decayPerSecond * t) * std::sin(2 * std::numbers::pi * p.frequency * t);
        }
        const double fadeIn = std::min(1.0, t / attack);
        const double fadeOut = std::min(1.0, (seconds - t) / 0.02);  // no click at the end
        samples[i] = waveSample(value * fadeIn * fadeOut);
    }
    return samples;
}

bool write(const std::filesystem::path& file, const std::vector<std::int16_t>& samples) {
    const auto bytes = monoWaveFile(samples, rate);
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_system_sounds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const auto glass = ring(0.9, {{1661, 0.34, 5.5}, {2489, 0.22, 7.5}, {4186, 0.12, 11}, {5920, 0.05, 16}}, 0.002);
    const auto beep = ring(0.16, {{880, 0.32, 9}, {1760, 0.08, 14}}, 0.004);
    if (!write(folder / "Glass.wav", glass) || !write(folder / "Beep.wav", beep)) {
        std::fprintf(stderr, "write_system_sounds: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
