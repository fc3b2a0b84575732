#include "toys/symbol_library_controller.h"

#include "platform/runtime/app_context.h"

namespace tallowmere {

SymbolLibraryController& SymbolLibraryController::shared() { return platform::AppContext::current().shared<SymbolLibraryController>(); }

void SymbolLibraryController::showLibraryInWindow(platform::MenuItem& /*sender*/) {}

}  // namespace tallowmere
