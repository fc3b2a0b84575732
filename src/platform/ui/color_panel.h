#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "platform/gfx/color.h"

namespace tallowmere::platform {

class Panel;
class TextField;
class View;

// The system's shared colour panel on the simulated desktop: the colour in
// use, a palette of swatches and a hex field. A click on a swatch, or
// "#RRGGBB" typed into the field and confirmed with Return, chooses a colour,
// which goes to the active colour well (`ColorWell::deliverPanelColor`).
// It never takes a well's place: with no well active a choice only changes
// what the panel shows. One per AppContext; the panel is made on first
// showing and then reused, staying where the person moved it.
class ColorPanel {
public:
    static constexpr double width = 272;
    static constexpr double height = 216;
    // The palette, row by row, eight to a row: greys, then each hue bright,
    // light, dark and muted.
    static constexpr std::array<std::string_view, 40> palette{
        "#FFFFFF", "#E0E0E0", "#C0C0C0", "#9E9E9E", "#757575", "#4D4D4D", "#262626", "#000000",
        "#E5483D", "#F5922F", "#F7CF45", "#4CB963", "#2EB8B0", "#2F7FF0", "#5B5BD6", "#A45BD8",
        "#F7B3AE", "#FAD1A6", "#FBE7A5", "#B5E3C0", "#A9E1DD", "#A8C8F8", "#C3C3F0", "#DDBDF0",
        "#9E2A22", "#A85A12", "#A8861C", "#2A7A3D", "#1A7A74", "#1C4FA0", "#36368C", "#6A3290",
        "#D98C84", "#D9A97A", "#D9C67A", "#8CBF98", "#7FBFBA", "#7FA5D9", "#9A9AD0", "#B894D0",
    };

    static ColorPanel& shared();
    ColorPanel() = default;
    ColorPanel(const ColorPanel&) = delete;
    ColorPanel& operator=(const ColorPanel&) = delete;

    // Brings the panel to the front; the first time at the top right of the
    // main screen's visible frame.
    void orderFront();
    void close();
    bool isVisible() const;

    const Color& color() const { return color_; }
    // Shows `color` as the one in use; nothing is sent.
    void setColor(Color color);
    // A person's choice: shown as the colour in use and given to the active well.
    void choose(const Color& color);

    // Made at the first `orderFront`.
    const std::shared_ptr<Panel>& panel() const { return panel_; }
    std::shared_ptr<View> swatch(std::size_t index) const;
    const std::shared_ptr<TextField>& hexField() const { return hexField_; }

private:
    void makePanel();
    void showColor();
    void confirmHex();

    Color color_ = Color::white();
    std::shared_ptr<Panel> panel_;
    std::shared_ptr<View> preview_;
    std::shared_ptr<View> grid_;
    std::shared_ptr<TextField> hexField_;
};

}  // namespace tallowmere::platform
