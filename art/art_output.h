#pragma once

// What every picture-drawing program of the build shares: its one argument,
// the output folder, and writing a drawn canvas as a PNG.
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/gfx/canvas.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::art {

// The output folder named by the only argument, created; absent (after the
// usage line on standard error) when the arguments are not just that.
std::optional<std::filesystem::path> outputFolder(int argc, char** argv);

// Draws a picture of `size` pixels (y up, origin at the bottom left) through
// `draw` and writes it to `file` as a PNG; false, with the reason on
// standard error, when it cannot.
bool writePicture(const std::filesystem::path& file, platform::Size size,
                  const std::function<void(platform::Canvas&)>& draw);

}  // namespace tallowmere::art
