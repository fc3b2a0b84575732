#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallowmere::platform {

// A script's result as the platform hands it over: a text or a list of
// descriptors, items counted from 1.
class AppleEventDescriptor {
public:
    static AppleEventDescriptor text(std::string value);
    static AppleEventDescriptor list(std::vector<AppleEventDescriptor> items);

    // A text's value; none for a list.
    std::optional<std::string> stringValue() const;
    // A list's item count; 0 for a text.
    long numberOfItems() const;
    // The item at `index` (1 ... numberOfItems()); none outside.
    std::optional<AppleEventDescriptor> descriptorAtIndex(long index) const;
    // As osascript prints a result: a text as it is, a list's items joined
    // with ", ".
    std::string printed() const;

private:
    bool isList_ = false;
    std::string text_;
    std::vector<AppleEventDescriptor> items_;
};

// The error dictionary of a failed script: its number and message.
struct AppleScriptError {
    int number = -2700;
    std::string message;
};

// What running a script gave: a result, an error, or (a script that
// returns nothing) neither.
struct AppleScriptOutcome {
    std::optional<AppleEventDescriptor> result;
    std::optional<AppleScriptError> error;
};

}  // namespace tallowmere::platform
