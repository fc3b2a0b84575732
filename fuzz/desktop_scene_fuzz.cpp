// Scene files are written by hand: any text must parse into a scene or fail
// with a message, and a scene that parsed must build a desktop.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/desktop/desktop.h"
#include "platform/desktop/desktop_scene.h"
#include "platform/runtime/app_context.h"

using namespace tallowmere::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto scene = DesktopScene::parse(std::string_view(reinterpret_cast<const char*>(data), size), "/home/fuzz");
    if (!scene.ok()) return 0;
    AppContext context({.deterministic = true});
    if (!scene->apply(Desktop::shared()).ok()) __builtin_trap();
    return 0;
}
