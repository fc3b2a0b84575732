#include "finder/finder_alerts.h"

#include "platform/ui/alert.h"
#include "platform/ui/application.h"

namespace tallowmere::FinderAlerts {

using namespace platform;

void showError(std::string_view title, const std::string& message) {
    auto alert = Alert::make();
    alert->alertStyle = AlertStyle::warning;
    alert->messageText = std::string(title);
    alert->informativeText = message;
    alert->addButton("好");
    Application::shared().activate(true);
    alert->runModal();
}

std::string targetList(const std::vector<std::string>& targets) {
    std::string text;
    for (std::size_t i = 0; i < targets.size() && i < listedTargetLimit; ++i) {
        if (i > 0) text += "\n";
        text += targets[i];
    }
    if (targets.size() > listedTargetLimit) {
        text += "\n另有 " + std::to_string(targets.size() - listedTargetLimit) + " 个项目。";
    }
    return text;
}

}  // namespace tallowmere::FinderAlerts
