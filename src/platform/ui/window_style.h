#pragma once

#include <cstdint>

namespace tallowmere::platform {

// The platform's window style bits, by their raw values, so masks such as
// 128 (non-activating panel) and 1 << 14 (full screen) read as written.
struct WindowStyleMask {
    std::uint64_t rawValue = 0;

    static constexpr std::uint64_t borderless = 0;
    static constexpr std::uint64_t titled = 1u << 0;
    static constexpr std::uint64_t closable = 1u << 1;
    static constexpr std::uint64_t miniaturizable = 1u << 2;
    static constexpr std::uint64_t resizable = 1u << 3;
    static constexpr std::uint64_t utilityWindow = 1u << 4;
    static constexpr std::uint64_t nonactivatingPanel = 1u << 7;
    static constexpr std::uint64_t hudWindow = 1u << 13;
    static constexpr std::uint64_t fullScreen = 1u << 14;
    static constexpr std::uint64_t fullSizeContentView = 1u << 15;

    constexpr WindowStyleMask() = default;
    constexpr WindowStyleMask(std::uint64_t raw) : rawValue(raw) {}  // NOLINT: masks are written as numbers

    constexpr bool contains(std::uint64_t bits) const { return (rawValue & bits) == bits && bits != 0; }
    constexpr bool isBorderless() const { return (rawValue & titled) == 0; }
    constexpr bool operator==(const WindowStyleMask&) const = default;
};

// Where a window goes across spaces and full-screen applications, by the
// platform's raw bits (273 = all spaces + stationary + full-screen auxiliary).
struct WindowCollectionBehavior {
    std::uint64_t rawValue = 0;

    static constexpr std::uint64_t canJoinAllSpaces = 1u << 0;
    static constexpr std::uint64_t moveToActiveSpace = 1u << 1;
    static constexpr std::uint64_t managed = 1u << 2;
    static constexpr std::uint64_t transient = 1u << 3;
    static constexpr std::uint64_t stationary = 1u << 4;
    static constexpr std::uint64_t participatesInCycle = 1u << 5;
    static constexpr std::uint64_t ignoresCycle = 1u << 6;
    static constexpr std::uint64_t fullScreenPrimary = 1u << 7;
    static constexpr std::uint64_t fullScreenAuxiliary = 1u << 8;
    static constexpr std::uint64_t fullScreenNone = 1u << 9;

    constexpr WindowCollectionBehavior() = default;
    constexpr WindowCollectionBehavior(std::uint64_t raw) : rawValue(raw) {}  // NOLINT: as above

    constexpr bool contains(std::uint64_t bits) const { return (rawValue & bits) == bits; }
    constexpr bool operator==(const WindowCollectionBehavior&) const = default;
};

enum class WindowTitleVisibility { visible, hidden };
enum class WindowAnimationBehavior { automatic, none, documentWindow, utilityWindow, alertPanel };
enum class WindowTabbingMode { automatic, preferred, disallowed };

}  // namespace tallowmere::platform
