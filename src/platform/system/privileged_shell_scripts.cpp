#include "platform/system/privileged_shell_scripts.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/base/text.h"
#include "platform/runtime/app_context.h"
#include "platform/system/administrator_prompt.h"
#include "platform/system/command_table.h"
#include "platform/system/paths.h"
#include "platform/system/process_runner.h"
#include "platform/system/files.h"

namespace tallowmere::platform {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view sourcePrefix = "do shell script \"";
constexpr std::string_view sourceSuffix = "\" with administrator privileges";

// The text of the single-quoted word at `position`, '\'' included, and where
// the word ends.
std::optional<std::pair<std::string, std::size_t>> readQuotedWord(std::string_view script,
                                                                    std::size_t position) {
    if (position >= script.size() || script[position] != '\'') return std::nullopt;
    std::string text;
    ++position;
    while (true) {
        const auto close = script.find('\'', position);
        if (close == std::string_view::npos) return std::nullopt;
        text.append(script.substr(position, close - position));
        if (script.substr(close + 1, 3) != "\\''") return std::pair{text, close + 1};
        text += '\'';
        position = close + 4;
    }
}

bool isInside(const fs::path& folder, const fs::path& path) {
    std::error_code error;
    const auto outer = fs::weakly_canonical(folder, error);
    if (error) return false;
    const auto inner = fs::weakly_canonical(path, error);
    if (error) return false;
    const auto [outerEnd, innerAt] = std::mismatch(outer.begin(), outer.end(), inner.begin(), inner.end());
    return outerEnd == outer.end();
}

// A file the user staged for the script: a plain, regular file in the
// user's temporary folder, named without "." or ".." detours.
bool isStagedFile(const std::string& path) {
    const fs::path file(path);
    if (!file.is_absolute() || file.lexically_normal() != file) return false;
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(file, error))) return false;
    return isInside(Paths::temporary(), file.parent_path());
}

// Only characters that mean the same in every context of a shell script.
bool isShellPlain(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '/' || c == '.' || c == '_' || c == '-';
    });
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

// A fresh private folder of links that the mapped script names in place of
// the Mac's paths; removed when done.
class SandboxLinks {
public:
    static Result<SandboxLinks> make() {
        // The links' own names go into the script as they are.
        const fs::path base = isShellPlain(Paths::temporary().string()) ? Paths::temporary() : fs::path("/tmp");
        std::string pattern = (base / "tallowmere-root.XXXXXX").string();
        if (!::mkdtemp(pattern.data())) {
            return Error{ErrorCode::ioFailed, "The simulated system couldn\u2019t be prepared.", errno};
        }
        SandboxLinks links(pattern);
        const fs::path etc = Paths::systemFile("/private/etc");
        if (auto made = Files::createDirectories(etc); !made) return made.error();
        if (auto linked = links.link("etc", etc); !linked) return linked.error();
        if (auto linked = links.link("chown", ::geteuid() == 0 ? "/bin/chown" : "/bin/true"); !linked) {
            return linked.error();
        }
        for (std::string_view command : {"dscacheutil", "killall"}) {
            const std::string macPath = "/usr/bin/" + std::string(command);
            const auto resolution = CommandTable::shared().resolve(macPath);
            if (resolution.kind != CommandTable::Resolution::Kind::program) {
                return Error{ErrorCode::unsupported,
                             "No program stands for " + macPath + " in a shell script.", 0};
            }
            if (auto linked = links.link(command, resolution.program); !linked) return linked.error();
        }
        return links;
    }

    SandboxLinks(SandboxLinks&& other) noexcept : folder_(std::exchange(other.folder_, {})) {}
    SandboxLinks& operator=(SandboxLinks&&) = delete;
    ~SandboxLinks() {
        std::error_code ignored;
        if (!folder_.empty()) fs::remove_all(folder_, ignored);
    }

    // The script with the Mac's paths replaced by the links.
    std::string map(std::string piece) const {
        const std::string folder = folder_.string();
        replaceAll(piece, "/private/etc", folder + "/etc");
        replaceAll(piece, "/usr/sbin/chown", folder + "/chown");
        replaceAll(piece, "/usr/bin/dscacheutil", folder + "/dscacheutil");
        replaceAll(piece, "/usr/bin/killall", folder + "/killall");
        return piece;
    }

private:
    explicit SandboxLinks(fs::path folder) : folder_(std::move(folder)) {}

    Result<void> link(std::string_view name, const fs::path& target) const {
        std::error_code error;
        fs::create_symlink(target, folder_ / name, error);
        if (error) {
            return Error{ErrorCode::ioFailed, "The simulated system couldn\u2019t be prepared.", error.value()};
        }
        return {};
    }

    fs::path folder_;
};

}  // namespace

std::string shellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

PrivilegedShellScripts& PrivilegedShellScripts::shared() {
    return AppContext::current().shared<PrivilegedShellScripts>();
}

void PrivilegedShellScripts::accept(std::string scriptTemplate, std::string stagedFileSlot) {
    Accepted accepted;
    if (stagedFileSlot.empty()) {
        accepted.pieces.push_back(std::move(scriptTemplate));
    } else {
        std::size_t from = 0;
        for (auto at = scriptTemplate.find(stagedFileSlot); at != std::string::npos;
             at = scriptTemplate.find(stagedFileSlot, from)) {
            accepted.pieces.push_back(scriptTemplate.substr(from, at - from));
            from = at + stagedFileSlot.size();
        }
        accepted.pieces.push_back(scriptTemplate.substr(from));
    }
    std::lock_guard lock(mutex_);
    for (const auto& known : accepted_) {
        if (known.pieces == accepted.pieces) return;
    }
    accepted_.push_back(std::move(accepted));
}

std::optional<std::string> PrivilegedShellScripts::shellScriptOf(std::string_view source) {
    if (source.size() < sourcePrefix.size() + sourceSuffix.size() || !source.starts_with(sourcePrefix) ||
        !source.ends_with(sourceSuffix)) {
        return std::nullopt;
    }
    const auto escaped =
        source.substr(sourcePrefix.size(), source.size() - sourcePrefix.size() - sourceSuffix.size());
    std::string script;
    script.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '"') return std::nullopt;
        if (escaped[i] != '\\') {
            script += escaped[i];
            continue;
        }
        if (i + 1 == escaped.size() || (escaped[i + 1] != '\\' && escaped[i + 1] != '"')) return std::nullopt;
        script += escaped[++i];
    }
    return script;
}

std::optional<PrivilegedShellScripts::Match> PrivilegedShellScripts::match(const std::string& script) const {
    std::lock_guard lock(mutex_);
    for (const auto& accepted : accepted_) {
        const auto& pieces = accepted.pieces;
        if (pieces.size() == 1) {
            if (script == pieces.front()) return Match{pieces, {}};
            continue;
        }
        if (!script.starts_with(pieces.front())) continue;
        const auto word = readQuotedWord(script, pieces.front().size());
        if (!word || !isStagedFile(word->first)) continue;
        const std::string quoted = shellQuoted(word->first);
        std::string rendered = pieces.front();
        for (std::size_t i = 1; i < pieces.size(); ++i) rendered += quoted + pieces[i];
        if (rendered == script) return Match{pieces, quoted};
    }
    return std::nullopt;
}

std::optional<int> PrivilegedShellScripts::run(const std::string& source, CommandCall& call) const {
    const auto script = shellScriptOf(source);
    if (!script) return std::nullopt;
    const auto matched = match(*script);
    if (!matched) return std::nullopt;

    if (!AdministratorPrompt::shared().requestAuthorization("osascript")) {
        call.writeError("User canceled. (-128)\n");
        return 1;
    }
    auto links = SandboxLinks::make();
    if (!links) {
        call.writeError("execution error: " + links.error().message + " (1)\n");
        return 1;
    }
    // Only the template's own text is mapped, never the staged file's path.
    const auto& pieces = matched->pieces;
    std::string mapped = links->map(pieces.front());
    for (std::size_t i = 1; i < pieces.size(); ++i) mapped += matched->quotedStagedFile + links->map(pieces[i]);
    auto ran = ProcessRunner::run({.executable = "/bin/sh", .arguments = {"-c", mapped}});
    if (!ran) {
        call.writeError("execution error: " + ran.error().message + " (1)\n");
        return 1;
    }
    if (ran->succeeded()) {
        call.writeOutput(ran->standardOutput);
        return 0;
    }
    std::string reason = Text::trimmingWhitespaceAndNewlines(ran->standardError);
    if (reason.empty()) reason = "The command exited with a non-zero status.";
    call.writeError("execution error: " + reason + " (" + std::to_string(ran->status) + ")\n");
    return 1;
}

}  // namespace tallowmere::platform
