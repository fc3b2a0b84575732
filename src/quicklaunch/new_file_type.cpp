#include "quicklaunch/new_file_type.h"

#include <algorithm>
#include <string>

#include "platform/system/user_defaults.h"

namespace tallowmere {

std::string_view rawValue(NewFileType type) {
    switch (type) {
        case NewFileType::txt: return "txt";
        case NewFileType::xls: return "xls";
        case NewFileType::wps: return "wps";
        case NewFileType::docx: return "docx";
        case NewFileType::ppt: return "ppt";
        case NewFileType::md: return "md";
    }
    return "txt";
}

std::optional<NewFileType> newFileTypeFromRawValue(std::string_view text) {
    for (NewFileType type : allNewFileTypes) {
        if (rawValue(type) == text) return type;
    }
    return std::nullopt;
}

std::vector<NewFileType> NewFilePreferences::selectedTypes() {
    const auto stored = platform::UserDefaults::standard().stringArray(typesKey)
                            .value_or(std::vector<std::string>{"txt"});
    std::vector<NewFileType> chosen;
    for (const std::string& text : stored) {
        if (auto type = newFileTypeFromRawValue(text)) chosen.push_back(*type);
    }
    if (chosen.empty()) return {NewFileType::txt};
    // Menus list the types in one fixed order, whatever order the switches
    // were flipped in.
    std::vector<NewFileType> selected;
    for (NewFileType type : allNewFileTypes) {
        if (std::find(chosen.begin(), chosen.end(), type) != chosen.end()) selected.push_back(type);
    }
    return selected;
}

}  // namespace tallowmere
