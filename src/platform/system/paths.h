#pragma once

#include <filesystem>

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
}  // namespace Paths

}  // namespace tallowmere::platform
