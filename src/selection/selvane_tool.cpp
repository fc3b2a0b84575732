#include "selection/selvane_tool.h"

#include "localization/interface_language.h"
#include "localization/product_identity.h"

namespace tallowmere {

namespace {

struct ToolRow {
    SelvaneTool tool;
    std::string_view rawValue;
    std::string_view chineseTitle;
    std::string_view englishTitle;
};

constexpr ToolRow toolTable[] = {
    {SelvaneTool::colorPicker, "colorPicker", "取色器", "Color Picker"},
    {SelvaneTool::screenRuler, "screenRuler", "测量标尺", "Screen Ruler"},
    {SelvaneTool::fontInfo, "fontInfo", "字体信息", "Font Info"},
};

const ToolRow& row(SelvaneTool tool) { return toolTable[static_cast<std::size_t>(tool)]; }

}  // namespace

std::string_view rawValue(SelvaneTool tool) { return row(tool).rawValue; }

std::optional<SelvaneTool> selvaneToolFromRawValue(std::string_view rawValue) {
    for (const auto& entry : toolTable) {
        if (entry.rawValue == rawValue) return entry.tool;
    }
    return std::nullopt;
}

std::string_view title(SelvaneTool tool) {
    return ProductIdentity::isChineseReading(InterfaceLanguage::current()) ? row(tool).chineseTitle
                                                                            : row(tool).englishTitle;
}

}  // namespace tallowmere
