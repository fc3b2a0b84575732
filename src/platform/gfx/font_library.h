#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/font.h"

namespace tallowmere::platform {

// One face the system can make fonts of.
struct Typeface {
    std::string name{};    // PostScript-style name: "KaitiTC-Bold"
    std::string family{};  // "Kaiti TC"
    FontWeight weight = FontWeight::regular;
    bool italic = false;
    bool fixedPitch = false;
    bool operator==(const Typeface&) const = default;
};

// The typefaces the system has, and the one place system and menu fonts are
// made, so a process-wide replacement of them (the Traditional Chinese
// interface's Kaiti) reaches every view, menu and drawn text.
//
// A deterministic context starts with a fixed list (the system faces,
// "Helvetica", "Menlo", "PingFang SC", "Apple Color Emoji", "Kaiti SC",
// "STKaiti"); tests add or remove faces to stage a system. The program starts
// with the system faces plus every family fontconfig knows.
class FontLibrary {
public:
    // Answers a system or menu font request. `weight` is absent for requests
    // that carry none (the plain system font and the menu font); `fallback`
    // is the platform's own font for the request.
    using SystemFontReplacement =
        std::function<Font(double size, std::optional<FontWeight> weight, const Font& fallback)>;

    static FontLibrary& shared();
    static std::shared_ptr<FontLibrary> makeShared();
    // The system faces plus every family fontconfig knows (what the program
    // starts with).
    static std::shared_ptr<FontLibrary> makeFromFontconfig();

    explicit FontLibrary(std::vector<Typeface> typefaces);
    // Asks `source` for the faces only when one is first looked up: listing
    // the machine's fonts takes milliseconds, and a start that draws no text
    // (or only in the system font) never needs them.
    using TypefaceSource = std::function<std::vector<Typeface>()>;
    explicit FontLibrary(TypefaceSource source);
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // The face with that name, or the regular face of that family.
    std::optional<Typeface> typeface(std::string_view nameOrFamily) const;
    // Family names, each once, sorted ascending by plain string comparison.
    std::vector<std::string> familyNames() const;
    const std::vector<Typeface>& typefaces() const;
    void addTypeface(Typeface typeface);  // replaces a face of the same name
    void removeTypeface(std::string_view name);

    // Empty removes the replacement.
    void setSystemFontReplacement(SystemFontReplacement replacement);
    bool hasSystemFontReplacement() const { return static_cast<bool>(replacement_); }

    // What `Font::systemFont` and `Font::menuFont` answer.
    Font systemFont(double size, std::optional<FontWeight> weight) const;
    Font menuFont(double size) const;

private:
    std::vector<Typeface>& loaded() const;

    mutable TypefaceSource source_;
    mutable std::once_flag loading_;
    mutable std::vector<Typeface> typefaces_;
    SystemFontReplacement replacement_;
};

}  // namespace tallowmere::platform
