#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace tallowmere {

// The kinds of blank file the user may offer in menus; the raw value is the
// file extension. Only txt, md and docx have a blank document.
enum class NewFileType { txt, xls, wps, docx, ppt, md };
inline constexpr std::array allNewFileTypes = {NewFileType::txt, NewFileType::xls, NewFileType::wps,
                                               NewFileType::docx, NewFileType::ppt, NewFileType::md};

std::string_view rawValue(NewFileType type);
// Exact, case-sensitive match.
std::optional<NewFileType> newFileTypeFromRawValue(std::string_view rawValue);

// The types the user switched on, read on every use (the main window's
// switches write them, the status menu lists them).
namespace NewFilePreferences {

inline constexpr std::string_view typesKey = "newFileTypes";

// The stored types in display order, each once; [txt] when nothing usable
// is stored.
std::vector<NewFileType> selectedTypes();

}  // namespace NewFilePreferences

}  // namespace tallowmere
