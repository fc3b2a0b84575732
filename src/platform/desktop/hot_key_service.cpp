#include "platform/desktop/hot_key_service.h"

#include <algorithm>

namespace tallowmere::platform {

std::uint32_t HotKeyService::modifiers(ModifierFlags flags) {
    std::uint32_t bits = 0;
    if (flags.contains(ModifierFlags::command)) bits |= cmdKey;
    if (flags.contains(ModifierFlags::shift)) bits |= shiftKey;
    if (flags.contains(ModifierFlags::option)) bits |= optionKey;
    if (flags.contains(ModifierFlags::control)) bits |= controlKey;
    return bits;
}

bool HotKeyService::isTaken(std::uint16_t keyCode, std::uint32_t modifiers) const {
    const auto key = std::pair{keyCode, modifiers};
    return std::find(reserved_.begin(), reserved_.end(), key) != reserved_.end() ||
           std::any_of(hotKeys_.begin(), hotKeys_.end(), [&](const Registered& hotKey) {
               return hotKey.keyCode == keyCode && hotKey.modifiers == modifiers;
           });
}

HotKeyService::Status HotKeyService::installHandler(Handler handler, HandlerRef& out) {
    if (!handler) return paramErr;
    out.id = nextId_++;
    handlers_.push_back({out.id, std::move(handler)});
    return noErr;
}

void HotKeyService::removeHandler(HandlerRef ref) {
    std::erase_if(handlers_, [&](const Installed& installed) { return installed.id == ref.id; });
}

HotKeyService::Status HotKeyService::registerHotKey(std::uint16_t keyCode, std::uint32_t modifiers,
                                                    HotKeyIdentifier identifier, HotKeyRef& out) {
    if (isTaken(keyCode, modifiers)) return hotKeyExistsErr;
    out.id = nextId_++;
    hotKeys_.push_back({out.id, keyCode, modifiers, identifier});
    return noErr;
}

void HotKeyService::unregisterHotKey(HotKeyRef ref) {
    std::erase_if(hotKeys_, [&](const Registered& hotKey) { return hotKey.id == ref.id; });
}

void HotKeyService::reserveForOtherApplication(std::uint16_t keyCode, std::uint32_t modifiers) {
    reserved_.emplace_back(keyCode, modifiers);
}

bool HotKeyService::deliver(const Event& event) {
    if (event.type != EventType::keyDown) return false;
    const auto bits = modifiers(event.modifierFlags);
    const auto hotKey = std::find_if(hotKeys_.begin(), hotKeys_.end(), [&](const Registered& registered) {
        return registered.keyCode == event.keyCode && registered.modifiers == bits;
    });
    if (hotKey == hotKeys_.end()) return false;
    const HotKeyEvent pressed{hotKey->identifier};
    // A handler may remove itself or others while it runs.
    const auto handlers = handlers_;
    for (auto it = handlers.rbegin(); it != handlers.rend(); ++it) {
        if (it->handler(&pressed) == noErr) break;
    }
    return true;
}

}  // namespace tallowmere::platform
