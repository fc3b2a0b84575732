#pragma once

#include <memory>
#include <optional>

#include "platform/ui/image_view.h"

namespace tallowmere {

namespace platform {
class Panel;
class TrackingArea;
class WorkItem;
}  // namespace platform

// The small status-icon picture of the settings page. Resting the pointer
// on it for a second, or clicking it, shows the icon large in a floating,
// click-through 300 × 300 panel beside the pointer, gone when the pointer
// leaves.
class StatusIconPreviewImageView : public platform::ImageView {
public:
    static constexpr double previewSide = 300;
    static constexpr double pointerGap = 14;
    static constexpr double hoverDelay = 1.0;

    static std::shared_ptr<StatusIconPreviewImageView> make();
    ~StatusIconPreviewImageView() override;

    // The picture the large preview shows; the small one when absent.
    std::optional<platform::Image> largePreviewImage;

    // The panel while the preview is shown.
    std::shared_ptr<platform::Panel> previewPanel() const { return previewPanel_; }
    bool hasPendingPreview() const { return hoverWorkItem_ != nullptr; }

    void updateTrackingAreas() override;
    void mouseEntered(const platform::Event& event) override;
    void mouseExited(const platform::Event& event) override;
    void mouseDown(const platform::Event& event) override;

    // Where the preview's origin goes for the pointer at `pointer` on a
    // screen whose visible frame is `visibleFrame`: below and right of the
    // pointer, above it when there is no room below, kept inside the frame.
    static platform::ScreenPoint previewOrigin(platform::ScreenPoint pointer, platform::ScreenRect visibleFrame);

protected:
    StatusIconPreviewImageView();

private:
    void showLargePreview();
    void cancelPendingPreview();
    void closePreview();

    std::shared_ptr<platform::TrackingArea> hoverTrackingArea_;
    std::shared_ptr<platform::WorkItem> hoverWorkItem_;
    std::shared_ptr<platform::Panel> previewPanel_;
};

}  // namespace tallowmere
