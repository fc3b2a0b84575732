#pragma once

#include <memory>
#include <string>

#include "platform/ui/button.h"

namespace tallowmere {

namespace platform {
class Animation;
}

// One symbol of the library's grid: the symbol large and centred; a click
// runs `onAction`. A copy plays a short press, the symbol shrinking a little
// and springing back.
class SymbolCollectionItem : public platform::Button {
public:
    static constexpr const char* itemIdentifier = "SymbolCollectionItem";
    static constexpr double pressSeconds = 0.18;
    static constexpr double pressedScale = 0.86;

    static std::shared_ptr<SymbolCollectionItem> make(std::string symbol);

    const std::string& symbol() const { return title(); }
    // The drawn size against the item's, 1 at rest.
    double scale() const { return scale_; }
    // Down to `pressedScale` and back over `pressSeconds`; a press while one
    // runs starts again from where it is.
    void playPress();
    bool isPressing() const;

    void draw(platform::Canvas& canvas, platform::Rect dirty) override;

protected:
    explicit SymbolCollectionItem(platform::Rect frame);

private:
    double scale_ = 1;
    std::shared_ptr<platform::Animation> press_;
};

}  // namespace tallowmere
