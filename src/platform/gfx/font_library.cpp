#include "platform/gfx/font_library.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <utility>

#include "platform/gfx/font_configuration.h"
#include "platform/runtime/app_context.h"

namespace tallowmere::platform {
namespace {

std::vector<Typeface> builtInTypefaces() {
    // The system faces come in every weight by synthesis, so one entry each.
    return {
        {".SystemUIFont", ".SystemUIFont", FontWeight::regular, false, false},
        {".SystemUIFontMonospaced", ".SystemUIFontMonospaced", FontWeight::regular, false, true},
    };
}

// A fixed system for tests, so nothing depends on the machine's fonts.
std::vector<Typeface> deterministicTypefaces() {
    std::vector<Typeface> faces = builtInTypefaces();
    const std::vector<Typeface> more{
        {"Helvetica", "Helvetica", FontWeight::regular, false, false},
        {"Helvetica-Bold", "Helvetica", FontWeight::bold, false, false},
        {"Menlo-Regular", "Menlo", FontWeight::regular, false, true},
        {"Menlo-Bold", "Menlo", FontWeight::bold, false, true},
        {"PingFangSC-Regular", "PingFang SC", FontWeight::regular, false, false},
        {"PingFangSC-Semibold", "PingFang SC", FontWeight::semibold, false, false},
        {"AppleColorEmoji", "Apple Color Emoji", FontWeight::regular, false, false},
        {"STKaiti", "Kaiti SC", FontWeight::regular, false, false},
        {"STKaitiSC-Bold", "Kaiti SC", FontWeight::bold, false, false},
    };
    faces.insert(faces.end(), more.begin(), more.end());
    return faces;
}

std::vector<Typeface> fontconfigTypefaces() {
    std::vector<Typeface> faces = builtInTypefaces();
    useProgramFontConfiguration();
    PangoFontMap* map = pango_cairo_font_map_get_default();  // owned by pango
    PangoFontFamily** families = nullptr;
    int count = 0;
    pango_font_map_list_families(map, &families, &count);
    for (int i = 0; i < count; ++i) {
        const std::string family = pango_font_family_get_name(families[i]);
        faces.push_back({family, family, FontWeight::regular, false,
                         static_cast<bool>(pango_font_family_is_monospace(families[i]))});
    }
    g_free(families);
    return faces;
}

}  // namespace

FontLibrary& FontLibrary::shared() { return AppContext::current().shared<FontLibrary>(); }

std::shared_ptr<FontLibrary> FontLibrary::makeShared() {
    const bool deterministic = AppContext::current().isDeterministic();
    if (deterministic) return std::make_shared<FontLibrary>(deterministicTypefaces());
    return makeFromFontconfig();
}

std::shared_ptr<FontLibrary> FontLibrary::makeFromFontconfig() {
    return std::make_shared<FontLibrary>(TypefaceSource(fontconfigTypefaces));
}

FontLibrary::FontLibrary(std::vector<Typeface> typefaces) : typefaces_(std::move(typefaces)) {}

FontLibrary::FontLibrary(TypefaceSource source) : source_(std::move(source)) {}

std::vector<Typeface>& FontLibrary::loaded() const {
    std::call_once(loading_, [this] {
        if (source_) typefaces_ = std::exchange(source_, nullptr)();
    });
    return typefaces_;
}

const std::vector<Typeface>& FontLibrary::typefaces() const { return loaded(); }

std::optional<Typeface> FontLibrary::typeface(std::string_view nameOrFamily) const {
    if (nameOrFamily.empty()) return std::nullopt;
    const std::vector<Typeface>& typefaces = loaded();
    for (const auto& face : typefaces)
        if (face.name == nameOrFamily) return face;
    // A family name: its regular upright face, else its first face.
    std::optional<Typeface> first;
    for (const auto& face : typefaces) {
        if (face.family != nameOrFamily) continue;
        if (face.weight == FontWeight::regular && !face.italic) return face;
        if (!first) first = face;
    }
    return first;
}

std::vector<std::string> FontLibrary::familyNames() const {
    std::vector<std::string> names;
    for (const auto& face : loaded()) names.push_back(face.family);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

void FontLibrary::addTypeface(Typeface typeface) {
    removeTypeface(typeface.name);
    loaded().push_back(std::move(typeface));
}

void FontLibrary::removeTypeface(std::string_view name) {
    std::erase_if(loaded(), [&](const Typeface& face) { return face.name == name; });
}

void FontLibrary::setSystemFontReplacement(SystemFontReplacement replacement) {
    replacement_ = std::move(replacement);
}

Font FontLibrary::systemFont(double size, std::optional<FontWeight> weight) const {
    const Font platform = Font::platformSystemFont(size, weight);
    return replacement_ ? replacement_(size, weight, platform) : platform;
}

Font FontLibrary::menuFont(double size) const {
    const Font platform = Font::platformMenuFont(size);
    return replacement_ ? replacement_(size, std::nullopt, platform) : platform;
}

}  // namespace tallowmere::platform

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps what it parses from its configuration files for the life
// of the process and never frees part of it; LeakSanitizer would fail every
// program that draws text. Only fontconfig's own allocations are excused.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
