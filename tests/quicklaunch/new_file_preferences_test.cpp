#include <gtest/gtest.h>

#include <vector>

#include "platform/base/property_value.h"
#include "platform/system/user_defaults.h"
#include "quicklaunch/new_file_type.h"
#include "support/fixture.h"

namespace tallowmere {
namespace {

using platform::PropertyValue;
using Types = std::vector<NewFileType>;

class NewFilePreferencesTest : public testing::TallowmereTest {};

TEST_F(NewFilePreferencesTest, SelectedTypesAreTheKnownStoredOnesInMenuOrderElseText) {
    struct Case {
        const char* what;
        std::optional<PropertyValue> stored;
        Types expected;
    } cases[] = {
        {"absent", std::nullopt, {NewFileType::txt}},
        {"empty", PropertyValue(PropertyValue::Array{}), {NewFileType::txt}},
        {"order and repeats do not matter", PropertyValue(PropertyValue::Array{"md", "txt", "md"}),
         {NewFileType::txt, NewFileType::md}},
        {"only unknown names", PropertyValue(PropertyValue::Array{"pdf"}), {NewFileType::txt}},
        {"unknown names are dropped", PropertyValue(PropertyValue::Array{"ppt", "pdf", "docx", "xls"}),
         {NewFileType::xls, NewFileType::docx, NewFileType::ppt}},
        {"case-sensitive", PropertyValue(PropertyValue::Array{"MD", "docx"}), {NewFileType::docx}},
        {"every type", PropertyValue(PropertyValue::Array{"md", "ppt", "docx", "wps", "xls", "txt"}),
         {NewFileType::txt, NewFileType::xls, NewFileType::wps, NewFileType::docx, NewFileType::ppt,
          NewFileType::md}},
        {"not a string array", PropertyValue(PropertyValue::Array{"md", 3}), {NewFileType::txt}},
        {"not an array", PropertyValue("md"), {NewFileType::txt}},
    };
    auto& defaults = platform::UserDefaults::standard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.stored) {
            defaults.set(NewFilePreferences::typesKey, *c.stored);
        } else {
            defaults.removeObject(NewFilePreferences::typesKey);
        }
        EXPECT_EQ(NewFilePreferences::selectedTypes(), c.expected);
    }
}

TEST_F(NewFilePreferencesTest, RawValuesAreTheExtensionsAndReadBackExactly) {
    for (NewFileType type : allNewFileTypes) EXPECT_EQ(newFileTypeFromRawValue(rawValue(type)), type);
    EXPECT_EQ(rawValue(NewFileType::docx), "docx");
    EXPECT_EQ(newFileTypeFromRawValue("TXT"), std::nullopt);
    EXPECT_EQ(newFileTypeFromRawValue("pdf"), std::nullopt);
}

}  // namespace
}  // namespace tallowmere
