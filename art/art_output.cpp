#include "art_output.h"

#include <cstdio>
#include <system_error>

#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"

namespace tallowmere::art {

std::optional<std::filesystem::path> outputFolder(int argc, char** argv) {
    if (argc != 2) {
        const std::string program = argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "art";
        std::fprintf(stderr, "usage: %s FOLDER\n", program.c_str());
        return std::nullopt;
    }
    std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return std::nullopt;
    }
    return folder;
}

bool writePicture(const std::filesystem::path& file, platform::Size size,
                  const std::function<void(platform::Canvas&)>& draw) {
    auto canvas = platform::CairoCanvas::make(size, 1);
    if (!canvas) {
        std::fprintf(stderr, "cannot draw %s: %s\n", file.c_str(), canvas.error().message.c_str());
        return false;
    }
    draw(**canvas);
    auto written = platform::writePng((*canvas)->bitmap(), file);
    if (!written) std::fprintf(stderr, "cannot write %s: %s\n", file.c_str(), written.error().message.c_str());
    return written.ok();
}

}  // namespace tallowmere::art
