#pragma once

#include <memory>

#include "platform/ui/view.h"

namespace tallowmere {

// The document view of the main window's page scroll views: top-down, so
// a page's content starts at its top.
class FlippedDocumentView : public platform::View {
public:
    static std::shared_ptr<FlippedDocumentView> make() {
        return std::shared_ptr<FlippedDocumentView>(new FlippedDocumentView());
    }
    bool isFlipped() const override { return true; }

protected:
    FlippedDocumentView() : View({}) {}
};

}  // namespace tallowmere
