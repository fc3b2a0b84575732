#include "platform/system/administrator_prompt.h"

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

AdministratorPrompt& AdministratorPrompt::shared() {
    return AppContext::current().shared<AdministratorPrompt>();
}

void AdministratorPrompt::setAsk(Ask ask) {
    std::lock_guard lock(mutex_);
    ask_ = std::move(ask);
}

bool AdministratorPrompt::requestAuthorization(const std::string& requester) const {
    Ask ask;
    {
        std::lock_guard lock(mutex_);
        ask = ask_;
    }
    return ask && ask(requester);
}

}  // namespace tallowmere::platform
