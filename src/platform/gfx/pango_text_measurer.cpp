#include "platform/gfx/pango_text_measurer.h"

#include <pango/pangocairo.h>

#include <algorithm>

#include "platform/gfx/font_configuration.h"
#include "platform/gfx/pango_text.h"

namespace tallowmere::platform {

namespace {

PangoFontMap* newFontMap() {
    useProgramFontConfiguration();
    return pango_cairo_font_map_new();
}

}  // namespace

struct PangoTextMeasurer::Impl {
    pango_text::GObjectPtr<PangoFontMap> fontMap{newFontMap()};
    pango_text::GObjectPtr<PangoContext> context{pango_font_map_create_context(fontMap.get())};
};

PangoTextMeasurer::PangoTextMeasurer() : impl_(std::make_unique<Impl>()) {
    // The same unhinted metrics the cairo canvas draws with, so measured
    // boxes fit the drawn text at every scale.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(impl_->context.get(), options);
    cairo_font_options_destroy(options);
}
PangoTextMeasurer::~PangoTextMeasurer() = default;

LineMetrics PangoTextMeasurer::lineMetrics(const Font& font) const {
    const auto description = pango_text::fontDescription(font);
    PangoFontMetrics* metrics = pango_context_get_metrics(impl_->context.get(), description.get(), nullptr);
    const double ascent = pango_font_metrics_get_ascent(metrics) / double(PANGO_SCALE);
    const double descent = pango_font_metrics_get_descent(metrics) / double(PANGO_SCALE);
    const double height = pango_font_metrics_get_height(metrics) / double(PANGO_SCALE);
    pango_font_metrics_unref(metrics);
    return {ascent, descent, std::max(0.0, height - ascent - descent)};
}

Size PangoTextMeasurer::measure(const AttributedString& text, std::optional<double> wrapWidth) const {
    return measureLines(text, wrapWidth, 0);
}

Size PangoTextMeasurer::measureLines(const AttributedString& text, std::optional<double> wrapWidth,
                                     int lines) const {
    // Colours do not change sizes; any appearance will do.
    const auto layout = pango_text::makeLayout(impl_->context.get(), text, wrapWidth, Appearance::light);
    if (lines <= 0 || pango_layout_get_line_count(layout.get()) <= lines) {
        PangoRectangle logical;
        pango_layout_get_extents(layout.get(), nullptr, &logical);
        return {logical.width / double(PANGO_SCALE), logical.height / double(PANGO_SCALE)};
    }
    // Down to the bottom of the last line shown, each line as tall as its
    // own faces make it.
    PangoLayoutIter* line = pango_layout_get_iter(layout.get());
    int width = 0, bottom = 0;
    for (int i = 0; i < lines; ++i, pango_layout_iter_next_line(line)) {
        PangoRectangle logical;
        pango_layout_iter_get_line_extents(line, nullptr, &logical);
        width = std::max(width, logical.width);
        pango_layout_iter_get_line_yrange(line, nullptr, &bottom);
    }
    pango_layout_iter_free(line);
    return {width / double(PANGO_SCALE), bottom / double(PANGO_SCALE)};
}

std::vector<std::string> PangoTextMeasurer::faceFamilies(const AttributedString& text) const {
    const auto layout = pango_text::makeLayout(impl_->context.get(), text, std::nullopt, Appearance::light);
    std::vector<std::string> families;
    for (GSList* line = pango_layout_get_lines_readonly(layout.get()); line; line = line->next) {
        for (GSList* run = static_cast<PangoLayoutLine*>(line->data)->runs; run; run = run->next) {
            const auto* item = static_cast<PangoLayoutRun*>(run->data)->item;
            const pango_text::FontDescriptionPtr face(pango_font_describe(item->analysis.font));
            const char* family = pango_font_description_get_family(face.get());
            families.emplace_back(family ? family : "");
        }
    }
    return families;
}

}  // namespace tallowmere::platform
