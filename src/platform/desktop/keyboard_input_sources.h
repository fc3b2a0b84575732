#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tallowmere::platform {

// One input source of the system's text input menu.
struct KeyboardInputSource {
    std::string id;             // "com.apple.keylayout.ABC"
    std::string localizedName;  // "ABC"
    bool enabled = true;        // added in the keyboard settings
    bool selectCapable = true;  // can be chosen (not a palette, say)
    bool isKeyboardSource = true;
};

// The simulated Mac's keyboard input sources: what is installed, which are
// enabled, which is selected, and the selections asked of it. The list may
// hold one identifier twice, as the system's own list sometimes does. A test
// can make selection fail with a status. One per desktop.
class KeyboardInputSources {
public:
    // The status of a selection the system refuses.
    static constexpr int parameterError = -50;

    // A Mac as it comes: "ABC" selected and Pinyin enabled.
    KeyboardInputSources();
    KeyboardInputSources(const KeyboardInputSources&) = delete;
    KeyboardInputSources& operator=(const KeyboardInputSources&) = delete;

    void removeAll();
    void add(KeyboardInputSource source);
    // Every source with that identifier.
    void setEnabled(const std::string& id, bool enabled);

    // The sources matching the filter, in the system's order.
    std::vector<KeyboardInputSource> list(bool keyboardOnly, bool enabledOnly, bool selectCapableOnly) const;
    // 0, or the status of the failure: an identifier that is not enabled
    // and select-capable, or a failure the test asked for.
    int select(const std::string& id);
    std::optional<std::string> selectedID() const { return selected_; }
    // What a person chose themselves, as a scene starts with it.
    void setSelectedID(std::string id) { selected_ = std::move(id); }
    // Every identifier selected successfully, in order.
    const std::vector<std::string>& selections() const { return selections_; }
    void setSelectionFailure(std::optional<int> status) { failure_ = status; }

private:
    std::vector<KeyboardInputSource> sources_;
    std::optional<std::string> selected_;
    std::vector<std::string> selections_;
    std::optional<int> failure_;
};

}  // namespace tallowmere::platform
