#pragma once

namespace tallowmere {

// The hosts-file editor: profiles, backups and the privileged apply. One
// per process (`shared()`).
//
// For now showing it does nothing: the editor window comes with the hosts
// editor, and until then no menu item leads here.
class HostsEditorController {
public:
    static HostsEditorController& shared();

    HostsEditorController() = default;
    HostsEditorController(const HostsEditorController&) = delete;
    HostsEditorController& operator=(const HostsEditorController&) = delete;

    // Opens the editor window and brings it to the front.
    void show() {}
};

}  // namespace tallowmere
