#include "finder/finder_selection_reader.h"

#include <string>

#include "finder/finder_alerts.h"
#include "finder/finder_scripts.h"
#include "platform/base/url.h"
#include "platform/runtime/app_context.h"
#include "platform/system/apple_script.h"

namespace tallowmere {

using namespace platform;

FinderSelectionReader& FinderSelectionReader::shared() {
    return AppContext::current().shared<FinderSelectionReader>();
}

FinderSelectionReader::FinderSelectionReader() {
    FinderScripts::teachFinder();
}

void FinderSelectionReader::read(Completion completion) {
    auto& mainQueue = AppContext::current().mainQueue();
    queue_.async([&mainQueue, completion = std::move(completion)]() mutable {
        std::vector<std::filesystem::path> selection;
        bool failed = false;
        if (auto script = AppleScript::make(std::string(FinderScripts::selection))) {
            const auto outcome = script->execute();
            failed = outcome.error.has_value();
            if (outcome.result) {
                for (long i = 1; i <= outcome.result->numberOfItems(); ++i) {
                    const auto value = outcome.result->descriptorAtIndex(i)->stringValue();
                    if (!value || !value->starts_with('/')) continue;
                    selection.emplace_back(Url::fileUrl(*value).fileSystemPath().value_or(*value));
                }
            }
        }
        mainQueue.async([completion = std::move(completion), selection = std::move(selection), failed] {
            if (failed) {
                FinderAlerts::showError(FinderAlerts::bridgeTitle,
                                        "无法读取 Finder 选中的项目。请在系统设置的隐私与安全性 → 自动化中，允许塔洛梅控制 "
                                        "Finder 后重试。");
            } else if (selection.empty()) {
                FinderAlerts::showError(FinderAlerts::bridgeTitle, "请先在 Finder 中选中文件或文件夹，再执行此操作。");
            }
            if (completion) completion(selection);
        });
    });
}

}  // namespace tallowmere
