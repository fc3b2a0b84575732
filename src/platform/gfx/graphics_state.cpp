#include "platform/gfx/graphics_state.h"

namespace tallowmere::platform {

std::string_view rawValue(CompositingOperation operation) {
    switch (operation) {
    case CompositingOperation::sourceOver: return "sourceOver";
    case CompositingOperation::sourceAtop: return "sourceAtop";
    case CompositingOperation::sourceIn: return "sourceIn";
    case CompositingOperation::sourceOut: return "sourceOut";
    case CompositingOperation::destinationOver: return "destinationOver";
    case CompositingOperation::destinationIn: return "destinationIn";
    case CompositingOperation::destinationOut: return "destinationOut";
    case CompositingOperation::copy: return "copy";
    case CompositingOperation::clear: return "clear";
    case CompositingOperation::plusLighter: return "plusLighter";
    case CompositingOperation::multiply: return "multiply";
    }
    return "sourceOver";
}

std::string_view rawValue(ImageInterpolation interpolation) {
    switch (interpolation) {
    case ImageInterpolation::defaultQuality: return "default";
    case ImageInterpolation::none: return "none";
    case ImageInterpolation::low: return "low";
    case ImageInterpolation::medium: return "medium";
    case ImageInterpolation::high: return "high";
    }
    return "default";
}

}  // namespace tallowmere::platform
