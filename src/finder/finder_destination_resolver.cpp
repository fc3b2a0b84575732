#include "finder/finder_destination_resolver.h"

#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/file_panel.h"

namespace tallowmere {

using namespace platform;

FinderDestinationResolver& FinderDestinationResolver::shared() {
    return AppContext::current().shared<FinderDestinationResolver>();
}

void FinderDestinationResolver::resolve(Completion completion) {
    if (isResolving_) return;
    isResolving_ = true;
    Application::shared().activate(true);
    auto panel = OpenPanel::make();
    panel->canChooseFiles = false;
    panel->canChooseDirectories = true;
    panel->allowsMultipleSelection = false;
    panel->title = "选择新建文件的位置";
    const bool chosen = panel->runModal() == ModalResponses::ok;
    isResolving_ = false;
    if (completion) completion(chosen ? panel->url() : std::nullopt);
}

}  // namespace tallowmere
