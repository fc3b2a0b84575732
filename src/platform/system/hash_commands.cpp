#include "platform/system/hash_commands.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

#include "platform/system/file_digest.h"
#include "platform/system/system_error.h"

namespace tallowmere::platform::HashCommands {

namespace {

constexpr std::array<std::pair<std::string_view, DigestAlgorithm>, 7> shasumAlgorithms = {{
    {"1", DigestAlgorithm::sha1},
    {"224", DigestAlgorithm::sha224},
    {"256", DigestAlgorithm::sha256},
    {"384", DigestAlgorithm::sha384},
    {"512", DigestAlgorithm::sha512},
    {"512224", DigestAlgorithm::sha512_224},
    {"512256", DigestAlgorithm::sha512_256},
}};

std::optional<DigestAlgorithm> shasumAlgorithm(std::string_view name) {
    for (const auto& [key, algorithm] : shasumAlgorithms) {
        if (key == name) return algorithm;
    }
    return std::nullopt;
}

// A file name that would break the one-line-per-file format is escaped, and
// the line starts with "\" to say so.
std::string shasumLine(const std::string& digest, bool binary, const std::string& name) {
    const bool escape = name.find_first_of("\\\n") != std::string::npos;
    std::string line = escape ? "\\" : "";
    line += digest;
    line += binary ? " *" : "  ";
    for (char c : name) {
        if (escape && c == '\\')
            line += "\\\\";
        else if (escape && c == '\n')
            line += "\\n";
        else
            line += c;
    }
    return line + "\n";
}

// A short option's value: the rest of its bundle ("-a256") or the next
// argument ("-a 256"), which it then consumes.
std::optional<std::string> shortOptionValue(const std::vector<std::string>& arguments,
                                            std::size_t& index, std::size_t position) {
    if (position + 1 < arguments[index].size()) return arguments[index].substr(position + 1);
    if (index + 1 < arguments.size()) return arguments[++index];
    return std::nullopt;
}

int md5UsageError(CommandCall& call, const std::string& message) {
    call.writeError("md5: " + message + "\n");
    call.writeError("usage: md5 [-qr] [-s string] [files ...]\n");
    return 1;
}

int shasumUsageError(CommandCall& call, const std::string& message) {
    call.writeError("shasum: " + message + "\n");
    call.writeError("Type shasum -h for help\n");
    return 1;
}

}  // namespace

int shasum(CommandCall& call) {
    DigestAlgorithm algorithm = DigestAlgorithm::sha1;
    bool binary = false;
    std::vector<std::string> files;
    const auto& arguments = call.arguments();

    auto takeAlgorithm = [&](const std::string& name) {
        auto found = shasumAlgorithm(name);
        if (found) algorithm = *found;
        return found.has_value();
    };

    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
            files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument.starts_with("--")) {
            std::string name = argument.substr(2);
            std::optional<std::string> value;
            if (auto equals = name.find('='); equals != std::string::npos) {
                value = name.substr(equals + 1);
                name.resize(equals);
            }
            if (name == "binary" || name == "text") {
                binary = name == "binary";
                continue;
            }
            if (name != "algorithm") return shasumUsageError(call, "Unknown option: " + name);
            if (!value && i + 1 < arguments.size()) value = arguments[++i];
            if (!value) return shasumUsageError(call, "Option algorithm requires an argument");
            if (!takeAlgorithm(*value)) return shasumUsageError(call, "Unrecognized algorithm");
            continue;
        }
        // Bundled short options: "-ba256", "-b -a 256".
        for (std::size_t j = 1; j < argument.size(); ++j) {
            const char option = argument[j];
            if (option == 'b' || option == 't') {
                binary = option == 'b';
                continue;
            }
            if (option != 'a')
                return shasumUsageError(call, std::string("Unknown option: ") + option);
            auto value = shortOptionValue(arguments, i, j);
            if (!value) return shasumUsageError(call, "Option a requires an argument");
            if (!takeAlgorithm(*value)) return shasumUsageError(call, "Unrecognized algorithm");
            break;  // the value took the rest of the bundle
        }
    }
    if (files.empty()) files.push_back("-");

    int status = 0;
    for (const std::string& file : files) {
        if (file == "-") {
            call.writeOutput(
                shasumLine(FileDigest::hex(call.standardInput(), algorithm), binary, file));
            continue;
        }
        auto digest = FileDigest::hexOfFile(file, algorithm);
        if (!digest) {
            call.writeError("shasum: " + file + ": " + systemReason(digest.error().systemCode) +
                            "\n");
            status = 1;
            continue;
        }
        call.writeOutput(shasumLine(*digest, binary, file));
    }
    return status;
}

int md5(CommandCall& call) {
    bool quiet = false;
    bool reversed = false;
    std::vector<std::pair<std::string, std::string>> strings;  // in order, with -s
    std::vector<std::string> files;
    const auto& arguments = call.arguments();

    std::size_t i = 0;
    for (; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--") {
            ++i;
            break;
        }
        if (argument.size() < 2 || argument[0] != '-') break;
        for (std::size_t j = 1; j < argument.size(); ++j) {
            const char option = argument[j];
            if (option == 'q' || option == 'r') {
                (option == 'q' ? quiet : reversed) = true;
                continue;
            }
            if (option != 's') {
                return md5UsageError(call, std::string("illegal option -- ") + option);
            }
            auto value = shortOptionValue(arguments, i, j);
            if (!value) return md5UsageError(call, "option requires an argument -- s");
            strings.emplace_back(*value, FileDigest::hex(*value, DigestAlgorithm::md5));
            break;  // the value took the rest of the bundle
        }
    }
    for (; i < arguments.size(); ++i) files.push_back(arguments[i]);

    auto line = [&](const std::string& digest, const std::string& name) {
        if (quiet) return digest + "\n";
        if (reversed) return digest + " " + name + "\n";
        return "MD5 (" + name + ") = " + digest + "\n";
    };

    for (const auto& [text, digest] : strings) call.writeOutput(line(digest, "\"" + text + "\""));
    if (files.empty() && strings.empty()) {
        call.writeOutput(FileDigest::hex(call.standardInput(), DigestAlgorithm::md5) + "\n");
        return 0;
    }
    int status = 0;
    for (const std::string& file : files) {
        auto digest = FileDigest::hexOfFile(file, DigestAlgorithm::md5);
        if (!digest) {
            call.writeError("md5: " + file + ": " + systemReason(digest.error().systemCode) + "\n");
            status = 1;
            continue;
        }
        call.writeOutput(line(*digest, file));
    }
    return status;
}

}  // namespace tallowmere::platform::HashCommands
