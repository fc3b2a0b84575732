#include "finder/finder_destination_resolver.h"

#include <string>

#include "finder/finder_scripts.h"
#include "platform/runtime/app_context.h"
#include "platform/system/apple_script.h"
#include "platform/system/files.h"
#include "platform/ui/application.h"
#include "platform/ui/file_panel.h"

namespace tallowmere {

using namespace platform;

FinderDestinationResolver& FinderDestinationResolver::shared() {
    return AppContext::current().shared<FinderDestinationResolver>();
}

FinderDestinationResolver::FinderDestinationResolver() {
    FinderScripts::teachFinder();
}

void FinderDestinationResolver::resolve(Completion completion) {
    if (isResolving_) return;
    isResolving_ = true;
    auto& mainQueue = AppContext::current().mainQueue();
    queue_.async([this, &mainQueue, completion = std::move(completion)]() mutable {
        std::optional<std::string> answer;
        if (auto script = AppleScript::make(std::string(FinderScripts::frontFolder))) {
            const auto outcome = script->execute();
            if (!outcome.error && outcome.result) answer = outcome.result->stringValue();
        }
        mainQueue.async([this, answer = std::move(answer), completion = std::move(completion)]() mutable {
            bool isDirectory = false;
            if (answer && answer->starts_with('/') && Files::fileExists(*answer, &isDirectory) && isDirectory) {
                isResolving_ = false;
                std::filesystem::path folder(*answer);
                if (!folder.has_filename() && folder != folder.root_path()) folder = folder.parent_path();
                if (completion) completion(folder);
                return;
            }
            chooseInPanel(std::move(completion));
        });
    });
}

void FinderDestinationResolver::chooseInPanel(Completion completion) {
    auto panel = OpenPanel::make();
    panel->title = "选择新建文件的位置";
    panel->message = "未能读取 Finder 当前文件夹，请选择目标位置。若要自动识别，可在系统设置的自动化权限中允许塔洛梅控制 Finder。";
    panel->prompt = "在此新建";
    panel->canChooseDirectories = true;
    panel->canChooseFiles = false;
    panel->allowsMultipleSelection = false;
    Application::shared().activate(true);
    panel->begin([this, panel, completion = std::move(completion)](ModalResponse response) {
        isResolving_ = false;
        const auto url = panel->url();
        if (!completion) return;
        completion(response == ModalResponses::ok && url ? url : std::nullopt);
    });
}

}  // namespace tallowmere
