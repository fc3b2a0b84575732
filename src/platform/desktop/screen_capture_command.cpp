#include "platform/desktop/screen_capture_command.h"

#include <fstream>

#include "platform/desktop/desktop.h"
#include "platform/desktop/pasteboard.h"
#include "platform/desktop/screen.h"
#include "platform/desktop/sound_output.h"
#include "platform/desktop/window_server.h"
#include "platform/gfx/image.h"
#include "platform/gfx/png.h"

namespace tallowmere::platform {

namespace {

constexpr const char* usage = "usage: screencapture [-icx] [-t png] [file]\n";

int refuse(CommandCall& call, const std::string& why) {
    call.writeError("screencapture: " + why + "\n");
    call.writeError(usage);
    return 1;
}

}  // namespace

double ScreenCaptureCommand::scaleFor(ScreenRect area) const {
    double scale = 1;
    double covered = 0;
    for (const auto& screen : desktop_.screens().screens()) {
        const auto overlap = screen->frame().intersection(area);
        const double size = overlap.isEmpty() ? 0 : overlap.width() * overlap.height();
        if (size > covered) {
            covered = size;
            scale = screen->backingScaleFactor();
        }
    }
    return scale;
}

Result<Data> ScreenCaptureCommand::capturePng(ScreenRect area) const {
    const auto image = desktop_.windowServer().captureScreenRect(area);
    if (!image) return Error{ErrorCode::invalidArgument, "could not create image from rect"};
    auto bitmap = image->render(scaleFor(area));
    if (!bitmap) return bitmap.error();
    return encodePng(*bitmap, PngCompression::fast);
}

int ScreenCaptureCommand::run(CommandCall& call) {
    bool interactive = false;
    bool toPasteboard = false;
    bool silent = false;
    std::optional<std::string> file;
    const auto& arguments = call.arguments();
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& argument = arguments[i];
        if (argument.size() > 1 && argument[0] == '-' && !file) {
            for (std::size_t k = 1; k < argument.size(); ++k) {
                switch (argument[k]) {
                    case 'i': interactive = true; break;
                    case 'c': toPasteboard = true; break;
                    case 'x': silent = true; break;
                    case 't':
                        if (k + 1 != argument.size() || i + 1 >= arguments.size())
                            return refuse(call, "option requires an argument -- t");
                        if (arguments[++i] != "png") return refuse(call, "unsupported format " + arguments[i]);
                        break;
                    default: return refuse(call, std::string("illegal option -- ") + argument[k]);
                }
            }
        } else if (!file) {
            file = argument;
        } else {
            return refuse(call, "too many files");
        }
    }
    if (!file && !toPasteboard) return refuse(call, "no file given");

    std::optional<ScreenRect> area;
    if (interactive) {
        if (chooseArea) area = chooseArea();
        // Escape, or nobody to drag: nothing is written, and that is no error.
        if (!area || area->integral().isEmpty()) return 0;
        area = area->integral();
    } else if (auto primary = desktop_.screens().primaryScreen()) {
        area = primary->frame();
    } else {
        call.writeError("screencapture: no display\n");
        return 1;
    }

    auto bytes = capturePng(*area);
    if (!bytes) {
        call.writeError("screencapture: " + bytes.error().message + "\n");
        return 1;
    }
    if (!silent) desktop_.sounds().playNamed(soundName);
    if (toPasteboard) {
        auto image = Image::fromPngData(*bytes, scaleFor(*area));
        desktop_.pasteboard().clearContents();
        if (!image || !desktop_.pasteboard().writeImage(*image)) {
            call.writeError("screencapture: could not write to the clipboard\n");
            return 1;
        }
        return 0;
    }
    std::ofstream out(*file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
    out.flush();
    if (!out) {
        call.writeError("screencapture: cannot write file to intended destination, " + *file + "\n");
        return 1;
    }
    return 0;
}

}  // namespace tallowmere::platform
