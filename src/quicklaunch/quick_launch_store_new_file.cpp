// Blank documents on the Desktop (or in a chosen folder).
#include <cerrno>

#include "app/app_error.h"
#include "localization/interface_language.h"
#include "platform/base/format.h"
#include "platform/base/text.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "quicklaunch/new_file_document_data.h"
#include "quicklaunch/quick_launch_store.h"

namespace tallowmere {

namespace fs = std::filesystem;
using platform::Error;
using platform::ErrorCode;
using platform::Result;
using platform::Text::trimmingWhitespaceAndNewlines;

namespace {

// The error of a type without a blank document; the code lets callers tell
// it from a failed write.
constexpr int unsupportedTypeCode = 1;

Error unsupportedTypeError(std::string_view extension) {
    return Error{ErrorCode::unsupported,
                 platform::formatTemplate(L("无法新建 .%@：缺少有效文档模板，请选择 .txt、.md 或 .docx。"), extension),
                 unsupportedTypeCode};
}

Error invalidNameError() {
    Error error = makeError(AppError::invalidQuickFileName);
    error.systemCode = unsupportedTypeCode;
    return error;
}

// Control characters (a NUL would even end the name early for the system)
// and broken UTF-8 make no file name anybody could type or read.
bool isUsableInName(std::string_view text) {
    if (!platform::Text::isValidUtf8(text)) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7F) return false;
        // U+0080–U+009F, the C1 controls, are C2 80 – C2 9F in UTF-8.
        if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return false;
    }
    return true;
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

std::string lowercasedAscii(std::string text) {
    for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    return text;
}

// The text after the last "." of a name, when there is any.
std::string extensionOf(const std::string& fileName) {
    const auto dot = fileName.find_last_of('.');
    return dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
}

}  // namespace

Result<fs::path> QuickLaunchStore::createBlankDesktopFile(std::string_view name, std::string_view fileExtension,
                                                          const std::optional<fs::path>& folder) {
    std::string baseName = trimmingWhitespaceAndNewlines(name);
    if (baseName.empty()) baseName = "new";
    if (!isUsableInName(baseName)) return invalidNameError();
    // Look-alike characters keep a name readable where "/" and ":" would
    // make it a path.
    replaceAll(baseName, "/", "\uFF0F");
    replaceAll(baseName, ":", "\uFF1A");

    std::string extension = trimmingWhitespaceAndNewlines(fileExtension);
    const auto first = extension.find_first_not_of('.');
    extension = first == std::string::npos ? std::string()
                                           : extension.substr(first, extension.find_last_not_of('.') - first + 1);
    // An extension that is a path or holds controls names no file type.
    if (extension.find('/') != std::string::npos || !isUsableInName(extension)) {
        return unsupportedTypeError(extension);
    }
    // The name's own extension wins over the one asked for.
    const std::string fileName =
        !extensionOf(baseName).empty() ? baseName : baseName + "." + (extension.empty() ? "txt" : extension);

    const auto dot = fileName.find_last_of('.');
    const std::string stem = fileName.substr(0, dot);
    const std::string writtenExtension = fileName.substr(dot + 1);
    const std::string type = lowercasedAscii(writtenExtension);
    if (type != "txt" && type != "md" && type != "docx") return unsupportedTypeError(writtenExtension);
    auto contents = NewFileDocumentData::contents(type);
    if (!contents) return contents.error();

    const fs::path directory = folder.value_or(platform::Paths::desktop());
    // A Mac always has a Desktop folder; a fresh Linux home may not.
    if (!folder) (void)platform::Files::createDirectories(directory);  // a failure shows at the write
    for (int n = 0; n <= maximumNameSuffix; ++n) {
        const std::string candidate =
            n == 0 ? fileName : stem + " (" + std::to_string(n) + ")." + writtenExtension;
        const fs::path path = directory / candidate;
        auto created = platform::Files::createExclusively(path, *contents);
        if (created) return path;
        if (created.error().code != ErrorCode::alreadyExists) return created.error();
    }
    return Error{ErrorCode::alreadyExists,
                 "The file \u201C" + fileName + "\u201D couldn\u2019t be saved because a file with that name and " +
                     std::to_string(maximumNameSuffix) + " numbered ones already exist.",
                 EEXIST};
}

}  // namespace tallowmere
