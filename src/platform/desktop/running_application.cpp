#include "platform/desktop/running_application.h"

#include "platform/desktop/desktop.h"
#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

RunningApplication::RunningApplication(pid_t pid, std::weak_ptr<SimulatedApplication> model)
    : pid_(pid), model_(std::move(model)) {}

namespace {
// The model, while this very process of it runs.
std::shared_ptr<SimulatedApplication> liveModel(const RunningApplication& app) {
    auto model = app.model();
    if (!model || app.isTerminated() || model->runningApplication().get() != &app) return nullptr;
    return model;
}
}  // namespace

std::optional<std::string> RunningApplication::bundleIdentifier() const {
    auto model = this->model();
    if (!model || model->bundleIdentifier().empty()) return std::nullopt;
    return model->bundleIdentifier();
}

std::optional<std::string> RunningApplication::localizedName() const {
    auto model = this->model();
    if (!model || model->name().empty()) return std::nullopt;
    return model->name();
}

std::optional<std::string> RunningApplication::bundlePath() const {
    auto model = this->model();
    if (!model) return std::nullopt;
    return model->bundlePath();
}

ActivationPolicy RunningApplication::activationPolicy() const {
    auto model = this->model();
    return model ? model->activationPolicy() : ActivationPolicy::prohibited;
}

std::optional<Image> RunningApplication::icon() const {
    auto model = this->model();
    if (!model) return std::nullopt;
    if (model->applicationSpec().icon) return model->applicationSpec().icon;
    auto desktop = model->owningDesktop();
    if (!desktop) return std::nullopt;
    return desktop->workspace().iconForFile(model->bundlePath());
}

bool RunningApplication::isFinishedLaunching() const {
    return liveModel(*this) != nullptr;
}

bool RunningApplication::isHidden() const {
    auto model = liveModel(*this);
    return model && model->isHidden();
}

bool RunningApplication::isActive() const {
    auto model = liveModel(*this);
    auto desktop = model ? model->owningDesktop() : nullptr;
    return desktop && desktop->frontmostApplication() == model;
}

bool RunningApplication::activate(ActivationOptions options) {
    auto model = liveModel(*this);
    auto desktop = model ? model->owningDesktop() : nullptr;
    return desktop && desktop->activate(*model, options);
}

bool RunningApplication::hide() {
    auto model = liveModel(*this);
    if (!model) return false;
    model->setHidden(true);
    return true;
}

bool RunningApplication::unhide() {
    auto model = liveModel(*this);
    if (!model) return false;
    model->setHidden(false);
    return true;
}

bool RunningApplication::terminate() {
    auto model = liveModel(*this);
    // The program quits through its own application object, not this way.
    if (!model || model->isCurrentProcess()) return false;
    auto desktop = model->owningDesktop();
    if (!desktop) return false;
    std::weak_ptr<SimulatedApplication> weak = model;
    const pid_t pid = pid_;
    desktop->context().mainQueue().async([weak, pid] {
        if (auto app = weak.lock(); app && app->processIdentifier() == pid) app->terminate();
    });
    return true;
}

bool RunningApplication::setActivationPolicy(ActivationPolicy policy) {
    auto model = liveModel(*this);
    if (!model || !model->isCurrentProcess()) return false;
    model->setActivationPolicy(policy);
    return true;
}

}  // namespace tallowmere::platform
