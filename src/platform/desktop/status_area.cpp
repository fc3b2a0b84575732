#include "platform/desktop/status_area.h"

#include <algorithm>

#include "platform/desktop/screen.h"
#include "platform/desktop/screen_arrangement.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

int StatusArea::addOtherItem(OtherStatusItemSpec spec) {
    const double width = std::max(0.0, spec.width);
    items_.push_back({nextIdentifier_, false, std::move(spec), width});
    changed();
    return nextIdentifier_++;
}

void StatusArea::removeItems(const std::string& bundleIdentifier) {
    const auto removed = std::erase_if(
        items_, [&](const Item& item) { return !item.isOwn && item.spec.bundleIdentifier == bundleIdentifier; });
    if (removed > 0) changed();
}

int StatusArea::addOwnItem(double width) {
    items_.push_back({nextIdentifier_, true, {}, std::max(0.0, width)});
    return nextIdentifier_++;
}

void StatusArea::setWidth(int identifier, double width) {
    if (const std::size_t index = indexOf(identifier); index < items_.size()) items_[index].width = std::max(0.0, width);
}

void StatusArea::removeItem(int identifier) {
    if (const std::size_t index = indexOf(identifier); index < items_.size()) {
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    if (dragged_ == identifier) dragged_.reset();
}

const StatusArea::Item* StatusArea::item(int identifier) const {
    const std::size_t index = indexOf(identifier);
    return index < items_.size() ? &items_[index] : nullptr;
}

ScreenRect StatusArea::menuBarFrame() const {
    const auto primary = screens_.primaryScreen();
    if (!primary) return {};
    const auto screen = primary->frame();
    return {screen.minX(), screen.maxY() - ScreenArrangement::menuBarHeight, screen.width(),
            ScreenArrangement::menuBarHeight};
}

std::vector<ScreenRect> StatusArea::frames() const {
    std::vector<ScreenRect> result(items_.size());
    const auto bar = menuBarFrame();
    if (bar.isEmpty()) return result;
    double right = bar.maxX() - systemItemsWidth;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const double width = items_[i].width;
        if (width <= 0) continue;
        const ScreenRect frame{right - width, bar.minY(), width, bar.height()};
        right -= width;
        // Wholly past the left end: the menu bar has no room left for it.
        if (frame.maxX() > bar.minX()) result[i] = frame;
    }
    return result;
}

ScreenRect StatusArea::frameOf(int identifier) const {
    const std::size_t index = indexOf(identifier);
    return index < items_.size() ? frames()[index] : ScreenRect{};
}

std::optional<int> StatusArea::itemAt(ScreenPoint point) const {
    const auto all = frames();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (!all[i].isEmpty() && all[i].contains(point)) return items_[i].identifier;
    }
    return std::nullopt;
}

void StatusArea::move(int identifier, std::size_t index) {
    const std::size_t from = indexOf(identifier);
    if (from >= items_.size()) return;
    Item moving = std::move(items_[from]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(from));
    index = std::min(index, items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(moving));
    if (index != from) changed();
}

bool StatusArea::handle(const Event& event) {
    if (dragged_) {
        if (event.type == EventType::leftMouseUp) {
            const int identifier = *dragged_;
            dragged_.reset();
            // The item goes right of the first shown item whose middle lies
            // left of where it was let go.
            const auto all = frames();
            std::size_t index = 0, position = 0;
            for (std::size_t i = 0; i < items_.size(); ++i) {
                if (items_[i].identifier == identifier) continue;
                ++position;
                if (!all[i].isEmpty() && all[i].midX() > event.location.x) index = position;
            }
            move(identifier, index);
        }
        return isMouseEvent(event.type);
    }
    if (pressTaken_ && isMouseUp(event.type)) {
        pressTaken_ = false;
        return true;
    }
    if (!isMouseDown(event.type)) return false;
    const auto hit = itemAt(event.location);
    if (!hit) return false;
    if (event.type == EventType::leftMouseDown && event.modifierFlags.contains(ModifierFlags::command)) {
        dragged_ = hit;
        return true;
    }
    const Item* pressed = item(*hit);
    if (pressed->isOwn) return false;  // the program's window takes it
    ++clicks_[*hit];
    pressTaken_ = true;
    return true;
}

int StatusArea::clickCount(int identifier) const {
    const auto found = clicks_.find(identifier);
    return found == clicks_.end() ? 0 : found->second;
}

std::size_t StatusArea::indexOf(int identifier) const {
    const auto found =
        std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.identifier == identifier; });
    return static_cast<std::size_t>(found - items_.begin());
}

void StatusArea::changed() { notifications_.post(didChangeNotification, this); }

}  // namespace tallowmere::platform
