#include "platform/viewer/scroll_phase_synthesizer.h"

#include "platform/runtime/main_queue.h"

namespace tallowmere::platform {

ScrollPhaseSynthesizer::ScrollPhaseSynthesizer(MainQueue& queue, Post post)
    : queue_(queue), post_(std::move(post)) {}

ScrollPhaseSynthesizer::~ScrollPhaseSynthesizer() {
    if (pendingEnd_) pendingEnd_->cancel();
}

void ScrollPhaseSynthesizer::notch(ScreenPoint location, double linesX, double linesY,
                                   ModifierFlags modifiers, double timestamp) {
    location_ = location;
    modifiers_ = modifiers;
    if (state_ == State::idle) {
        state_ = State::scrolling;
        post(EventPhase::began, 0, 0, modifiers, timestamp);
    }
    post(EventPhase::changed, linesX, linesY, modifiers, timestamp);
    if (pendingEnd_) pendingEnd_->cancel();
    pendingEnd_ = queue_.asyncAfter(burstEndDelay, [this] { end(); });
}

void ScrollPhaseSynthesizer::end() {
    if (pendingEnd_) pendingEnd_->cancel();
    pendingEnd_.reset();
    if (state_ != State::scrolling) return;
    state_ = State::idle;
    // Stamped when posted: the end happens now, not at the last notch.
    post(EventPhase::ended, 0, 0, modifiers_, 0);
}

void ScrollPhaseSynthesizer::post(EventPhase phase, double linesX, double linesY,
                                  ModifierFlags modifiers, double timestamp) {
    Event event =
        Event::scroll(location_, linesX, linesY, phase, EventPhase::none, /*precise=*/false);
    event.modifierFlags = modifiers;
    event.timestamp = timestamp;
    post_(std::move(event));
}

}  // namespace tallowmere::platform
