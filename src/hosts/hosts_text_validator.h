#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tallowmere {

// Checks a hosts text line by line: every line that is not blank and not a
// comment needs at least two fields (an address and a host name) before any
// "#". Lines break at each Unicode newline character on its own (so CR LF
// counts two breaks), ends are trimmed of Unicode spaces and tabs, and
// fields are split at spaces and tabs only. Nothing else is checked.
//
// Nothing when the text is acceptable, else the message for the first bad
// line: "第 <n> 行缺少主机名，正确格式为：IP 地址 + 主机名。"
std::optional<std::string> validateHostsText(std::string_view text);

}  // namespace tallowmere
