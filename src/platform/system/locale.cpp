#include "platform/system/locale.h"

#include <algorithm>
#include <cstdlib>

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {

Locale& Locale::shared() {
    return AppContext::current().shared<Locale>();
}

std::vector<std::string> Locale::preferredLanguages() {
    return shared().languages();
}

Locale::Locale() {
    if (AppContext::hasCurrent() && AppContext::current().isDeterministic()) {
        languages_ = {"en-US"};
    } else {
        languages_ = languagesFromEnvironment([](const char* name) { return std::getenv(name); });
    }
}

std::vector<std::string> Locale::languages() const {
    std::lock_guard lock(mutex_);
    return languages_;
}

void Locale::setPreferredLanguages(std::vector<std::string> languages) {
    std::lock_guard lock(mutex_);
    languages_ = std::move(languages);
    changeCount_.fetch_add(1, std::memory_order_release);
}

std::optional<std::string> Locale::identifierForLocaleName(std::string_view name) {
    // language[_territory][.codeset][@modifier]
    name = name.substr(0, name.find('@'));
    name = name.substr(0, name.find('.'));
    if (name.empty() || name == "C" || name == "POSIX") return std::nullopt;
    std::string identifier(name);
    std::replace(identifier.begin(), identifier.end(), '_', '-');
    return identifier;
}

std::vector<std::string> Locale::languagesFromEnvironment(const Environment& environment) {
    std::vector<std::string> languages;
    auto add = [&](std::string_view name) {
        auto identifier = identifierForLocaleName(name);
        if (identifier &&
            std::find(languages.begin(), languages.end(), *identifier) == languages.end()) {
            languages.push_back(std::move(*identifier));
        }
    };

    if (const char* list = environment("LANGUAGE")) {
        std::string_view rest(list);
        while (!rest.empty()) {
            const std::size_t colon = rest.find(':');
            add(rest.substr(0, colon));
            rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        }
    }
    // As for messages: LC_ALL overrides LC_MESSAGES, which overrides LANG.
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = environment(variable);
        if (value && *value) {
            add(value);
            break;
        }
    }
    return languages;
}

}  // namespace tallowmere::platform
