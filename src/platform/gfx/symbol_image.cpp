#include "platform/gfx/symbol_image.h"

#include <array>
#include <cmath>
#include <string>

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {
namespace {

// Symbols are drawn from a few strokes on a 16 × 16 grid (y up), scaled to
// the image. They only need to be recognisable in snapshots and traces; the
// name and the template flag are what the program relies on.
enum class Kind : unsigned char { none, line, circle, disc, rect, box, arc, triangle, glyph };

struct Part {
    Kind kind = Kind::none;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::string_view text;
    bool knockout = false;  // cut out of what is drawn (marks on filled shapes)

    constexpr Part cut() const {
        Part p = *this;
        p.knockout = true;
        return p;
    }
};

constexpr Part part(Kind kind, double x0, double y0, double x1, double y1 = 0, double x2 = 0, double y2 = 0) {
    Part p;
    p.kind = kind;
    p.x0 = x0, p.y0 = y0, p.x1 = x1, p.y1 = y1, p.x2 = x2, p.y2 = y2;
    return p;
}
constexpr Part line(double x0, double y0, double x1, double y1) { return part(Kind::line, x0, y0, x1, y1); }
constexpr Part circle(double cx, double cy, double r) { return part(Kind::circle, cx, cy, r); }
constexpr Part disc(double cx, double cy, double r) { return part(Kind::disc, cx, cy, r); }
constexpr Part rect(double x, double y, double w, double h, double radius = 0) {
    return part(Kind::rect, x, y, w, h, radius);
}
constexpr Part box(double x, double y, double w, double h, double radius = 0) {
    return part(Kind::box, x, y, w, h, radius);
}
constexpr Part arc(double cx, double cy, double r, double fromDegrees, double toDegrees) {
    return part(Kind::arc, cx, cy, r, fromDegrees, toDegrees);
}
constexpr Part triangle(double x0, double y0, double x1, double y1, double x2, double y2) {
    return part(Kind::triangle, x0, y0, x1, y1, x2, y2);
}
constexpr Part glyph(std::string_view text, double size) {
    Part p = part(Kind::glyph, size, 0, 0);
    p.text = text;
    return p;
}

struct SymbolEntry {
    std::string_view name;
    std::array<Part, 6> parts;
};

// Every system symbol the program asks for by name.
constexpr std::array symbolTable{
    SymbolEntry{"airplayaudio", {arc(8, 9, 6, 200, 340), arc(8, 9, 3.5, 200, 340), triangle(4, 1, 12, 1, 8, 6)}},
    SymbolEntry{"airplayvideo", {rect(1.5, 5, 13, 9, 1), triangle(4.5, 1, 11.5, 1, 8, 6)}},
    SymbolEntry{"app", {rect(2, 2, 12, 12, 3)}},
    SymbolEntry{"arrow.clockwise", {arc(8, 8, 5.5, 110, 420), triangle(10, 15.5, 10, 10, 13.5, 12.8)}},
    SymbolEntry{"arrow.left", {line(14, 8, 2.5, 8), line(2.5, 8, 7, 12.5), line(2.5, 8, 7, 3.5)}},
    SymbolEntry{"arrow.right", {line(2, 8, 13.5, 8), line(13.5, 8, 9, 12.5), line(13.5, 8, 9, 3.5)}},
    SymbolEntry{"arrow.up.and.down.and.arrow.left.and.right",
                {line(8, 1.5, 8, 14.5), line(1.5, 8, 14.5, 8), triangle(6, 12.5, 10, 12.5, 8, 15),
                 triangle(6, 3.5, 10, 3.5, 8, 1), triangle(3.5, 6, 3.5, 10, 1, 8), triangle(12.5, 6, 12.5, 10, 15, 8)}},
    SymbolEntry{"arrow.up.arrow.down",
                {line(5, 2, 5, 14), line(5, 14, 2, 11), line(5, 14, 8, 11), line(11, 14, 11, 2), line(11, 2, 8, 5),
                 line(11, 2, 14, 5)}},
    SymbolEntry{"arrow.up.forward.square", {rect(2, 2, 12, 12, 2.5), line(5.5, 5.5, 11, 11), line(11, 11, 6.5, 11),
                                            line(11, 11, 11, 6.5)}},
    SymbolEntry{"arrow.up.right", {line(3, 3, 13, 13), line(13, 13, 6, 13), line(13, 13, 13, 6)}},
    SymbolEntry{"backward.end.fill", {box(2, 3, 2, 10), triangle(14, 3, 14, 13, 5, 8)}},
    SymbolEntry{"calendar", {rect(1.5, 1.5, 13, 12.5, 2), line(1.5, 10.5, 14.5, 10.5), line(5, 12.5, 5, 15),
                             line(11, 12.5, 11, 15), glyph("1", 7)}},
    SymbolEntry{"calendar.badge.clock", {rect(1.5, 3, 11, 11, 2), line(1.5, 11, 12.5, 11), disc(12, 4.5, 4),
                                         line(12, 4.5, 12, 7).cut(), line(12, 4.5, 14, 4.5).cut()}},
    SymbolEntry{"cat", {circle(8, 7, 5.5), triangle(3.2, 9.5, 4, 15, 7.5, 12), triangle(12.8, 9.5, 12, 15, 8.5, 12),
                        disc(6, 8, 0.9), disc(10, 8, 0.9), line(8, 5.5, 8, 4.5)}},
    SymbolEntry{"checkmark.circle.fill", {disc(8, 8, 7), line(4.5, 8, 7, 5.2).cut(), line(7, 5.2, 11.5, 11).cut()}},
    SymbolEntry{"chevron.left", {line(10.5, 14, 4.5, 8), line(4.5, 8, 10.5, 2)}},
    SymbolEntry{"chevron.left.circle.fill", {disc(8, 8, 7), line(9.5, 11.5, 6, 8).cut(), line(6, 8, 9.5, 4.5).cut()}},
    SymbolEntry{"chevron.right", {line(5.5, 14, 11.5, 8), line(11.5, 8, 5.5, 2)}},
    SymbolEntry{"chevron.right.circle.fill", {disc(8, 8, 7), line(6.5, 11.5, 10, 8).cut(), line(10, 8, 6.5, 4.5).cut()}},
    SymbolEntry{"circle", {circle(8, 8, 6.5)}},
    SymbolEntry{"circle.grid.3x3.fill", {disc(3, 13, 1.6), disc(8, 13, 1.6), disc(13, 13, 1.6), disc(3, 8, 1.6),
                                         disc(8, 8, 1.6), disc(13, 3, 1.6)}},
    SymbolEntry{"circle.hexagongrid.fill", {disc(8, 8, 7), circle(8, 8, 2).cut(), circle(8, 12, 2).cut(),
                                            circle(8, 4, 2).cut(), circle(4.5, 8, 2).cut(), circle(11.5, 8, 2).cut()}},
    SymbolEntry{"circle.lefthalf.filled", {circle(8, 8, 6.5), triangle(8, 1.5, 8, 14.5, 1.5, 8), box(4.5, 2.3, 3.5, 11.4)}},
    SymbolEntry{"clock.arrow.circlepath", {arc(8, 8, 6, 120, 430), triangle(3, 13, 1, 9.5, 5.5, 10.5),
                                           line(8, 8, 8, 11.5), line(8, 8, 10.5, 6.5)}},
    SymbolEntry{"cursorarrow.click", {triangle(6, 1, 6, 11, 13, 5.5), line(2, 14, 4, 12), line(6, 15, 6, 13),
                                      line(1, 10, 3, 10)}},
    SymbolEntry{"cursorarrow.motionlines", {triangle(7, 1, 7, 12, 14, 6.5), line(1, 10, 5, 10), line(2, 7, 5, 7),
                                            line(3, 4, 5, 4)}},
    SymbolEntry{"doc.badge.plus", {rect(2.5, 1.5, 9, 13, 1.5), disc(12, 4.5, 3.8), line(12, 2.6, 12, 6.4).cut(),
                                   line(10.1, 4.5, 13.9, 4.5).cut()}},
    SymbolEntry{"doc.on.clipboard", {rect(2.5, 1.5, 11, 12.5, 1.5), box(5.5, 12.5, 5, 2.5, 1), line(5, 9, 11, 9),
                                     line(5, 6, 11, 6)}},
    SymbolEntry{"doc.on.doc", {rect(5, 1.5, 9, 10.5, 1.5), rect(2, 4.5, 9, 10, 1.5)}},
    SymbolEntry{"doc.plaintext", {rect(3, 1.5, 10, 13, 1.5), line(5.5, 11, 10.5, 11), line(5.5, 8, 10.5, 8),
                                  line(5.5, 5, 9, 5)}},
    SymbolEntry{"e.circle.fill", {disc(8, 8, 7), glyph("e", 10).cut()}},
    SymbolEntry{"eye", {arc(8, 4, 7.2, 34, 146), arc(8, 12.06, 7.2, 214, 326), circle(8, 8, 2.2)}},
    SymbolEntry{"eye.circle", {circle(8, 8, 7), arc(8, 4.5, 5, 45, 135), arc(8, 11.5, 5, 225, 315), disc(8, 8, 1.5)}},
    SymbolEntry{"eye.slash", {arc(8, 4, 7.2, 34, 146), arc(8, 12.06, 7.2, 214, 326), circle(8, 8, 2.2), line(2, 2, 14, 14)}},
    SymbolEntry{"eyedropper", {line(3, 3, 10, 10), box(9, 9, 4, 4, 1.5), line(2, 2, 3, 3)}},
    SymbolEntry{"face.smiling", {circle(8, 8, 6.5), disc(5.8, 9.8, 0.9), disc(10.2, 9.8, 0.9), arc(8, 8, 3.5, 210, 330)}},
    SymbolEntry{"flame.fill", {triangle(4, 5, 12, 5, 8, 15), disc(8, 5, 4)}},
    SymbolEntry{"folder", {rect(1.5, 2.5, 13, 9.5, 1.5), line(1.5, 12, 2.5, 13.5), line(2.5, 13.5, 6.5, 13.5),
                           line(6.5, 13.5, 7.5, 12)}},
    SymbolEntry{"folder.badge.minus", {rect(1.5, 4, 11, 8, 1.5), line(1.5, 12, 5.5, 12), disc(12.5, 4.5, 3.5),
                                       line(10.5, 4.5, 14.5, 4.5).cut()}},
    SymbolEntry{"forward.end.fill", {triangle(2, 3, 2, 13, 11, 8), box(12, 3, 2, 10)}},
    SymbolEntry{"gearshape", {circle(8, 8, 5), circle(8, 8, 2), line(8, 13, 8, 15), line(8, 3, 8, 1), line(13, 8, 15, 8),
                              line(3, 8, 1, 8)}},
    SymbolEntry{"globe", {circle(8, 8, 6.5), line(1.5, 8, 14.5, 8), arc(14, 8, 8.5, 130, 230), arc(2, 8, 8.5, -50, 50),
                          line(8, 1.5, 8, 14.5)}},
    SymbolEntry{"house", {line(1.5, 8, 8, 14), line(8, 14, 14.5, 8), rect(3.5, 1.5, 9, 8), rect(6.5, 1.5, 3, 4.5)}},
    SymbolEntry{"info.circle", {circle(8, 8, 6.5), line(8, 4, 8, 8.5), disc(8, 11, 0.9)}},
    SymbolEntry{"info.circle.fill", {disc(8, 8, 7), line(8, 4, 8, 8.5).cut(), disc(8, 11, 1).cut()}},
    SymbolEntry{"keyboard", {rect(1, 3.5, 14, 9, 1.5), line(4, 10, 12, 10), line(4, 8, 12, 8), line(5, 6, 11, 6)}},
    SymbolEntry{"lock", {box(3, 1.5, 10, 8, 1.5), arc(8, 10.5, 3.2, 0, 180), line(4.8, 10.5, 4.8, 9), line(11.2, 10.5, 11.2, 9)}},
    SymbolEntry{"menubar.rectangle", {rect(1.5, 2.5, 13, 11, 1.5), box(1.5, 11, 13, 2.5)}},
    SymbolEntry{"network", {circle(8, 8, 6.5), line(1.5, 8, 14.5, 8), arc(8, 8, 3, 90, 270), line(8, 1.5, 8, 14.5)}},
    SymbolEntry{"note.text", {rect(2, 2, 12, 12, 2), line(4.5, 10.5, 11.5, 10.5), line(4.5, 7.5, 11.5, 7.5),
                              line(4.5, 4.5, 9, 4.5)}},
    SymbolEntry{"number", {line(6, 2, 7, 14), line(10, 2, 11, 14), line(3, 10.5, 14, 10.5), line(2, 5.5, 13, 5.5)}},
    SymbolEntry{"pause.fill", {box(3.5, 2.5, 3, 11, 0.8), box(9.5, 2.5, 3, 11, 0.8)}},
    SymbolEntry{"pin", {circle(8, 11.5, 3), line(8, 8.5, 8, 1.5), line(5, 8.5, 11, 8.5)}},
    SymbolEntry{"pin.fill", {disc(8, 11.5, 3.2), line(8, 8.5, 8, 1.5), line(5, 8.5, 11, 8.5)}},
    SymbolEntry{"play.circle", {circle(8, 8, 6.5), triangle(6.3, 4.8, 6.3, 11.2, 11.3, 8)}},
    SymbolEntry{"play.fill", {triangle(3.5, 2, 3.5, 14, 13.5, 8)}},
    SymbolEntry{"plus", {line(8, 2, 8, 14), line(2, 8, 14, 8)}},
    SymbolEntry{"power", {arc(8, 7.5, 5.5, 120, 420), line(8, 8, 8, 14.5)}},
    SymbolEntry{"rectangle.inset.filled", {rect(1.5, 2.5, 13, 11, 1.5), box(3.5, 4.5, 9, 7, 0.8)}},
    SymbolEntry{"rectangle.on.rectangle", {rect(4.5, 1.5, 10, 8, 1.5), rect(1.5, 6, 10, 8, 1.5)}},
    SymbolEntry{"safari", {circle(8, 8, 6.5), triangle(5, 5, 9, 7, 11, 11), triangle(5, 5, 7, 9, 11, 11)}},
    SymbolEntry{"shield.lefthalf.filled", {line(8, 15, 2.5, 12.5), line(8, 15, 13.5, 12.5), line(2.5, 12.5, 2.5, 7),
                                           line(13.5, 12.5, 13.5, 7), arc(8, 7, 5.5, 180, 360),
                                           triangle(8, 14.5, 3, 12.3, 8, 2)}},
    SymbolEntry{"slider.horizontal.3", {line(1.5, 12, 14.5, 12), line(1.5, 8, 14.5, 8), line(1.5, 4, 14.5, 4),
                                        disc(5, 12, 1.8), disc(11, 8, 1.8), disc(7, 4, 1.8)}},
    SymbolEntry{"sun.max", {circle(8, 8, 3.2), line(8, 12.8, 8, 15), line(8, 3.2, 8, 1), line(12.8, 8, 15, 8),
                            line(3.2, 8, 1, 8), line(11.5, 11.5, 13, 13)}},
    SymbolEntry{"terminal", {rect(1.5, 2.5, 13, 11, 1.5), line(4, 10, 6.5, 8), line(6.5, 8, 4, 6), line(8, 5.5, 11.5, 5.5)}},
    SymbolEntry{"textformat", {glyph("Aa", 9)}},
    SymbolEntry{"timer", {circle(8, 7.5, 6), line(8, 7.5, 10.5, 10), line(6.5, 15, 9.5, 15), line(8, 15, 8, 13.5)}},
    SymbolEntry{"transform.scale", {rect(1.5, 1.5, 13, 13, 1), rect(1.5, 1.5, 7, 7, 1), line(8.5, 8.5, 13.5, 13.5)}},
    SymbolEntry{"trash", {rect(3.5, 1.5, 9, 10.5, 1), line(2, 12, 14, 12), line(6, 13.5, 10, 13.5), line(6.5, 4, 6.5, 9.5),
                          line(9.5, 4, 9.5, 9.5)}},
    SymbolEntry{"viewfinder", {line(1.5, 5, 1.5, 1.5), line(1.5, 1.5, 5, 1.5), line(11, 14.5, 14.5, 14.5),
                               line(14.5, 14.5, 14.5, 11), line(1.5, 11, 1.5, 14.5), line(14.5, 5, 14.5, 1.5)}},
};

constexpr auto makeNames() {
    std::array<std::string_view, symbolTable.size()> names{};
    for (std::size_t i = 0; i < symbolTable.size(); ++i) names[i] = symbolTable[i].name;
    return names;
}
constexpr auto names = makeNames();

constexpr bool namesAreSortedAndUnique() {
    for (std::size_t i = 1; i < names.size(); ++i)
        if (!(names[i - 1] < names[i])) return false;
    return true;
}
static_assert(namesAreSortedAndUnique(), "keep the symbol table sorted by name, each name once");

double lineWidthFor(FontWeight weight) {
    // Regular strokes are 1.4 grid units; heavier weights thicken gently.
    return 1.4 * std::sqrt(cssWeight(weight) / 400.0);
}

void drawPart(Canvas& canvas, const Part& part, FontWeight weight) {
    canvas.setCompositingOperation(part.knockout ? CompositingOperation::destinationOut
                                                 : CompositingOperation::sourceOver);
    switch (part.kind) {
    case Kind::none: return;
    case Kind::line: canvas.strokeLine({part.x0, part.y0}, {part.x1, part.y1}); return;
    case Kind::circle: canvas.strokeEllipse({part.x0 - part.x1, part.y0 - part.x1, 2 * part.x1, 2 * part.x1}); return;
    case Kind::disc: canvas.fillEllipse({part.x0 - part.x1, part.y0 - part.x1, 2 * part.x1, 2 * part.x1}); return;
    case Kind::rect: canvas.strokeRoundedRect({part.x0, part.y0, part.x1, part.y1}, part.x2); return;
    case Kind::box: canvas.fillRoundedRect({part.x0, part.y0, part.x1, part.y1}, part.x2); return;
    case Kind::arc: {
        Path path;
        path.arc({part.x0, part.y0}, part.x1, part.y1, part.x2);
        canvas.stroke(path);
        return;
    }
    case Kind::triangle: {
        Path path;
        path.moveTo({part.x0, part.y0});
        path.lineTo({part.x1, part.y1});
        path.lineTo({part.x2, part.y2});
        path.close();
        canvas.fill(path);
        return;
    }
    case Kind::glyph: {
        const Font font = Font::systemFont(part.x0, weight);
        const double width = part.text.size() * part.x0 * 0.55;
        canvas.drawText(part.text, {8 - width / 2, 8 - part.x0 * 0.6}, font, Color::black());
        return;
    }
    }
}

const SymbolEntry* findSymbol(std::string_view name) {
    for (const auto& entry : symbolTable)
        if (entry.name == name) return &entry;
    return nullptr;
}

}  // namespace

std::optional<Image> symbolImage(std::string_view name, std::string_view accessibilityDescription,
                                 SymbolConfiguration configuration) {
    const SymbolEntry* entry = findSymbol(name);
    if (!entry) return std::nullopt;
    const double pointSize =
        std::isfinite(configuration.pointSize) && configuration.pointSize > 0 ? configuration.pointSize : 13;
    const double side = pointSize + 3;
    const FontWeight weight = configuration.weight;
    Image image = Image::withHandler({side, side}, [entry, weight](Canvas& canvas, Rect rect) {
        canvas.save();
        canvas.translate(rect.minX(), rect.minY());
        canvas.scale(rect.width() / 16, rect.height() / 16);
        canvas.setColor(Color::black());
        canvas.setLineWidth(lineWidthFor(weight));
        canvas.setLineCap(LineCap::round);
        canvas.setLineJoin(LineJoin::round);
        for (const Part& part : entry->parts) drawPart(canvas, part, weight);
        canvas.restore();
        return true;
    });
    image.setTemplate(true);
    image.setAccessibilityDescription(std::string(accessibilityDescription));
    return image;
}

std::span<const std::string_view> symbolNames() { return names; }

}  // namespace tallowmere::platform
