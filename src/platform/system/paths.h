#pragma once

#include <filesystem>
#include <string_view>

namespace tallowmere::platform {

// The Mac's folders, kept under $HOME so the layout matches a Mac's.
namespace Paths {
std::filesystem::path home();
std::filesystem::path library();
std::filesystem::path applicationSupport();  // ~/Library/Application Support
std::filesystem::path preferences();         // ~/Library/Preferences
std::filesystem::path launchAgents();        // ~/Library/LaunchAgents
std::filesystem::path desktop();             // ~/Desktop
std::filesystem::path temporary();           // $TMPDIR or /tmp

// The simulated Mac's system files live under this folder of the program's
// own (~/Library/Tallowmere System), which stands for "/": nothing the
// program does reaches the machine's own system files.
std::filesystem::path systemRoot();
// Where a Mac system path ("/private/etc/hosts") lives under systemRoot().
std::filesystem::path systemFile(std::string_view macPath);
}  // namespace Paths

}  // namespace tallowmere::platform
