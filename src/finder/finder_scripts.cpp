#include "finder/finder_scripts.h"

#include <string>

#include "platform/desktop/desktop.h"
#include "platform/ui/desktop_link.h"

namespace tallowmere::FinderScripts {

void teachFinder() {
    auto& finder = platform::DesktopLink::desktop().finder();
    finder.acceptScript(std::string(selection), platform::FinderModel::Query::selectionPaths);
    finder.acceptScript(std::string(frontFolder), platform::FinderModel::Query::frontFolderPath);
}

}  // namespace tallowmere::FinderScripts
