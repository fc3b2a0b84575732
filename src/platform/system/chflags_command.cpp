#include "platform/system/chflags_command.h"

#include <string>

#include "platform/system/hidden_flag.h"
#include "platform/system/system_error.h"

namespace tallowmere::platform::ChflagsCommand {

namespace {

int usage(CommandCall& call) {
    call.writeError("usage: chflags [-fhv] [-R [-H | -L | -P]] flags file ...\n");
    return 1;
}

}  // namespace

int chflags(CommandCall& call) {
    const auto& arguments = call.arguments();
    std::size_t i = 0;
    // -h acts on a link itself; the mark is on the name either way.
    while (i < arguments.size() && arguments[i] == "-h") ++i;
    if (i < arguments.size() && arguments[i] == "--") ++i;
    if (i + 2 > arguments.size()) return usage(call);
    const std::string& flag = arguments[i++];
    if (flag != "hidden" && flag != "nohidden") {
        call.writeError("chflags: invalid flag: " + flag + "\n");
        return 1;
    }
    int status = 0;
    for (; i < arguments.size(); ++i) {
        const std::string& file = arguments[i];
        if (auto set = HiddenFlag::setHidden(file, flag == "hidden"); !set) {
            call.writeError("chflags: " + file + ": " + systemReason(set.error().systemCode) + "\n");
            status = 1;
        }
    }
    return status;
}

}  // namespace tallowmere::platform::ChflagsCommand
