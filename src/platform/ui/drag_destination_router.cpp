#include "platform/ui/drag_destination_router.h"

#include <algorithm>

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/dragging_info.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

bool takesAnyOf(const View& view, const std::vector<std::string>& types) {
    const auto& wanted = view.registeredDraggedTypes();
    return std::any_of(wanted.begin(), wanted.end(), [&](const std::string& type) {
        return std::find(types.begin(), types.end(), type) != types.end();
    });
}

// `location` in the coordinates of `view`'s window.
Point windowPoint(const View& view, ScreenPoint location) {
    return view.convertToWindow(view.convertFromScreen(location));
}

}  // namespace

DragDestinationRouter& DragDestinationRouter::shared() {
    return AppContext::current().shared<DragDestinationRouter>();
}

std::shared_ptr<View> DragDestinationRouter::destinationAt(ScreenPoint location, const Pasteboard& dragged) const {
    auto hit = Desktop::shared().windowServer().windowAt(location);
    if (!hit || !hit->isOwnWindow()) return nullptr;
    auto window = Application::shared().windowWithNumber(hit->windowNumber());
    auto content = window ? window->contentView() : nullptr;
    if (!content || !window->isVisible()) return nullptr;
    auto view = content->hitTest(windowPoint(*content, location));
    const auto types = dragged.types();
    for (; view; view = view->superview()) {
        if (!view->isHidden() && takesAnyOf(*view, types)) return view;
    }
    return nullptr;
}

void DragDestinationRouter::leave() {
    if (auto previous = destination_.lock()) previous->draggingExited();
    destination_.reset();
    operation_ = DragOperation::none;
}

DragOperation DragDestinationRouter::handle(DragStep step, ScreenPoint location, const Pasteboard& dragged) {
    if (step == DragStep::cancelled) {
        leave();
        return DragOperation::none;
    }
    auto view = destinationAt(location, dragged);
    if (view != destination_.lock()) {
        leave();
        if (view) {
            destination_ = view;
            operation_ = view->draggingEntered(DraggingInfo{dragged, windowPoint(*view, location)});
        }
    }
    if (step == DragStep::moved) return operation_;
    // The drop: only a destination that accepted the drag performs it.
    const DragOperation accepted = operation_;
    destination_.reset();
    operation_ = DragOperation::none;
    if (!view) return DragOperation::none;
    if (accepted == DragOperation::none) {
        view->draggingExited();
        return DragOperation::none;
    }
    const bool done = view->performDragOperation(DraggingInfo{dragged, windowPoint(*view, location)});
    return done ? accepted : DragOperation::none;
}

}  // namespace tallowmere::platform
