#include "hosts/hosts_apply_script.h"

#include <gtest/gtest.h>

namespace tallowmere {
namespace {

// The staged path holds ', " and \, each of which needs its own escaping:
// ' for the shell, " and \ for the AppleScript string around it.
constexpr const char* stagedFile = R"(/tmp/it's "x"\y/tallowmere-hosts-1.txt)";

TEST(HostsApplyScriptTest, ShellScriptIsByteForByteTheInstallScript) {
    const std::string quoted = R"('/tmp/it'\''s "x"\y/tallowmere-hosts-1.txt')";
    const std::string expected =
        "set -e\n"
        "staged=$(/usr/bin/mktemp /private/etc/.tallowmere-hosts.XXXXXX)\n"
        "trap '/bin/rm -f \"$staged\"' EXIT\n"
        "/bin/cat " + quoted + " > \"$staged\"\n"
        "/usr/bin/cmp -s " + quoted + " \"$staged\"\n"
        "/usr/sbin/chown 0:0 \"$staged\"\n"
        "/bin/chmod 644 \"$staged\"\n"
        "/bin/mv -f \"$staged\" /private/etc/hosts\n"
        "/usr/bin/cmp -s " + quoted + " /private/etc/hosts\n"
        "if ! /usr/bin/dscacheutil -flushcache >/dev/null 2>&1; then\n"
        "    /usr/bin/printf 'CACHE_REFRESH_FAILED\\n'\n"
        "fi\n"
        "if ! /usr/bin/killall -HUP mDNSResponder >/dev/null 2>&1; then\n"
        "    /usr/bin/printf 'CACHE_REFRESH_FAILED\\n'\n"
        "fi";
    EXPECT_EQ(HostsApplyScript::shellScript(stagedFile), expected);
}

TEST(HostsApplyScriptTest, AppleScriptSourceEscapesBackslashesThenQuotes) {
    const std::string source = HostsApplyScript::appleScriptSource(HostsApplyScript::shellScript(stagedFile));
    const std::string quoted = R"('/tmp/it'\\''s \"x\"\\y/tallowmere-hosts-1.txt')";
    const std::string expected =
        "do shell script \""
        "set -e\n"
        "staged=$(/usr/bin/mktemp /private/etc/.tallowmere-hosts.XXXXXX)\n"
        "trap '/bin/rm -f \\\"$staged\\\"' EXIT\n"
        "/bin/cat " + quoted + " > \\\"$staged\\\"\n"
        "/usr/bin/cmp -s " + quoted + " \\\"$staged\\\"\n"
        "/usr/sbin/chown 0:0 \\\"$staged\\\"\n"
        "/bin/chmod 644 \\\"$staged\\\"\n"
        "/bin/mv -f \\\"$staged\\\" /private/etc/hosts\n"
        "/usr/bin/cmp -s " + quoted + " /private/etc/hosts\n"
        "if ! /usr/bin/dscacheutil -flushcache >/dev/null 2>&1; then\n"
        "    /usr/bin/printf 'CACHE_REFRESH_FAILED\\\\n'\n"
        "fi\n"
        "if ! /usr/bin/killall -HUP mDNSResponder >/dev/null 2>&1; then\n"
        "    /usr/bin/printf 'CACHE_REFRESH_FAILED\\\\n'\n"
        "fi"
        "\" with administrator privileges";
    EXPECT_EQ(source, expected);
}

}  // namespace
}  // namespace tallowmere
