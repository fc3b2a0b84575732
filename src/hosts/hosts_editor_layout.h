#pragma once

#include <memory>

#include "platform/ui/view.h"
#include "platform/ui/visual_effect_view.h"

namespace tallowmere {

// The sidebar of the hosts editor, laid out top-down: the header, the
// outline taking what room is left, then the add buttons, the restore button
// and the note pinned to the bottom. Each slot is placed by its own spacing,
// which plain edge pins cannot express.
class HostsSidebarView : public platform::VisualEffectView {
public:
    static std::shared_ptr<HostsSidebarView> make();

    std::shared_ptr<platform::View> header;
    std::shared_ptr<platform::View> outlineScroll;
    std::shared_ptr<platform::View> buttonRow;
    std::shared_ptr<platform::View> restoreButton;
    std::shared_ptr<platform::View> note;

    // Adds the slots as subviews once they are set.
    void install();
    bool isFlipped() const override { return true; }
    void layout() override;

protected:
    HostsSidebarView() : VisualEffectView({}, platform::VisualEffectMaterial::sidebar) {}
};

// The editor pane: the header row at the top, the footer at the bottom and
// the text editor between them.
class HostsEditorPane : public platform::View {
public:
    static std::shared_ptr<HostsEditorPane> make();

    std::shared_ptr<platform::View> header;
    std::shared_ptr<platform::View> editorScroll;
    std::shared_ptr<platform::View> footer;

    void install();
    bool isFlipped() const override { return true; }
    void layout() override;

protected:
    HostsEditorPane() : View(platform::Rect{}) {}
};

}  // namespace tallowmere
