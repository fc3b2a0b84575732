#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/runtime/notification_center.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/table_view.h"
#include "platform/ui/view.h"
#include "selection/selvane_exclusions.h"

namespace tallowmere {

// The list of applications where the selection bar stays away: one row per
// application with its remove button, and a button that adds applications
// chosen in an open panel shown as a sheet. It follows the store, so a change
// made by the bar shows at once.
class SelvaneExclusionsView : public platform::View {
public:
    static constexpr double defaultHeight = 126;

    static std::shared_ptr<SelvaneExclusionsView> make(double height = defaultHeight);
    ~SelvaneExclusionsView() override;

    const std::shared_ptr<platform::TableView>& table() const { return table_; }
    const std::shared_ptr<platform::Label>& emptyLabel() const { return emptyLabel_; }
    const std::shared_ptr<platform::Button>& addButton() const { return addButton_; }
    const std::vector<SelvaneExclusions::Entry>& entries() const { return entries_; }

    // A remove button's action: forgets the application whose identifier
    // the button carries.
    void removeApplication(const platform::View& sender);
    // Opens the chooser on the view's window; nothing without a window or
    // while a chooser is already open.
    void addApplications();

    struct Private;
    SelvaneExclusionsView(Private, double height);

private:
    void build(double height);
    void reload();
    std::shared_ptr<platform::View> cell(const platform::TableColumn& column, std::size_t row);

    std::shared_ptr<platform::TableView> table_;
    std::shared_ptr<platform::Label> emptyLabel_;
    std::shared_ptr<platform::Button> addButton_;
    std::vector<SelvaneExclusions::Entry> entries_;
    std::optional<platform::ObserverToken> observer_;
};

}  // namespace tallowmere
