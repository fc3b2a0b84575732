#include "hosts/hosts_apply_script.h"

#include "platform/system/privileged_shell_scripts.h"

namespace tallowmere::HostsApplyScript {

std::string shellScript(const std::filesystem::path& stagedFile) {
    const std::string quoted = platform::shellQuoted(stagedFile.string());
    std::string script;
    std::size_t from = 0;
    for (auto at = scriptTemplate.find(stagedFileSlot); at != std::string_view::npos;
         at = scriptTemplate.find(stagedFileSlot, from)) {
        script.append(scriptTemplate.substr(from, at - from));
        script += quoted;
        from = at + stagedFileSlot.size();
    }
    script.append(scriptTemplate.substr(from));
    return script;
}

std::string appleScriptSource(std::string_view shellScript) {
    // Backslashes first, so the ones added for quotes are not doubled.
    std::string escaped;
    escaped.reserve(shellScript.size() + 16);
    for (char c : shellScript) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return "do shell script \"" + escaped + "\" with administrator privileges";
}

}  // namespace tallowmere::HostsApplyScript
