#include "platform/gfx/pango_text.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tallowmere::platform::pango_text {
namespace {

// The system faces are Mac names; here they stand for fontconfig's defaults.
std::string pangoFamily(const Font& font) {
    if (font.name() == ".SystemUIFontMonospaced") return "monospace";
    if (font.isSystemFont()) return "sans-serif";
    return font.familyName();
}

PangoWeight pangoWeight(FontWeight weight) { return static_cast<PangoWeight>(cssWeight(weight)); }

guint16 channel(double value) {
    const double v = std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
    return static_cast<guint16>(std::lround(v * 65535));
}

void insert(PangoAttrList* list, PangoAttribute* attribute, const TextRange& range) {
    attribute->start_index = static_cast<guint>(range.location);
    attribute->end_index = static_cast<guint>(range.end());
    pango_attr_list_insert(list, attribute);  // takes ownership
}

void insertColor(PangoAttrList* list, const Color& color, Appearance appearance, const TextRange& range,
                 bool background) {
    const RGBA v = color.rgba(appearance);
    if (background) {
        insert(list, pango_attr_background_new(channel(v.red), channel(v.green), channel(v.blue)), range);
        insert(list, pango_attr_background_alpha_new(channel(v.alpha)), range);
    } else {
        insert(list, pango_attr_foreground_new(channel(v.red), channel(v.green), channel(v.blue)), range);
        insert(list, pango_attr_foreground_alpha_new(std::max<guint16>(1, channel(v.alpha))), range);
    }
}

PangoUnderline pangoUnderline(UnderlineStyle style) {
    switch (style) {
    case UnderlineStyle::none: return PANGO_UNDERLINE_NONE;
    case UnderlineStyle::single: return PANGO_UNDERLINE_SINGLE;
    case UnderlineStyle::thick: return PANGO_UNDERLINE_SINGLE;  // pango has no heavier plain line
    case UnderlineStyle::double_: return PANGO_UNDERLINE_DOUBLE;
    }
    return PANGO_UNDERLINE_NONE;
}

int pangoUnits(double points) {
    return std::isfinite(points) ? static_cast<int>(std::lround(std::clamp(points, -1e6, 1e6) * PANGO_SCALE)) : 0;
}

double baselineOfLine(PangoLayout* layout, int lineNumber) {
    PangoLayoutIter* lines = pango_layout_get_iter(layout);
    for (int i = 0; i < lineNumber && pango_layout_iter_next_line(lines); ++i) {
    }
    const int baseline = pango_layout_iter_get_baseline(lines);
    pango_layout_iter_free(lines);
    return baseline / double(PANGO_SCALE);
}

}  // namespace

FontDescriptionPtr fontDescription(const Font& font) {
    FontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), pangoFamily(font).c_str());
    pango_font_description_set_weight(description.get(), pangoWeight(font.weight()));
    pango_font_description_set_style(description.get(), font.isItalic() ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    pango_font_description_set_absolute_size(description.get(), font.pointSize() * PANGO_SCALE);
    return description;
}

GObjectPtr<PangoLayout> makeLayout(PangoContext* context, const AttributedString& text,
                                   std::optional<double> wrapWidth, Appearance appearance) {
    GObjectPtr<PangoLayout> layout(pango_layout_new(context));
    pango_layout_set_text(layout.get(), text.text().data(), static_cast<int>(text.text().size()));

    const Font defaultFont = Font::systemFont(Font::systemFontSize);
    auto firstFont = text.runs().empty() ? defaultFont : text.runs().front().attributes.font.value_or(defaultFont);
    pango_layout_set_font_description(layout.get(), fontDescription(firstFont).get());

    PangoAttrList* list = pango_attr_list_new();
    for (const auto& run : text.runs()) {
        if (run.range.length == 0) continue;
        const auto& a = run.attributes;
        const Font font = a.font.value_or(defaultFont);
        insert(list, pango_attr_font_desc_new(fontDescription(font).get()), run.range);
        if (font.isMonospacedDigit() && !font.isFixedPitch())
            insert(list, pango_attr_font_features_new("tnum"), run.range);
        insertColor(list, a.foregroundColor.value_or(Color::system(SystemColor::label)), appearance, run.range,
                    false);
        if (a.backgroundColor) insertColor(list, *a.backgroundColor, appearance, run.range, true);
        if (a.underline != UnderlineStyle::none) {
            insert(list, pango_attr_underline_new(pangoUnderline(a.underline)), run.range);
            if (a.underlineColor) {
                const RGBA v = a.underlineColor->rgba(appearance);
                insert(list, pango_attr_underline_color_new(channel(v.red), channel(v.green), channel(v.blue)),
                       run.range);
            }
        }
        if (a.strikethrough) insert(list, pango_attr_strikethrough_new(TRUE), run.range);
        if (a.kern != 0 && std::isfinite(a.kern))
            insert(list, pango_attr_letter_spacing_new(static_cast<int>(std::lround(a.kern * PANGO_SCALE))),
                   run.range);
        if (a.attachment) {
            // The picture's box takes the character's place in the line; the
            // picture itself is drawn by whoever draws the layout.
            const Rect& b = a.attachment->bounds;
            PangoRectangle box{pangoUnits(b.minX()), pangoUnits(-b.maxY()), pangoUnits(b.width()), pangoUnits(b.height())};
            insert(list, pango_attr_shape_new(&box, &box), run.range);
        }
        if (a.baselineOffset != 0 && std::isfinite(a.baselineOffset))
            insert(list, pango_attr_rise_new(static_cast<int>(std::lround(a.baselineOffset * PANGO_SCALE))),
                   run.range);
    }
    pango_layout_set_attributes(layout.get(), list);
    pango_attr_list_unref(list);

    if (wrapWidth && std::isfinite(*wrapWidth)) {
        pango_layout_set_width(layout.get(), static_cast<int>(std::max(0.0, *wrapWidth) * PANGO_SCALE));
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    }
    return layout;
}

std::vector<PlacedAttachment> placeAttachments(PangoLayout* layout, const AttributedString& text) {
    std::vector<PlacedAttachment> placed;
    for (const auto& [offset, attachment] : text.attachments()) {
        const int index = static_cast<int>(offset);
        PangoRectangle position;
        pango_layout_index_to_pos(layout, index, &position);
        int lineNumber = 0, x = 0;
        pango_layout_index_to_line_x(layout, index, FALSE, &lineNumber, &x);
        const double left = std::min(position.x, position.x + position.width) / double(PANGO_SCALE);
        const Rect& b = attachment->bounds;
        placed.push_back(
            {attachment, Rect{left + b.minX(), baselineOfLine(layout, lineNumber) - b.maxY(), b.width(), b.height()}});
    }
    return placed;
}

}  // namespace tallowmere::platform::pango_text
