#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "support/command_run.h"
#include "support/fixture.h"
#include "toys/squish_sound.h"

namespace tallowmere::testing {
namespace {

std::uint32_t readLE(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        value |= static_cast<std::uint32_t>(bytes.at(at + static_cast<std::size_t>(i))) << (8 * i);
    }
    return value;
}

std::string tag(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t size) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + size)};
}

TEST(SquishSoundTest, IsAMonoSixteenBitWaveOf4189Samples) {
    const auto wav = SquishSound::makeWAV();
    ASSERT_EQ(wav.size(), 44u + 8378u);
    EXPECT_EQ(tag(wav, 0, 4), "RIFF");
    EXPECT_EQ(tag(wav, 8, 8), "WAVEfmt ");
    EXPECT_EQ(tag(wav, 36, 4), "data");
    struct Field {
        std::size_t offset;
        int size;
        std::uint32_t value;
        const char* name;
    } fields[] = {
        {4, 4, 36 + 8378, "RIFF size"}, {16, 4, 16, "fmt chunk size"}, {20, 2, 1, "PCM"},
        {22, 2, 1, "channels"},         {24, 4, 22050, "sample rate"},  {28, 4, 44100, "byte rate"},
        {32, 2, 2, "block align"},      {34, 2, 16, "bits"},            {40, 4, 8378, "data bytes"},
    };
    for (const auto& field : fields) EXPECT_EQ(readLE(wav, field.offset, field.size), field.value) << field.name;
    // Worked out apart from the program; -4156.807 shows truncation toward
    // zero, where rounding or flooring would give -4157.
    const std::pair<std::size_t, std::int16_t> samples[] = {{0, 0}, {1, 988}, {2000, -4156}, {4188, 0}};
    for (const auto& [index, expected] : samples) {
        EXPECT_EQ(static_cast<std::int16_t>(readLE(wav, 44 + 2 * index, 2)), expected) << "sample " << index;
    }
}

class SquishSoundFileTest : public TallowmereTest {};

TEST_F(SquishSoundFileTest, PythonsWaveModuleReadsIt) {
    const auto file = home() / "squish.wav";
    {
        const auto wav = SquishSound::makeWAV();
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    }
    const auto run = runPython("import wave, sys\n"
                               "w = wave.open(sys.argv[1])\n"
                               "print(w.getnchannels(), w.getframerate(), w.getnframes(), w.getsampwidth())",
                               "'" + file.string() + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "1 22050 4189 2\n");
}

}  // namespace
}  // namespace tallowmere::testing
