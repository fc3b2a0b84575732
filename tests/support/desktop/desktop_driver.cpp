#include "support/desktop/desktop_driver.h"

#include <gtest/gtest.h>

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

void PrintTo(AXError error, std::ostream* out) {
    *out << name(error);
}

void PrintTo(const AXElement& element, std::ostream* out) {
    auto model = element.model();
    if (!model) {
        *out << "AXElement(none)";
        return;
    }
    *out << "AXElement(" << model->role();
    if (!model->title().empty()) *out << " \"" << model->title() << "\"";
    *out << ", pid " << model->processIdentifier() << ")";
}

void PrintTo(const SimulatedWindow& window, std::ostream* out) {
    *out << "window " << window.windowNumber() << " \"" << window.title() << "\"";
}

}  // namespace tallowmere::platform

namespace tallowmere::testing {

void letTimePass(double seconds) {
    if (seconds <= 0) return;
    if (auto* clock = platform::AppContext::current().virtualClock()) clock->advance(seconds);
}

std::shared_ptr<platform::Screen> DesktopDriver::addScreen(platform::ScreenSpec spec) {
    auto added = desktop_.screens().addScreen(std::move(spec));
    if (!added) {
        ADD_FAILURE() << "The screen could not be attached: " << added.error().message;
        return nullptr;
    }
    return *added;
}

std::shared_ptr<platform::SimulatedApplication> DesktopDriver::addApplication(
    platform::ApplicationSpec spec) {
    auto added = desktop_.addApplication(std::move(spec));
    if (!added) {
        ADD_FAILURE() << "The application could not be installed: " << added.error().message;
        return nullptr;
    }
    return *added;
}

std::shared_ptr<platform::SimulatedWindow> DesktopDriver::addFrontWindow(
    platform::ApplicationSpec app, platform::WindowSpec window) {
    app.running = true;
    auto added = addApplication(std::move(app));
    if (!added) return nullptr;
    auto made = added->addWindow(std::move(window));
    desktop_.activate(*added);
    return made;
}

}  // namespace tallowmere::testing
