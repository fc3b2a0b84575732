#include "platform/desktop/screen_arrangement.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

namespace {
bool isUsableFrame(const ScreenRect& frame) {
    return std::isfinite(frame.origin.x) && std::isfinite(frame.origin.y) &&
           std::isfinite(frame.size.width) && std::isfinite(frame.size.height) && !frame.isEmpty();
}
}  // namespace

std::vector<std::shared_ptr<Screen>> ScreenArrangement::screens() const {
    std::vector<std::shared_ptr<Screen>> result;
    for (const auto& display : displays_) {
        if (!display->isMirrored()) result.push_back(display);
    }
    return result;
}

std::shared_ptr<Screen> ScreenArrangement::primaryScreen() const {
    for (const auto& display : displays_) {
        if (!display->isMirrored()) return display;
    }
    return nullptr;
}

std::shared_ptr<Screen> ScreenArrangement::mainScreen() const {
    auto all = screens();
    if (keyWindowFrame) {
        if (auto frame = keyWindowFrame()) {
            std::shared_ptr<Screen> best;
            double bestArea = 0;
            for (const auto& screen : all) {
                const ScreenRect overlap = screen->frame().intersection(*frame);
                const double area = overlap.width() * overlap.height();
                if (area > bestArea) {
                    best = screen;
                    bestArea = area;
                }
            }
            if (best) return best;
        }
    }
    return primaryScreen();
}

std::shared_ptr<Screen> ScreenArrangement::screen(DisplayID id) const {
    for (const auto& display : displays_) {
        if (display->displayID() == id) return display;
    }
    return nullptr;
}

std::shared_ptr<Screen> ScreenArrangement::screenContaining(ScreenPoint point) const {
    for (const auto& screen : screens()) {
        if (screen->frame().contains(point)) return screen;
    }
    return nullptr;
}

Result<std::shared_ptr<Screen>> ScreenArrangement::addScreen(ScreenSpec spec) {
    if (!isUsableFrame(spec.frame) || !std::isfinite(spec.backingScaleFactor) ||
        spec.backingScaleFactor <= 0) {
        return Error{ErrorCode::invalidArgument,
                     "A screen needs a non-empty frame and a positive scale"};
    }
    // Screen space is anchored at the primary screen's bottom-left corner.
    if (displays_.empty() && (spec.frame.origin.x != 0 || spec.frame.origin.y != 0)) {
        return Error{ErrorCode::invalidArgument, "The primary screen's origin is (0, 0)"};
    }
    if (spec.displayID != 0 && screen(spec.displayID)) {
        return Error{ErrorCode::alreadyExists,
                     "Display " + std::to_string(spec.displayID) + " is attached"};
    }
    if (spec.displayID == 0) {
        while (screen(nextDisplayID_)) ++nextDisplayID_;
        spec.displayID = nextDisplayID_++;
    }
    auto added = std::make_shared<Screen>(spec);
    displays_.push_back(added);
    publishDisplays();
    updateVisibleFrames();
    postChange();
    return added;
}

void ScreenArrangement::removeScreen(const std::shared_ptr<Screen>& screen) {
    // A copy: the caller may hand in the list's own element, which erasing frees.
    const std::shared_ptr<Screen> removed = screen;
    auto it = std::find(displays_.begin(), displays_.end(), removed);
    if (it == displays_.end()) return;
    const bool wasPrimary = removed == primaryScreen();
    displays_.erase(it);
    publishDisplays();
    for (const auto& display : displays_) {
        if (display->mirrorSource_ == removed->displayID()) display->mirrorSource_ = 0;
    }
    // The next screen becomes the primary, and the arrangement moves so that
    // its corner is the origin again.
    if (wasPrimary) {
        if (auto primary = primaryScreen()) {
            const double dx = primary->frame_.origin.x, dy = primary->frame_.origin.y;
            for (const auto& display : displays_)
                display->frame_ = display->frame_.offsetBy(-dx, -dy);
        }
    }
    updateVisibleFrames();
    postChange();
}

Result<void> ScreenArrangement::reconfigure(const std::shared_ptr<Screen>& target, ScreenRect frame,
                                            std::optional<double> backingScaleFactor) {
    if (std::find(displays_.begin(), displays_.end(), target) == displays_.end()) {
        return Error{ErrorCode::notFound, "The screen is not attached"};
    }
    if (!isUsableFrame(frame) ||
        (backingScaleFactor && (!std::isfinite(*backingScaleFactor) || *backingScaleFactor <= 0))) {
        return Error{ErrorCode::invalidArgument,
                     "A screen needs a non-empty frame and a positive scale"};
    }
    if (target == primaryScreen() && (frame.origin.x != 0 || frame.origin.y != 0)) {
        return Error{ErrorCode::invalidArgument, "The primary screen's origin is (0, 0)"};
    }
    target->frame_ = frame;
    target->fixedVisibleFrame_.reset();
    if (backingScaleFactor) target->backingScaleFactor_ = *backingScaleFactor;
    updateVisibleFrames();
    postChange();
    return {};
}

void ScreenArrangement::setDock(DockPlacement dock) {
    dock.size = std::isfinite(dock.size) ? std::max(0.0, dock.size) : 0.0;
    dock_ = dock;
    updateVisibleFrames();
    postChange();
}

double ScreenArrangement::primaryHeight() const {
    auto primary = primaryScreen();
    return primary ? primary->frame().maxY() : 0;
}

void ScreenArrangement::updateVisibleFrames() {
    auto primary = primaryScreen();
    for (const auto& display : displays_) {
        if (display->fixedVisibleFrame_) {
            display->visibleFrame_ = *display->fixedVisibleFrame_;
            continue;
        }
        ScreenRect visible = display->frame_;
        if (display == primary) {
            visible.size.height = std::max(0.0, visible.size.height - menuBarHeight);
            const double dock =
                std::min(dock_.size,
                         dock_.edge == DockEdge::bottom ? visible.size.height : visible.size.width);
            switch (dock_.edge) {
                case DockEdge::bottom:
                    visible.origin.y += dock;
                    visible.size.height -= dock;
                    break;
                case DockEdge::left:
                    visible.origin.x += dock;
                    visible.size.width -= dock;
                    break;
                case DockEdge::right:
                    visible.size.width -= dock;
                    break;
            }
        }
        display->visibleFrame_ = visible;
    }
}

std::vector<std::shared_ptr<Screen>> ScreenArrangement::onlineDisplaysFromAnyThread() const {
    std::lock_guard lock(publishedMutex_);
    return published_;
}

void ScreenArrangement::publishDisplays() {
    std::lock_guard lock(publishedMutex_);
    published_ = displays_;
}

void ScreenArrangement::postChange() {
    if (postsChanges_) notifications_.post(didChangeScreenParametersNotification, this);
}

Result<void> ScreenArrangement::Configuration::configureMirror(DisplayID display,
                                                               DisplayID source) {
    if (!owner_) return Error{ErrorCode::invalidArgument, "The configuration is not open"};
    auto target = owner_->screen(display);
    if (!target) return Error{ErrorCode::notFound, "No display " + std::to_string(display)};
    if (source != 0) {
        if (source == display || !owner_->screen(source)) {
            return Error{
                ErrorCode::invalidArgument,
                "Display " + std::to_string(display) + " cannot mirror " + std::to_string(source)};
        }
        if (!target->supportsMirroring()) {
            return Error{ErrorCode::unsupported,
                         "Display " + std::to_string(display) + " cannot mirror"};
        }
    }
    mirrors_.emplace_back(display, source);
    return {};
}

Result<ScreenArrangement::Configuration> ScreenArrangement::beginConfiguration() {
    if (failNextBegin_) {
        failNextBegin_ = false;
        return Error{ErrorCode::internal, "The display configuration could not begin"};
    }
    Configuration configuration;
    configuration.owner_ = this;
    return configuration;
}

Result<void> ScreenArrangement::completeConfiguration(Configuration configuration) {
    if (configuration.owner_ != this)
        return Error{ErrorCode::invalidArgument, "Not a configuration of these displays"};
    if (failNextComplete_) {
        failNextComplete_ = false;
        return Error{ErrorCode::internal, "The display configuration could not complete"};
    }
    // Displays may have gone since the steps were checked; then nothing changes.
    for (const auto& [display, source] : configuration.mirrors_) {
        if (!screen(display) || (source != 0 && !screen(source))) {
            return Error{ErrorCode::notFound, "A display of the configuration is gone"};
        }
    }
    for (const auto& [display, source] : configuration.mirrors_)
        screen(display)->mirrorSource_ = source;
    ++completedConfigurations_;
    updateVisibleFrames();
    postChange();
    return {};
}

}  // namespace tallowmere::platform
