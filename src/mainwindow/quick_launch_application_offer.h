#pragma once

#include <memory>
#include <vector>

#include "platform/desktop/running_application.h"

namespace tallowmere {

// The running applications a person may add to quick launch, in the order
// the menu lists them: those with a Dock icon and a bundle, other than this
// program, one per bundle (its identifier, else its path; a copy running
// twice is offered once), sorted by name as file lists sort ("App 2"
// before "App 10").
std::vector<std::shared_ptr<platform::RunningApplication>> applicationsToOffer(
    const std::vector<std::shared_ptr<platform::RunningApplication>>& running);

}  // namespace tallowmere
