#include "platform/desktop/keyboard_input_sources.h"

#include <algorithm>

namespace tallowmere::platform {

KeyboardInputSources::KeyboardInputSources() {
    add({"com.apple.keylayout.ABC", "ABC"});
    add({"com.apple.inputmethod.SCIM.ITABC", "简体拼音"});
    selected_ = "com.apple.keylayout.ABC";
}

void KeyboardInputSources::removeAll() {
    sources_.clear();
    selected_.reset();
}

void KeyboardInputSources::add(KeyboardInputSource source) { sources_.push_back(std::move(source)); }

void KeyboardInputSources::setEnabled(const std::string& id, bool enabled) {
    for (auto& source : sources_) {
        if (source.id == id) source.enabled = enabled;
    }
}

std::vector<KeyboardInputSource> KeyboardInputSources::list(bool keyboardOnly, bool enabledOnly,
                                                            bool selectCapableOnly) const {
    std::vector<KeyboardInputSource> matching;
    for (const auto& source : sources_) {
        if ((keyboardOnly && !source.isKeyboardSource) || (enabledOnly && !source.enabled) ||
            (selectCapableOnly && !source.selectCapable)) {
            continue;
        }
        matching.push_back(source);
    }
    return matching;
}

int KeyboardInputSources::select(const std::string& id) {
    if (failure_) return *failure_;
    const bool selectable = std::any_of(sources_.begin(), sources_.end(), [&](const KeyboardInputSource& source) {
        return source.id == id && source.enabled && source.selectCapable;
    });
    if (!selectable) return parameterError;
    selected_ = id;
    selections_.push_back(id);
    return 0;
}

}  // namespace tallowmere::platform
