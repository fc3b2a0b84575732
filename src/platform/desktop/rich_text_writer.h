#pragma once

#include "platform/base/data.h"
#include "platform/desktop/ax_value.h"

namespace tallowmere::platform {

// Writes styled text as the RTF an application hands out for a range: a
// font table of the runs' fonts (by their PostScript-style names), a colour
// table of their colours, then the text with \f, \fs, \b, \i and \cf, every
// character outside printable ASCII as \u.
namespace RichTextWriter {
Data write(const AXAttributedString& text);
}

}  // namespace tallowmere::platform
