#pragma once

namespace tallowmere::platform {

// The alert sound a refused action makes: heard through the desktop's
// speaker (which counts it) and written to the UI trace as "beep".
void systemBeep();

}  // namespace tallowmere::platform
