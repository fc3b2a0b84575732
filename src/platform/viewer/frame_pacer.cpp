#include "platform/viewer/frame_pacer.h"

#include <algorithm>

#include "platform/runtime/clock.h"
#include "platform/runtime/main_queue.h"

namespace tallowmere::platform {

FramePacer::FramePacer(MainQueue& queue, const Clock& clock, std::function<void()> drawFrame)
    : queue_(queue), clock_(clock), draw_(std::move(drawFrame)) {}

FramePacer::~FramePacer() {
    if (pending_) pending_->cancel();
}

void FramePacer::setNeedsFrame() {
    if (pending_) return;
    const double wait = std::max(0.0, lastFrameUptime_ + frameInterval - clock_.uptime());
    pending_ = queue_.asyncAfter(wait, [this] { drawFrame(); });
}

void FramePacer::itemPerformed() {
    if (ownFrameJustRan_) {
        ownFrameJustRan_ = false;
        return;
    }
    setNeedsFrame();
}

void FramePacer::drawFrame() {
    pending_.reset();
    lastFrameUptime_ = clock_.uptime();
    if (draw_) draw_();
    ownFrameJustRan_ = true;
}

}  // namespace tallowmere::platform
