#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/desktop/event.h"

namespace tallowmere::platform {

// A hot key's identity: a four-character signature and a number.
struct HotKeyIdentifier {
    std::uint32_t signature = 0;
    std::uint32_t id = 0;
    bool operator==(const HotKeyIdentifier&) const = default;
};

constexpr std::uint32_t fourCharCode(const char (&code)[5]) {
    return (std::uint32_t(std::uint8_t(code[0])) << 24) | (std::uint32_t(std::uint8_t(code[1])) << 16) |
           (std::uint32_t(std::uint8_t(code[2])) << 8) | std::uint32_t(std::uint8_t(code[3]));
}

// What a hot-key handler receives: the pressed key's identifier as the
// event's direct object, which may be missing from a malformed event.
struct HotKeyEvent {
    std::optional<HotKeyIdentifier> directObject;
};

// System-wide hot keys, as the Mac's event manager keeps them: a program
// installs handlers for "hot key pressed" and registers key combinations;
// a registered combination pressed anywhere goes to the program's handlers
// (most recent first, until one handles it) and never to the frontmost
// application. A combination another application already holds is refused.
// Modifiers are the event manager's bits (Command 256, Shift 512, Option
// 2048, Control 4096), not an event's modifier flags.
class HotKeyService {
public:
    using Status = int;
    static constexpr Status noErr = 0;
    static constexpr Status eventNotHandledErr = -9874;
    static constexpr Status hotKeyExistsErr = -9878;
    static constexpr Status paramErr = -50;

    static constexpr std::uint32_t cmdKey = 256;
    static constexpr std::uint32_t shiftKey = 512;
    static constexpr std::uint32_t optionKey = 2048;
    static constexpr std::uint32_t controlKey = 4096;

    // A null event is allowed: the handler must then answer not handled.
    using Handler = std::function<Status(const HotKeyEvent* event)>;

    // Tokens: dropping one does not remove anything, as on the Mac; call
    // the matching remove.
    struct HandlerRef { int id = 0; };
    struct HotKeyRef { int id = 0; };

    HotKeyService() = default;
    HotKeyService(const HotKeyService&) = delete;
    HotKeyService& operator=(const HotKeyService&) = delete;

    Status installHandler(Handler handler, HandlerRef& out);
    void removeHandler(HandlerRef ref);
    Status registerHotKey(std::uint16_t keyCode, std::uint32_t modifiers, HotKeyIdentifier identifier, HotKeyRef& out);
    void unregisterHotKey(HotKeyRef ref);

    // Another application holds this combination (a scene, or a test).
    void reserveForOtherApplication(std::uint16_t keyCode, std::uint32_t modifiers);

    // A key press on the desktop: true when it was a registered hot key,
    // which the desktop then delivers nowhere else.
    bool deliver(const Event& event);

    std::size_t registeredCount() const { return hotKeys_.size(); }
    std::size_t handlerCount() const { return handlers_.size(); }

    // The event manager's modifier bits of an event's flags.
    static std::uint32_t modifiers(ModifierFlags flags);

private:
    struct Registered {
        int id;
        std::uint16_t keyCode;
        std::uint32_t modifiers;
        HotKeyIdentifier identifier;
    };
    struct Installed {
        int id;
        Handler handler;
    };
    bool isTaken(std::uint16_t keyCode, std::uint32_t modifiers) const;

    std::vector<Registered> hotKeys_;
    std::vector<Installed> handlers_;
    std::vector<std::pair<std::uint16_t, std::uint32_t>> reserved_;
    int nextId_ = 1;
};

}  // namespace tallowmere::platform
