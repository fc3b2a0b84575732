#pragma once

namespace tallowmere::platform {

// Window levels, in the window server's numbering: a window is drawn above
// every window of a lower level, and the on-screen list reports the level
// as the window's layer.
namespace WindowLevel {
constexpr int normal = 0;
constexpr int floating = 3;
constexpr int modalPanel = 8;
constexpr int dock = 20;
constexpr int mainMenu = 24;
constexpr int status = 25;
constexpr int popUpMenu = 101;
constexpr int screenSaver = 1000;
}  // namespace WindowLevel

}  // namespace tallowmere::platform
