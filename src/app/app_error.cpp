#include "app/app_error.h"

#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/base/format.h"

namespace tallowmere {

namespace {

platform::ErrorCode errorCode(AppError error) {
    switch (error) {
        case AppError::accessibilityRequired: return platform::ErrorCode::permissionDenied;
        case AppError::noWindows:
        case AppError::layoutNotFound:
        case AppError::invalidQuickFilePath: return platform::ErrorCode::notFound;
        case AppError::invalidApplication:
        case AppError::invalidWebsite:
        case AppError::invalidQuickInformation:
        case AppError::invalidQuickFileName: return platform::ErrorCode::invalidArgument;
    }
    return platform::ErrorCode::internal;
}

}  // namespace

std::string errorDescription(AppError error) {
    // The literal keys stay at the call of L, where the coverage check finds them.
    switch (error) {
        case AppError::accessibilityRequired:
            // The product's Chinese name stays as it is in every language.
            return platform::formatTemplate(L("请先在系统设置中允许 %@ 使用辅助功能。"),
                                            ProductIdentity::displayName);
        case AppError::noWindows: return L("当前没有可保存的应用窗口。");
        case AppError::layoutNotFound: return L("未找到这个布局。");
        case AppError::invalidApplication: return L("请选择有效的 macOS 应用程序。");
        case AppError::invalidWebsite: return L("请输入有效的网页地址。");
        case AppError::invalidQuickInformation: return L("请输入不超过 100 字的信息内容。");
        case AppError::invalidQuickFileName: return L("请输入有效的文件名称。");
        case AppError::invalidQuickFilePath: return L("文件路径无效或已被删除，请重新创建文件后再试。");
    }
    return {};  // not reached: every case returns above
}

platform::Error makeError(AppError error) {
    return platform::Error{errorCode(error), errorDescription(error), 0};
}

}  // namespace tallowmere
