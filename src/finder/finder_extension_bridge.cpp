#include "finder/finder_extension_bridge.h"

#include <algorithm>

#include "platform/base/url.h"
#include "platform/runtime/app_context.h"

namespace tallowmere {

FinderExtensionBridge& FinderExtensionBridge::shared() {
    return platform::AppContext::current().shared<FinderExtensionBridge>();
}

void FinderExtensionBridge::handle(const platform::Url& url) {
    if (url.scheme() != scheme) return;
    const auto action = url.host();
    if (!action || std::find(actions.begin(), actions.end(), *action) == actions.end()) return;
    hasHandledRequest_ = true;
}

}  // namespace tallowmere
