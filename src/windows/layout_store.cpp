#include "windows/layout_store.h"

#include "app/app_error.h"
#include "platform/system/user_defaults.h"

namespace tallowmere {

void LayoutStore::restore(const platform::Uuid& id, RestoreCompletion completion) {
    (void)id;
    if (completion) completion(makeError(AppError::layoutNotFound));
}

bool WorkspaceMemoryPreference::isEnabled() {
    auto stored = platform::UserDefaults::standard().object("workspaceMemoryEnabled");
    const auto flag = stored ? stored->asBoolean() : std::nullopt;
    return flag.value_or(true);
}

}  // namespace tallowmere
