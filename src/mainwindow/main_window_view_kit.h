#pragma once

// The small view makers both pages of the main window build their cards with.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "localization/product_identity.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/stack_view.h"

namespace tallowmere::mainwindowkit {

// The Chinese text for the Chinese-script languages, the English one for the others.
inline std::string byLanguage(const char* chinese, const char* english) {
    return ProductIdentity::usesChineseDisplayName() ? chinese : english;
}

inline std::shared_ptr<platform::Label> makeLabel(const std::string& text, double size,
                                                  platform::FontWeight weight = platform::FontWeight::regular) {
    auto label = platform::Label::make(text);
    label->setFont(platform::Font::systemFont(size, weight));
    return label;
}

// A wrapping line in the secondary colour, of at most `lines` lines (0: any).
inline std::shared_ptr<platform::Label> makeNote(const std::string& text, double size, int lines = 0) {
    auto label = platform::Label::makeWrapping(text);
    label->setFont(platform::Font::systemFont(size));
    label->setTextColor(platform::Color::system(platform::SystemColor::secondaryLabel));
    if (lines > 0) label->setMaximumNumberOfLines(lines);
    return label;
}

// At least `height` high; taller when its content needs it.
inline void setMinimumHeight(platform::View& view, double height) {
    auto constraints = view.sizeConstraints();
    constraints.minHeight = height;
    view.setSizeConstraints(constraints);
}

// A text that wraps onto as many lines as it needs and, in a row, gives up
// width before its neighbours do (it grows taller instead).
inline void letWrapInRow(platform::Label& label) {
    label.setLineBreakMode(platform::LineBreakMode::byWordWrapping);
    label.setMaximumNumberOfLines(0);
    label.setCompressionResistancePriority(platform::LayoutPriority::defaultLow, platform::LayoutAxis::horizontal);
}

// The text part of a row: its labels wrap, and the column is the first of
// the row's views to give up width.
inline std::shared_ptr<platform::StackView> textColumn(const std::vector<std::shared_ptr<platform::Label>>& labels,
                                                       double spacing) {
    auto stack = platform::StackView::makeVertical();
    for (const auto& label : labels) {
        letWrapInRow(*label);
        stack->addArrangedSubview(label);
    }
    stack->setAlignment(platform::StackAlignment::leading);
    stack->setSpacing(spacing);
    stack->setCompressionResistancePriority(platform::LayoutPriority::defaultLow, platform::LayoutAxis::horizontal);
    return stack;
}

// `width` wide, unless that would cut the title: then as wide as the button
// asks with its full margins.
inline void setWidthKeepingTitleWhole(platform::Button& button, double width) {
    button.setFixedWidth(button.narrowestWidth() <= width ? width : std::ceil(button.intrinsicContentSize().width));
}

// `width` wide, or as wide as the longest item needs.
inline void setWidthKeepingTitleWhole(platform::PopUpButton& popUp, double width) {
    popUp.setFixedWidth(std::max(width, std::ceil(popUp.intrinsicContentSize().width)));
}

inline std::shared_ptr<platform::Button> makePushButton(const std::string& title, platform::ControlSize size) {
    auto button = platform::Button::make(title);
    button->setBezelStyle(platform::BezelStyle::push);
    button->setControlSize(size);
    return button;
}

inline std::shared_ptr<platform::StackView> row(std::vector<std::shared_ptr<platform::View>> views, double spacing,
                                                platform::StackAlignment alignment = platform::StackAlignment::centerY) {
    auto stack = platform::StackView::makeHorizontal(std::move(views));
    stack->setAlignment(alignment);
    stack->setSpacing(spacing);
    return stack;
}

inline std::shared_ptr<platform::StackView> column(std::vector<std::shared_ptr<platform::View>> views, double spacing) {
    auto stack = platform::StackView::makeVertical(std::move(views));
    stack->setAlignment(platform::StackAlignment::leading);
    stack->setSpacing(spacing);
    return stack;
}

}  // namespace tallowmere::mainwindowkit
