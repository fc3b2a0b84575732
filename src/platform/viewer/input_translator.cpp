#include "platform/viewer/input_translator.h"

#include "platform/desktop/desktop.h"
#include "platform/viewer/key_code_map.h"

namespace tallowmere::platform {

namespace {

// The modifier keys a person holds; the platform's device-dependent bits
// and the per-key flags (Function, NumericPad) are not held.
constexpr std::uint64_t heldModifiers = ModifierFlags::capsLock | ModifierFlags::shift |
                                        ModifierFlags::control | ModifierFlags::option |
                                        ModifierFlags::command;

EventType buttonEvent(int button, bool pressed) {
    switch (button) {
        case 0:
            return pressed ? EventType::leftMouseDown : EventType::leftMouseUp;
        case 1:
            return pressed ? EventType::rightMouseDown : EventType::rightMouseUp;
        default:
            return pressed ? EventType::otherMouseDown : EventType::otherMouseUp;
    }
}

}  // namespace

InputTranslator::InputTranslator(Desktop& desktop, MainQueue& queue, ViewerGeometry geometry)
    : desktop_(desktop),
      geometry_(geometry),
      scroll_(queue, [this](Event event) { post(std::move(event)); }) {}

void InputTranslator::handle(const ViewerInput& input) {
    switch (input.kind) {
        case ViewerInput::Kind::pointerMoved:
            pointerMoved(input);
            break;
        case ViewerInput::Kind::buttonPressed:
            button(input, true);
            break;
        case ViewerInput::Kind::buttonReleased:
            button(input, false);
            break;
        case ViewerInput::Kind::wheel:
            wheel(input);
            break;
        case ViewerInput::Kind::smoothScroll:
            if (input.scrollX == 0 && input.scrollY == 0) return;
            scroll_.scroll(geometry_.screenPoint(input.pixel), input.scrollX, input.scrollY, input.isDirectionInverted,
                           input.modifiers, input.timestamp);
            break;
        case ViewerInput::Kind::keyPressed:
            key(input, true);
            break;
        case ViewerInput::Kind::keyReleased:
            key(input, false);
            break;
        case ViewerInput::Kind::focusLost:
            // The keys are let go where the desktop cannot see; Caps Lock stays
            // as it was.
            scroll_.end();
            modifiersChanged({announced_.rawValue & ModifierFlags::capsLock},
                             KeyCodeMap::unknownKeyCode, input.timestamp);
            break;
    }
}

void InputTranslator::pointerMoved(const ViewerInput& input) {
    // A drag belongs to the lowest button held, as the platform reports it.
    EventType type = EventType::mouseMoved;
    int buttonNumber = 0;
    if (heldButtons_ & 1u) {
        type = EventType::leftMouseDragged;
    } else if (heldButtons_ & 2u) {
        type = EventType::rightMouseDragged;
        buttonNumber = 1;
    } else if (heldButtons_) {
        type = EventType::otherMouseDragged;
        for (buttonNumber = 2; !(heldButtons_ & (1u << buttonNumber)); ++buttonNumber) {
        }
    }
    Event event = Event::mouse(type, geometry_.screenPoint(input.pixel), 1, input.modifiers);
    event.buttonNumber = buttonNumber;
    event.timestamp = input.timestamp;
    post(std::move(event));
}

void InputTranslator::wheel(const ViewerInput& input) {
    if (input.wheelX == 0 && input.wheelY == 0) return;
    // A notch of a mouse wheel is one coarse step, in lines, without phases,
    // as the platform reports a wheel; it ends a touchpad gesture first.
    scroll_.end();
    Event event = Event::scroll(geometry_.screenPoint(input.pixel), input.wheelX, input.wheelY, EventPhase::none,
                                EventPhase::none, /*precise=*/false);
    event.modifierFlags = input.modifiers;
    event.timestamp = input.timestamp;
    post(std::move(event));
}

void InputTranslator::button(const ViewerInput& input, bool pressed) {
    if (input.button < 0 || input.button >= 32) return;
    const unsigned bit = 1u << input.button;
    // A release without its press (the press went to another window) or a
    // second press without a release has no meaning for the desktop.
    if (pressed == ((heldButtons_ & bit) != 0)) return;
    if (pressed) {
        scroll_.end();
        heldButtons_ |= bit;
    } else {
        heldButtons_ &= ~bit;
    }
    // Click count 0: the desktop counts the clicks.
    Event event = Event::mouse(buttonEvent(input.button, pressed),
                               geometry_.screenPoint(input.pixel), 0, input.modifiers);
    event.buttonNumber = input.button;
    event.timestamp = input.timestamp;
    post(std::move(event));
}

void InputTranslator::key(const ViewerInput& input, bool pressed) {
    const auto mapping = KeyCodeMap::forKeysym(input.keysym);
    if (mapping && mapping->modifier) {
        ModifierFlags flags = input.modifiers;
        if (mapping->modifier == ModifierFlags::capsLock) {
            // Caps Lock changes on its press; its release changes nothing.
            if (!pressed) return;
            flags.rawValue ^= ModifierFlags::capsLock;
        } else if (pressed) {
            flags.rawValue |= mapping->modifier;
        } else {
            flags.rawValue &= ~mapping->modifier;
        }
        modifiersChanged(flags, mapping->keyCode, input.timestamp);
        return;
    }
    // A key the platform has no code for and that types nothing (a media
    // key) means nothing to the program.
    if (!mapping && input.text.empty()) return;
    const bool ownCharacters = mapping && !mapping->characters.empty();
    const std::string text = ownCharacters ? std::string(mapping->characters) : input.text;
    const std::string ignoring =
        ownCharacters ? std::string(mapping->characters) : input.textIgnoringModifiers;
    Event event =
        Event::key(pressed ? EventType::keyDown : EventType::keyUp,
                   mapping ? mapping->keyCode : KeyCodeMap::unknownKeyCode, text,
                   {(input.modifiers.rawValue & heldModifiers) | (mapping ? mapping->flags : 0)});
    event.charactersIgnoringModifiers = ignoring;
    event.isARepeat = pressed && input.isRepeat;
    event.timestamp = input.timestamp;
    post(std::move(event));
}

void InputTranslator::modifiersChanged(ModifierFlags flags, std::uint16_t keyCode,
                                       double timestamp) {
    flags.rawValue &= heldModifiers;
    if (flags == announced_) return;
    Event event = Event::key(EventType::flagsChanged, keyCode, {}, flags);
    event.timestamp = timestamp;
    post(std::move(event));
}

void InputTranslator::post(Event event) {
    // Every event tells the desktop which modifiers are down.
    announced_ = {event.modifierFlags.rawValue & heldModifiers};
    desktop_.post(std::move(event));
}

}  // namespace tallowmere::platform
