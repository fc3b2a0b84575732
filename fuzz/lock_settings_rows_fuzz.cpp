// The lock-settings readers print whatever the system gives them; no output
// may read past its text or stop the menu from being built.
#include <cstddef>
#include <cstdint>
#include <string>

#include "time/lock_settings_rows.h"

using namespace tallowmere;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)LockSettingsRows::all(text, text, text);
    return 0;
}
