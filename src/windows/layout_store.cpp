#include "windows/layout_store.h"

#include "app/app_error.h"

namespace tallowmere {

void LayoutStore::restore(const platform::Uuid& id, RestoreCompletion completion) {
    (void)id;
    if (completion) completion(makeError(AppError::layoutNotFound));
}

}  // namespace tallowmere
