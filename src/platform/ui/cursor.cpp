#include "platform/ui/cursor.h"

#include "platform/runtime/app_context.h"
#include "platform/runtime/notification_center.h"

namespace tallowmere::platform {

Cursor& Cursor::shared() { return AppContext::current().shared<Cursor>(); }

void Cursor::set(Shape shape) {
    if (shape == current_) return;
    current_ = shape;
    AppContext::current().notificationCenter().post(didChangeNotification, this);
}

}  // namespace tallowmere::platform
