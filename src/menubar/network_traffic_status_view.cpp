#include "menubar/network_traffic_status_view.h"

namespace tallowmere {

std::shared_ptr<NetworkTrafficStatusView> NetworkTrafficStatusView::make() {
    return std::shared_ptr<NetworkTrafficStatusView>(new NetworkTrafficStatusView());
}

NetworkTrafficStatusView::NetworkTrafficStatusView() : View(platform::Rect{}) {}

}  // namespace tallowmere
