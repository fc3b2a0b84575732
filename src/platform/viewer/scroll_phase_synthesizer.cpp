#include "platform/viewer/scroll_phase_synthesizer.h"

#include "platform/runtime/main_queue.h"

namespace tallowmere::platform {

ScrollPhaseSynthesizer::ScrollPhaseSynthesizer(MainQueue& queue, Post post)
    : queue_(queue), post_(std::move(post)) {}

ScrollPhaseSynthesizer::~ScrollPhaseSynthesizer() {
    if (pendingEnd_) pendingEnd_->cancel();
}

void ScrollPhaseSynthesizer::scroll(ScreenPoint location, double pointsX, double pointsY, bool inverted,
                                    ModifierFlags modifiers, double timestamp) {
    location_ = location;
    modifiers_ = modifiers;
    inverted_ = inverted;
    if (state_ == State::idle) {
        state_ = State::scrolling;
        post(EventPhase::began, 0, 0, timestamp);
    }
    post(EventPhase::changed, pointsX, pointsY, timestamp);
    if (pendingEnd_) pendingEnd_->cancel();
    pendingEnd_ = queue_.asyncAfter(burstEndDelay, [this] { end(); });
}

void ScrollPhaseSynthesizer::end() {
    if (pendingEnd_) pendingEnd_->cancel();
    pendingEnd_.reset();
    if (state_ != State::scrolling) return;
    state_ = State::idle;
    // Stamped when posted: the end happens now, not at the last amount.
    post(EventPhase::ended, 0, 0, 0);
}

void ScrollPhaseSynthesizer::post(EventPhase phase, double pointsX, double pointsY, double timestamp) {
    Event event = Event::scroll(location_, pointsX, pointsY, phase, EventPhase::none, /*precise=*/true, inverted_);
    event.modifierFlags = modifiers_;
    event.timestamp = timestamp;
    post_(std::move(event));
}

}  // namespace tallowmere::platform
