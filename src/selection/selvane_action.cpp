#include "selection/selvane_action.h"

#include "localization/interface_language.h"

namespace tallowmere {

namespace {

struct ActionRow {
    SelvaneAction action;
    std::string_view rawValue;
    std::string_view shortLabel;
    std::string_view titleKey;
};

constexpr ActionRow actionTable[] = {
    {SelvaneAction::cut, "cut", "剪切", "Selvane 操作：剪切"},
    {SelvaneAction::copy, "copy", "复制", "Selvane 操作：复制"},
    {SelvaneAction::paste, "paste", "粘贴", "Selvane 操作：粘贴"},
    {SelvaneAction::search, "search", "搜索", "Selvane 操作：搜索"},
    {SelvaneAction::translate, "translate", "翻译", "Selvane 操作：翻译"},
};

const ActionRow& row(SelvaneAction action) { return actionTable[static_cast<std::size_t>(action)]; }

}  // namespace

std::string_view rawValue(SelvaneAction action) { return row(action).rawValue; }

std::optional<SelvaneAction> selvaneActionFromRawValue(std::string_view rawValue) {
    for (const auto& entry : actionTable) {
        if (entry.rawValue == rawValue) return entry.action;
    }
    return std::nullopt;
}

std::string title(SelvaneAction action) {
    if (InterfaceLanguage::current() == InterfaceLanguage::simplifiedChinese) return std::string(row(action).shortLabel);
    return std::string(std::string_view(InterfaceLanguage::textOfLastingKey(row(action).titleKey)));
}

}  // namespace tallowmere
