#include "mainwindow/quick_launch_application_offer.h"

#include <algorithm>
#include <set>
#include <string>

#include "localization/product_identity.h"
#include "platform/base/text.h"

namespace tallowmere {

using namespace platform;

std::vector<std::shared_ptr<RunningApplication>> applicationsToOffer(
    const std::vector<std::shared_ptr<RunningApplication>>& running) {
    std::vector<std::shared_ptr<RunningApplication>> offered;
    std::set<std::string> keys;
    for (const auto& application : running) {
        if (application->activationPolicy() != ActivationPolicy::regular || application->isTerminated()) continue;
        const auto identifier = application->bundleIdentifier();
        if (identifier && *identifier == ProductIdentity::bundleIdentifier) continue;
        const auto path = application->bundlePath();
        if (!path) continue;
        const std::string key = identifier ? *identifier : *path;
        if (key.empty() || !keys.insert(key).second) continue;
        offered.push_back(application);
    }
    std::stable_sort(offered.begin(), offered.end(), [](const auto& left, const auto& right) {
        return Text::compareNumeric(left->localizedName().value_or(""), right->localizedName().value_or("")) < 0;
    });
    return offered;
}

}  // namespace tallowmere
