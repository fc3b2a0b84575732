#include "windows/window_pin_error.h"

#include "localization/product_identity.h"

namespace tallowmere {

std::string localizedDescription(WindowPinError error) {
    switch (error) {
        case WindowPinError::accessibilityRequired:
            return ProductIdentity::localizedBrand("请先允许辅助功能权限，再重新钉住窗口。",
                                                   "Allow Accessibility access, then pin the window again.");
        case WindowPinError::screenRecordingRequired:
            return ProductIdentity::localizedBrand(
                "请在系统设置中允许屏幕与系统音频录制，然后重新钉住窗口。",
                "Allow Screen & System Audio Recording in System Settings, then pin the window again.");
        case WindowPinError::noFocusedWindow:
            return ProductIdentity::localizedBrand(
                "没有找到刚才使用的窗口。请先点击目标窗口，再打开菜单。",
                "No recent window was found. Select a window, then open the menu again.");
        case WindowPinError::levelChangeFailed:
            return ProductIdentity::localizedBrand(
                "这个窗口暂时无法置顶，可能是系统窗口或受保护窗口。",
                "This window cannot be pinned. It may be a system or protected window.");
    }
    return {};
}

}  // namespace tallowmere
