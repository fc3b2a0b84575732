// Page 2, "更多工具": its host and title; its card columns go under the title.
#include "localization/product_identity.h"
#include "mainwindow/main_window_controller.h"
#include "platform/ui/stack_view.h"

namespace tallowmere {

using namespace platform;

std::shared_ptr<View> MainWindowController::makeSecondPageHost() { return View::make(); }

void MainWindowController::buildSecondPage() {
    const bool chinese = ProductIdentity::usesChineseDisplayName();
    auto title = Label::make(chinese ? "更多工具" : "More Tools");
    title->setFont(Font::systemFont(26, FontWeight::semibold));
    secondPageStack_ = StackView::makeVertical({title});
    secondPageStack_->setAlignment(StackAlignment::leading);
    secondPageStack_->setSpacing(18);
}

}  // namespace tallowmere
