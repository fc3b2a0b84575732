#include "screen/blackboard_sign_fitting.h"

#include <algorithm>

#include "platform/gfx/text_measurer.h"

namespace tallowmere {

using namespace platform;

Font blackboardSignFont(const std::string& family, double size) {
    if (auto font = Font::named(family, size)) return *font;
    return Font::systemFont(size, FontWeight::medium);
}

double fittedBlackboardFontSize(const std::string& text, const std::string& family, double requested, Size box,
                                const TextMeasurer& measurer) {
    double size = requested;
    if (!(size > 8)) return size;
    while (true) {
        const Size measured = measurer.measure(text, blackboardSignFont(family, size), box.width);
        if (measured.height <= box.height && measured.width <= box.width) return size;
        size = std::max(size - 2, 8.0);
        if (size <= 8) return size;
    }
}

}  // namespace tallowmere
