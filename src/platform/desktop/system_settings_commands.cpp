#include "platform/desktop/system_settings_commands.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/system_settings.h"

namespace tallowmere::platform::SystemSettingsCommands {

namespace {

std::string padded(std::string_view key, const std::string& value) {
    std::string line = " " + std::string(key);
    // The tool lines its values up in one column.
    line.append(key.size() < 20 ? 20 - key.size() : 1, ' ');
    return line + " " + value + "\n";
}

std::string valueText(const PropertyValue& value) {
    if (auto text = value.asString()) return *text;
    if (auto number = value.asInteger()) return std::to_string(*number);
    if (auto flag = value.asBoolean()) return *flag ? "1" : "0";
    if (auto real = value.asReal()) {
        std::string text = std::to_string(*real);
        while (text.size() > 1 && text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
        return text;
    }
    return "(unsupported value)";
}

std::optional<std::int64_t> integerValue(std::string_view text) {
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

std::optional<PropertyValue> typedValue(std::string_view type, const std::string& text) {
    if (type == "-int" || type == "-integer") {
        if (auto number = integerValue(text)) return PropertyValue(*number);
        return std::nullopt;
    }
    if (type == "-float") {
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != '\0' || !std::isfinite(value)) return std::nullopt;
        return PropertyValue(value);
    }
    if (type == "-bool" || type == "-boolean") {
        for (const char* yes : {"YES", "yes", "TRUE", "true", "1"}) {
            if (text == yes) return PropertyValue(true);
        }
        for (const char* no : {"NO", "no", "FALSE", "false", "0"}) {
            if (text == no) return PropertyValue(false);
        }
        return std::nullopt;
    }
    if (type == "-string") return PropertyValue(text);
    return std::nullopt;
}

int defaultsUsage(CommandCall& call) {
    call.writeError(
        "Usage: defaults [-currentHost] read DOMAIN KEY\n"
        "       defaults [-currentHost] write DOMAIN KEY [-int|-float|-bool|-string] VALUE\n"
        "       defaults [-currentHost] delete DOMAIN [KEY]\n");
    return 1;
}

}  // namespace

int pmset(CommandCall& call, const SystemSettings& settings) {
    if (call.arguments() != std::vector<std::string>{"-g", "custom"}) {
        call.writeError("Usage: pmset -g custom\n");
        return 1;
    }
    const auto sleep = settings.displaySleep();
    auto section = [&](const char* heading, int displayMinutes) {
        call.writeOutput(heading);
        call.writeOutput("\n");
        call.writeOutput(padded("lidwake", "1"));
        call.writeOutput(padded("standby", "1"));
        call.writeOutput(padded("sleep", std::to_string(displayMinutes == 0 ? 0 : displayMinutes + 1)));
        call.writeOutput(padded("displaysleep", std::to_string(displayMinutes)));
        call.writeOutput(padded("disksleep", "10"));
        call.writeOutput(padded("powernap", "1"));
    };
    if (sleep.battery) section("Battery Power:", *sleep.battery);
    section("AC Power:", sleep.powerAdapter);
    return 0;
}

int defaults(CommandCall& call, SystemSettings& settings) {
    std::vector<std::string> arguments = call.arguments();
    bool currentHost = false;
    if (!arguments.empty() && arguments.front() == "-currentHost") {
        currentHost = true;
        arguments.erase(arguments.begin());
    }
    if (arguments.size() < 2) return defaultsUsage(call);
    const std::string verb = arguments[0];
    const std::string domain = arguments[1] == "-globalDomain" || arguments[1] == "-g"
                                   ? std::string(SystemSettings::globalDomain)
                                   : arguments[1];
    if (verb == "read" && arguments.size() == 3) {
        if (auto value = settings.read(currentHost, domain, arguments[2])) {
            call.writeOutput(valueText(*value) + "\n");
            return 0;
        }
        call.writeError("\nThe domain/default pair of (" + domain + ", " + arguments[2] + ") does not exist\n");
        return 1;
    }
    if (verb == "write" && (arguments.size() == 4 || arguments.size() == 5)) {
        const std::string type = arguments.size() == 5 ? arguments[3] : "-string";
        auto value = typedValue(type, arguments.back());
        if (!value) return defaultsUsage(call);
        settings.write(currentHost, domain, arguments[2], std::move(*value));
        return 0;
    }
    if (verb == "delete" && (arguments.size() == 2 || arguments.size() == 3)) {
        const std::optional<std::string> key =
            arguments.size() == 3 ? std::optional<std::string>(arguments[2]) : std::nullopt;
        if (settings.remove(currentHost, domain, key)) return 0;
        call.writeError("\nDomain (" + domain + ") not found.\nDefaults have not been changed.\n");
        return 1;
    }
    return defaultsUsage(call);
}

int sysadminctl(CommandCall& call, const SystemSettings& settings) {
    if (call.arguments() != std::vector<std::string>{"-screenLock", "status"}) {
        call.writeError("Usage: sysadminctl -screenLock status\n");
        return 64;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S.000", &local);
    const auto delay = settings.passwordDelay();
    const std::string state = !delay ? "off" : *delay == 0 ? "immediate" : std::to_string(*delay) + " seconds";
    // The tool logs its answer rather than printing it.
    call.writeError(std::string(stamp) + " sysadminctl[" + std::to_string(getpid()) + ":1] screenLock delay is " +
                    state + "\n");
    return 0;
}

}  // namespace tallowmere::platform::SystemSettingsCommands
