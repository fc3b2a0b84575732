#pragma once

namespace tallowmere::platform {

// Makes fontconfig's configuration for this process the system's followed by
// the program's own rules (resources/platform/fonts.conf), once, before the
// first font map is made. Every part of the drawing layer that reaches
// fontconfig calls it first; a process that draws no text never pays for it.
void useProgramFontConfiguration();

}  // namespace tallowmere::platform
