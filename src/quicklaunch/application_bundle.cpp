#include "quicklaunch/application_bundle.h"

#include <array>
#include <system_error>
#include <vector>

#include "platform/base/property_list.h"
#include "platform/base/strings_file.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/system/files.h"
#include "platform/system/locale.h"

namespace tallowmere {

namespace fs = std::filesystem;
using platform::PropertyValue;

namespace {

// The localizations a Chinese name is looked for in, most specific spelling
// last: bundles name their folders in any of these.
constexpr std::array<std::string_view, 4> chineseLocalizations = {"zh-Hans", "zh_CN", "zh-Hans-CN", "zh"};

std::optional<std::string> nonEmptyString(const PropertyValue::Dictionary& dictionary, const char* key) {
    auto found = dictionary.find(key);
    if (found == dictionary.end() || !found->second.asString() || found->second.asString()->empty()) {
        return std::nullopt;
    }
    return *found->second.asString();
}

std::optional<PropertyValue::Dictionary> readDictionary(const fs::path& path, bool stringsFile) {
    auto bytes = platform::Files::read(path);
    if (!bytes) return std::nullopt;
    if (stringsFile) {
        auto table = platform::StringsFile::read(*bytes);
        return table ? std::optional(std::move(*table)) : std::nullopt;
    }
    auto list = platform::PropertyList::read(std::span<const std::uint8_t>(*bytes));
    if (!list || !list->asDictionary()) return std::nullopt;
    return *list->asDictionary();
}

// "zh-Hans-CN" → {"zh-Hans-CN", "zh_Hans_CN", "zh-Hans", "zh_Hans", "zh"}.
std::vector<std::string> localizationCandidates(std::string language) {
    std::vector<std::string> candidates;
    while (!language.empty()) {
        candidates.push_back(language);
        std::string underscored = language;
        for (char& c : underscored) c = c == '-' ? '_' : c;
        if (underscored != language) candidates.push_back(underscored);
        const auto cut = language.find_last_of('-');
        language = cut == std::string::npos ? std::string() : language.substr(0, cut);
    }
    return candidates;
}

}  // namespace

fs::path standardizedBundlePath(const fs::path& path) {
    fs::path normal = path.lexically_normal();
    std::string text = normal.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

std::optional<ApplicationBundle> ApplicationBundle::open(const fs::path& path) {
    const fs::path location = standardizedBundlePath(path);
    std::error_code error;
    if (fs::is_directory(location, error)) {
        auto info = readDictionary(location / "Contents/Info.plist", false);
        return ApplicationBundle(location, info.value_or(PropertyValue::Dictionary{}), true);
    }
    if (auto installed = platform::Desktop::shared().applicationAtPath(location.string())) {
        PropertyValue::Dictionary info;
        if (!installed->bundleIdentifier().empty()) info["CFBundleIdentifier"] = installed->bundleIdentifier();
        if (!installed->name().empty()) info["CFBundleName"] = installed->name();
        return ApplicationBundle(location, std::move(info), false);
    }
    return std::nullopt;
}

std::optional<std::string> ApplicationBundle::bundleIdentifier() const {
    return nonEmptyString(info_, "CFBundleIdentifier");
}

std::optional<PropertyValue::Dictionary> ApplicationBundle::stringsTable(std::string_view localization,
                                                                        std::string_view table) const {
    if (!onDisk_ || localization.empty() || table.empty()) return std::nullopt;
    const fs::path file = path_ / "Contents/Resources" / (std::string(localization) + ".lproj") /
                          (std::string(table) + ".strings");
    return readDictionary(file, true);
}

std::optional<std::string> ApplicationBundle::preferredLocalization() const {
    if (!onDisk_) return std::nullopt;
    const fs::path resources = path_ / "Contents/Resources";
    auto has = [&](const std::string& name) {
        std::error_code error;
        return fs::is_directory(resources / (name + ".lproj"), error);
    };
    for (const std::string& language : platform::Locale::preferredLanguages()) {
        for (const std::string& candidate : localizationCandidates(language)) {
            if (has(candidate)) return candidate;
        }
    }
    std::vector<std::string> fallbacks;
    if (auto region = nonEmptyString(info_, "CFBundleDevelopmentRegion")) fallbacks.push_back(*region);
    fallbacks.insert(fallbacks.end(), {"en", "English", "Base"});
    for (const std::string& candidate : fallbacks) {
        if (has(candidate)) return candidate;
    }
    return std::nullopt;
}

PropertyValue::Dictionary ApplicationBundle::localizedInfoDictionary() const {
    auto localization = preferredLocalization();
    if (!localization) return {};
    return stringsTable(*localization, "InfoPlist").value_or(PropertyValue::Dictionary{});
}

std::string preferredApplicationName(const fs::path& bundlePath) {
    const auto bundle = ApplicationBundle::open(bundlePath);
    if (bundle) {
        for (std::string_view localization : chineseLocalizations) {
            auto strings = bundle->stringsTable(localization, "InfoPlist");
            if (!strings) continue;
            if (auto name = nonEmptyString(*strings, "CFBundleDisplayName")) return *name;
            if (auto name = nonEmptyString(*strings, "CFBundleName")) return *name;
        }
    }
    const fs::path wanted = standardizedBundlePath(bundlePath);
    for (const auto& running : platform::Workspace::shared().runningApplications()) {
        auto path = running->bundlePath();
        if (!path || standardizedBundlePath(*path) != wanted) continue;
        if (auto name = running->localizedName(); name && !name->empty()) return *name;
        break;
    }
    if (bundle) {
        // An empty name in a list is no name: it would leave the tile blank.
        const PropertyValue::Dictionary localized = bundle->localizedInfoDictionary();
        for (const auto* dictionary : {&localized, &bundle->infoDictionary()}) {
            if (auto name = nonEmptyString(*dictionary, "CFBundleDisplayName")) return *name;
            if (auto name = nonEmptyString(*dictionary, "CFBundleName")) return *name;
        }
    }
    return wanted.stem().string();
}

}  // namespace tallowmere
