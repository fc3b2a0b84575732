#pragma once

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/gfx/color.h"

namespace tallowmere {

// One colour as stored bytes (a preferences value such as "outlineColor"): a
// binary property list naming its class, colour space and components.
// Unarchiving accepts exactly one colour and refuses anything else: other
// bytes, another class, an unknown space, missing or non-finite components.
namespace ColorArchive {

// A named dynamic colour has no fixed components and is refused
// (unsupported); convert it to a colour space first.
platform::Result<platform::Data> archive(const platform::Color& color);
platform::Result<platform::Color> unarchive(const platform::Data& bytes);

}  // namespace ColorArchive

}  // namespace tallowmere
