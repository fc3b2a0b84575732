#include "platform/ui/screen_snapshot.h"

#include <algorithm>
#include <filesystem>

#include "platform/base/text.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/finder_window_layout.h"
#include "platform/desktop/screen_lock_service.h"
#include "platform/desktop/text_element_layout.h"
#include "platform/desktop/utf16_offsets.h"
#include "platform/gfx/cairo_canvas.h"
#include "platform/gfx/png.h"
#include "platform/gfx/text_measurer.h"
#include "platform/system/files.h"
#include "platform/ui/application.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/lock_screen_painter.h"
#include "platform/ui/menu.h"
#include "platform/ui/menu_tracker.h"
#include "platform/ui/screen_painter.h"
#include "platform/ui/status_bar.h"
#include "platform/ui/view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_frame_controls.h"

namespace tallowmere::platform {

namespace {

const Color titleBarColor = Color::sRGB(0.88, 0.88, 0.89);
const Color frameColor = Color::black().withAlphaComponent(0.25);
const Color menuColor = Color::sRGB(0.97, 0.97, 0.97);
const Color disabledText = Color::sRGB(0.6, 0.6, 0.6);
const Color selectionColor = Color::sRGB(0.70, 0.84, 1.0);
const Color dockColor = Color::white().withAlphaComponent(0.35);
const Color dockTileColor = Color::sRGB(0.35, 0.45, 0.62);

Rect local(const ScreenRect& r) { return rect_cast<LocalSpace>(r); }

void drawCentredText(Canvas& canvas, const std::string& text, Rect box, const Font& font, const Color& color) {
    if (text.empty()) return;
    const auto size = TextMeasurer::shared().measure(text, font);
    canvas.drawText(text, {box.midX() - size.width / 2, box.midY() - size.height / 2}, font, color);
}

void drawTitleBar(Canvas& canvas, Rect frame, const std::string& title, bool transparent) {
    const Rect bar{frame.minX(), frame.maxY() - Window::titleBarHeight, frame.width(), Window::titleBarHeight};
    if (!transparent) {
        canvas.setFillColor(titleBarColor);
        canvas.fillRect(bar);
    }
    drawCentredText(canvas, title, bar, Font::systemFont(13, FontWeight::semibold), Color::sRGB(0.2, 0.2, 0.2));
}

// A Finder window: its favourite folders down the sidebar and its folder's
// items, one row each with a small folder or page, the selected ones
// marked, as a person picks them to open or drag; its extension's button.
void drawFinderWindow(Canvas& canvas, const SimulatedWindow& window, Desktop& desktop) {
    auto app = window.application();
    if (!app || app->bundleIdentifier() != Desktop::finderBundleIdentifier) return;
    const auto layout = FinderWindowLayout::of(window);
    if (!layout) return;
    auto local = [&](const AXRect& rect) { return rect_cast<LocalSpace>(desktop.screens().toScreen(rect)); };
    const Font font = Font::systemFont(13);
    auto drawRow = [&](Rect row, const std::filesystem::path& path, const std::string& name) {
        std::error_code error;
        const Rect icon{row.minX() + 8, row.midY() - 7, 14, 14};
        if (std::filesystem::is_directory(path, error)) {
            canvas.setFillColor(Color::sRGB(0.35, 0.65, 0.95));
            canvas.fillRoundedRect({icon.minX(), icon.minY() + 1, icon.width(), icon.height() - 3}, 2);
        } else {
            canvas.setFillColor(Color::white());
            canvas.fillRect({icon.minX() + 2, icon.minY(), icon.width() - 4, icon.height()});
            canvas.setStrokeColor(Color::sRGB(0.6, 0.6, 0.6));
            canvas.setLineWidth(1);
            canvas.strokeRect({icon.minX() + 2.5, icon.minY() + 0.5, icon.width() - 5, icon.height() - 1});
        }
        const auto size = TextMeasurer::shared().measure(name, font);
        canvas.drawText(name, {icon.maxX() + 6, row.midY() - size.height / 2}, font, Color::black());
    };

    canvas.save();
    canvas.clipToRect(local(layout->sidebarFrame()));
    canvas.setFillColor(Color::sRGB(0.94, 0.94, 0.95));
    canvas.fillRect(local(layout->sidebarFrame()));
    const auto& favourites = layout->sidebarFolders();
    for (std::size_t i = 0; i < favourites.size(); ++i) {
        const auto name = favourites[i].filename().empty() ? favourites[i].string() : favourites[i].filename().string();
        drawRow(local(layout->sidebarRowFrame(i)), favourites[i], name);
    }
    canvas.restore();
    canvas.save();
    canvas.clipToRect(local(layout->itemsFrame()));
    const auto selection = desktop.finder().selection();
    const AXRect list = layout->itemsFrame();
    const auto& items = layout->items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const AXRect rowFrame = layout->itemRowFrame(i);
        if (rowFrame.minY() >= list.maxY()) break;
        const Rect row = local(rowFrame).insetBy(4, 1);
        if (std::find(selection.begin(), selection.end(), items[i]) != selection.end()) {
            canvas.setFillColor(selectionColor);
            canvas.fillRoundedRect(row, 4);
        }
        drawRow(row, items[i], items[i].filename().string());
    }
    canvas.restore();
    // The extension's button, only where Finder has one to show.
    const auto button = desktop.finderSync().toolbarItemFor(layout->folder());
    if (!button) return;
    const Rect frame = local(layout->toolbarButtonFrame());
    canvas.setFillColor(Color::white().withAlphaComponent(0.6));
    canvas.fillRoundedRect(frame, 5);
    canvas.setStrokeColor(Color::sRGB(0.6, 0.6, 0.6));
    canvas.setLineWidth(1);
    canvas.strokeRoundedRect(frame.insetBy(0.5, 0.5), 5);
    const double side = std::min(frame.width(), frame.height()) - 2;
    const Rect imageFrame{frame.midX() - side / 2, frame.midY() - side / 2, side, side};
    // Tinted like Finder's own toolbar icons.
    if (button->image.isTemplate()) {
        button->image.tinted(Color::sRGB(0.3, 0.3, 0.3)).draw(canvas, imageFrame);
    } else {
        button->image.draw(canvas, imageFrame);
    }
}

// What a drag carries, beside the pointer: the file's name, or how many.
void drawDraggedItems(Canvas& canvas, const Pasteboard& dragged, ScreenPoint pointer) {
    const auto files = dragged.fileURLs();
    std::string text;
    if (files.size() == 1) {
        const auto url = Url::parse(files.front());
        std::filesystem::path path = url ? url->fileSystemPath().value_or(files.front()) : files.front();
        if (!path.has_filename()) path = path.parent_path();
        text = path.filename().string();
    } else if (files.size() > 1) {
        text = std::to_string(files.size()) + " items";
    } else {
        text = dragged.string().value_or("");
        if (text.size() > 40) text = Text::prefixGraphemes(text, 40) + "…";
    }
    if (text.empty()) return;
    const Font font = Font::systemFont(12, FontWeight::medium);
    const auto size = TextMeasurer::shared().measure(text, font);
    const Rect badge{pointer.x + 10, pointer.y - 14 - size.height, size.width + 16, size.height + 8};
    canvas.save();
    canvas.setAlpha(0.85);
    canvas.setFillColor(Color::sRGB(0.2, 0.45, 0.9));
    canvas.fillRoundedRect(badge, badge.height() / 2);
    canvas.drawText(text, {badge.minX() + 8, badge.minY() + 4}, font, Color::white());
    canvas.restore();
}

// The close, minimise and zoom buttons, each over the window's own button
// element (14 × 16 pt, 6 pt below the top edge, from 8 pt in, 20 pt apart),
// so a press where a person sees one lands on it. A button the window does
// not have is grey.
void drawWindowButtons(Canvas& canvas, Rect frame, bool close, bool minimize, bool zoom) {
    const Color absent = Color::sRGB(0.8, 0.8, 0.8);
    const Color colors[] = {close ? Color::sRGB(1.0, 0.37, 0.34) : absent,
                            minimize ? Color::sRGB(1.0, 0.74, 0.18) : absent,
                            zoom ? Color::sRGB(0.16, 0.79, 0.25) : absent};
    constexpr double diameter = 12;
    for (int i = 0; i < 3; ++i) {
        const double centreX = frame.minX() + 15 + 20 * i;
        const double centreY = frame.maxY() - 14;
        canvas.setFillColor(colors[i]);
        canvas.fillEllipse({centreX - diameter / 2, centreY - diameter / 2, diameter, diameter});
    }
}

// The text of a text element as its layout places it, clipped to its
// frame, its selection on a highlight: what a selection feature would read.
void drawTextElement(Canvas& canvas, const SimulatedElement& element, const ScreenArrangement& screens) {
    const Rect box = local(screens.toScreen(element.axFrame()));
    if (box.isEmpty()) return;
    const TextElementLayout layout(*element.value());
    std::size_t selectionStart = 0, selectionEnd = 0;
    if (auto range = element.selectedRange(); range && range->length > 0) {
        selectionStart = Utf16::byteOffset(layout.text(), range->location);
        selectionEnd = Utf16::byteOffset(layout.text(), range->location + range->length);
    }
    canvas.save();
    canvas.clipToRect(box);
    for (std::size_t i = 0; i < layout.lines().size(); ++i) {
        const auto& line = layout.lines()[i];
        const double bottom = box.maxY() - layout.lineTop(i) - layout.lineHeight();
        if (bottom + layout.lineHeight() < box.minY()) break;
        const std::size_t from = std::clamp(selectionStart, line.start, line.end);
        const std::size_t to = std::clamp(selectionEnd, line.start, line.end);
        if (from < to) {
            const double left = box.minX() + layout.x(line, from);
            canvas.setFillColor(selectionColor);
            canvas.fillRect({left, bottom, box.minX() + layout.x(line, to) - left, layout.lineHeight()});
        }
        if (line.end > line.start) {
            canvas.drawText(layout.text().substr(line.start, line.end - line.start),
                            {box.minX() + TextElementLayout::inset, bottom}, TextElementLayout::font(), Color::black());
        }
    }
    canvas.restore();
}

}  // namespace

void ScreenSnapshot::drawOwnWindow(Canvas& canvas, const Window& window, std::optional<Rect> region,
                                   ScreenParts parts) {
    // A transparent window shows nothing: its views (a hidden web panel's
    // page, say) are not asked to draw.
    if (window.alphaValue() <= 0) return;
    const Rect frame = local(window.frame());
    canvas.save();
    canvas.setAlpha(window.alphaValue());
    canvas.clipToRect(frame);
    canvas.setFillColor(window.backgroundColor());
    canvas.fillRect(frame);
    const auto content = local(window.contentRectForFrameRect(window.frame()));
    if (auto view = parts == ScreenParts::everything ? window.contentView() : nullptr) {
        canvas.save();
        canvas.translate(content.minX(), content.minY());
        view->layoutSubtreeIfNeeded();
        if (region) {
            // The content view's superview space is the content area's.
            view->display(canvas, region->offsetBy(-content.minX(), -content.minY()));
        } else {
            view->display(canvas);
        }
        canvas.restore();
    }
    if (window.styleMask().contains(WindowStyleMask::titled)) {
        const bool titleShown = window.titleVisibility == WindowTitleVisibility::visible;
        drawTitleBar(canvas, frame, titleShown ? window.title() : std::string{}, window.titlebarAppearsTransparent);
        using Button = WindowFrameControls::Button;
        drawWindowButtons(canvas, frame, WindowFrameControls::isAvailable(window, Button::close),
                          WindowFrameControls::isAvailable(window, Button::miniaturize),
                          WindowFrameControls::isAvailable(window, Button::fullScreen));
        canvas.setStrokeColor(frameColor);
        canvas.setLineWidth(1);
        canvas.strokeRect(frame.insetBy(0.5, 0.5));
    }
    canvas.restore();
}

void ScreenSnapshot::drawOtherWindow(Canvas& canvas, const SimulatedWindow& window) {
    const Rect frame = local(window.screenFrame());
    canvas.save();
    canvas.setAlpha(window.alpha());
    canvas.setFillColor(Color::white());
    canvas.fillRect(frame);
    drawTitleBar(canvas, frame, window.title(), false);
    const auto& spec = window.windowSpec();
    drawWindowButtons(canvas, frame, spec.hasCloseButton, spec.hasMinimizeButton, spec.resizable);
    if (auto desktop = window.application() ? window.application()->owningDesktop() : nullptr) {
        for (const auto& child : window.children()) {
            if (child->isTextElement()) drawTextElement(canvas, *child, desktop->screens());
        }
        if (window.windowSpec().content.empty()) drawFinderWindow(canvas, window, *desktop);
    }
    canvas.setStrokeColor(frameColor);
    canvas.setLineWidth(1);
    canvas.strokeRect(frame.insetBy(0.5, 0.5));
    canvas.restore();
}

void ScreenSnapshot::drawMenuBar(Canvas& canvas) {
    const Rect bar = local(StatusBar::shared().menuBarFrame());
    canvas.setFillColor(menuBarColor);
    canvas.fillRect(bar);
    auto& desktop = DesktopLink::desktop();
    const Font regular = Font::menuFont();
    // Other applications' status items; the program's own are windows.
    const auto& area = desktop.statusArea();
    for (const auto& item : area.items()) {
        if (item.isOwn) continue;
        const auto frame = area.frameOf(item.identifier);
        if (!frame.isEmpty()) drawCentredText(canvas, item.spec.title, local(frame), regular, Color::black());
    }
    // The frontmost application's name and menus on the left.
    auto front = desktop.frontmostApplication();
    if (!front) return;
    const Font bold = Font::systemFont(13, FontWeight::bold);
    double x = bar.minX() + 20;
    auto drawTitle = [&](const std::string& text, const Font& font) {
        const auto size = TextMeasurer::shared().measure(text, font);
        canvas.drawText(text, {x, bar.midY() - size.height / 2}, font, Color::black());
        x += size.width + 18;
    };
    drawTitle(front->name(), bold);
    for (const auto& title : front->applicationSpec().menuTitles) drawTitle(title, regular);
}

void ScreenSnapshot::drawDock(Canvas& canvas) {
    auto& desktop = DesktopLink::desktop();
    const auto dock = desktop.screens().dock();
    auto primary = desktop.screens().primaryScreen();
    if (!primary || dock.size <= 0) return;
    // A tile for each running application with a Dock icon, in launch order,
    // its name's first letter on it.
    std::vector<std::string> names;
    for (const auto& running : desktop.runningApplications()) {
        if (running->activationPolicy() == ActivationPolicy::regular) names.push_back(running->localizedName().value_or(""));
    }
    const Rect screen = local(primary->frame());
    const double tile = dock.size * 0.75, gap = dock.size * 0.125;
    const double length = std::max(1.0, static_cast<double>(names.size())) * (tile + gap) + gap;
    const bool across = dock.edge == DockEdge::bottom;
    Rect strip;
    if (across) {
        strip = {screen.midX() - length / 2, screen.minY(), length, dock.size};
    } else {
        const double x = dock.edge == DockEdge::left ? screen.minX() : screen.maxX() - dock.size;
        strip = {x, screen.midY() - length / 2, dock.size, length};
    }
    canvas.setFillColor(dockColor);
    canvas.fillRoundedRect(strip, gap * 1.5);
    const Font font = Font::systemFont(tile * 0.5, FontWeight::semibold);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const double along = gap + static_cast<double>(i) * (tile + gap);
        const Rect box = across ? Rect{strip.minX() + along, strip.minY() + gap, tile, tile}
                                : Rect{strip.minX() + gap, strip.maxY() - along - tile, tile, tile};
        canvas.setFillColor(dockTileColor);
        canvas.fillRoundedRect(box, tile * 0.22);
        const auto first = Text::prefixGraphemes(names[i], 1);
        drawCentredText(canvas, first, box, font, Color::white());
    }
}

void ScreenSnapshot::drawOpenMenus(Canvas& canvas) {
    auto& tracker = MenuTracker::shared();
    for (const auto& menu : tracker.openMenus()) {
        const auto* layout = tracker.layoutOf(*menu);
        if (!layout) continue;
        const Rect frame = local(layout->frame);
        canvas.save();
        canvas.setShadow(Shadow{{0, -3}, 8, Color::black().withAlphaComponent(0.3)});
        canvas.setFillColor(menuColor);
        canvas.fillRoundedRect(frame, 6);
        canvas.restore();
        for (const auto& row : layout->rows) {
            const Rect box = local(row.frame);
            const auto& item = *row.item;
            if (item.isSeparatorItem()) {
                canvas.setStrokeColor(frameColor);
                canvas.setLineWidth(1);
                canvas.strokeLine({box.minX() + 10, box.midY()}, {box.maxX() - 10, box.midY()});
                continue;
            }
            if (auto view = item.view()) {
                canvas.save();
                canvas.translate(box.minX() - view->frame().minX(), box.minY() - view->frame().minY());
                view->display(canvas);
                canvas.restore();
                continue;
            }
            const Color color = item.canBeChosen() ? Color::black() : disabledText;
            const auto& font = layout->font;
            const double textY = box.midY() - TextMeasurer::shared().lineMetrics(font).lineHeight() / 2;
            if (item.state() != MenuItemState::off) {
                canvas.drawText(item.state() == MenuItemState::on ? "✓" : "–", {box.minX() + 6, textY}, font, color);
            }
            double x = box.minX() + MenuLayout::stateColumnWidth;
            if (layout->showsImages) {
                if (auto image = item.image()) {
                    const Rect destination{x, box.midY() - MenuLayout::imageWidth / 2, MenuLayout::imageWidth,
                                           MenuLayout::imageWidth};
                    if (image->isTemplate()) {
                        image->tinted(color).draw(canvas, destination);
                    } else {
                        image->draw(canvas, destination);
                    }
                }
                x += MenuLayout::imageWidth + MenuLayout::imageSpacing;
            }
            if (item.attributedTitle() && !item.attributedTitle()->empty()) {
                canvas.drawText(*item.attributedTitle(), {x, textY});
            } else {
                canvas.drawText(item.title(), {x, textY}, font, color);
            }
            const auto key = MenuLayout::keyEquivalentText(item);
            const std::string trailing = item.hasSubmenu() ? "▸" : key;
            if (!trailing.empty()) {
                const auto size = TextMeasurer::shared().measure(trailing, font);
                canvas.drawText(trailing, {box.maxX() - 10 - size.width, textY}, font, color);
            }
        }
    }
}

void ScreenSnapshot::drawScreen(Canvas& canvas, const Screen& screen, std::optional<Rect> region,
                                ScreenParts parts) {
    auto& desktop = DesktopLink::desktop();
    const auto screenFrame = screen.frame();
    canvas.setFillColor(desktopColor);
    canvas.fillRect(region ? *region : local(screenFrame));

    auto& application = Application::shared();
    auto windows = desktop.windowServer().orderedWindows();  // front to back
    std::reverse(windows.begin(), windows.end());
    bool menuBarDrawn = false, menusDrawn = false;
    const bool menuBarOnThisScreen = &screen == desktop.screens().primaryScreen().get();
    for (const auto& window : windows) {
        if (!menuBarDrawn && window->level() >= WindowLevel::mainMenu) {
            if (menuBarOnThisScreen) {
                ScreenSnapshot::drawDock(canvas);
                ScreenSnapshot::drawMenuBar(canvas);
            }
            menuBarDrawn = true;
        }
        if (!menusDrawn && window->level() > WindowLevel::popUpMenu) {
            ScreenSnapshot::drawOpenMenus(canvas);
            menusDrawn = true;
        }
        if (!window->screenFrame().intersects(screenFrame)) continue;
        if (region && !local(window->screenFrame()).intersects(*region)) continue;
        if (window->isOwnWindow()) {
            if (auto own = application.windowWithNumber(window->windowNumber())) drawOwnWindow(canvas, *own, region, parts);
        } else {
            ScreenSnapshot::drawOtherWindow(canvas, *window);
        }
    }
    if (!menuBarDrawn && menuBarOnThisScreen) {
        ScreenSnapshot::drawDock(canvas);
        ScreenSnapshot::drawMenuBar(canvas);
    }
    if (!menusDrawn) ScreenSnapshot::drawOpenMenus(canvas);
    if (auto dragged = desktop.draggedContents()) drawDraggedItems(canvas, *dragged, desktop.input().mouseLocation());
    if (ScreenLockService::shared().isLocked()) LockScreenPainter::draw(canvas, screenFrame, menuBarOnThisScreen);
}

Result<Bitmap> ScreenSnapshot::render(const std::shared_ptr<Screen>& requested, double scale) {
    auto& desktop = DesktopLink::desktop();
    auto screen = requested ? requested : desktop.screens().primaryScreen();
    if (!screen) return Error{ErrorCode::notFound, "no screen to capture"};
    // The screen's kept picture, brought up to date.
    auto painter = ScreenPainters::shared().painter(screen, scale);
    if (!painter) return painter.error();
    (*painter)->update();
    return (*painter)->bitmap();
}

Result<Bitmap> ScreenSnapshot::renderArrangement(double scale) {
    const auto screens = DesktopLink::desktop().screens().screens();
    ScreenRect bounds;
    for (const auto& screen : screens) bounds = bounds.unionWith(screen->frame());
    if (bounds.isEmpty()) return Error{ErrorCode::notFound, "no screen to capture"};
    auto made = CairoCanvas::make(bounds.size, scale);
    if (!made) return made.error();
    auto& canvas = **made;
    // What lies between screens of different sizes shows nothing.
    canvas.setFillColor(Color::black());
    canvas.fillRect(Rect{0, 0, bounds.width(), bounds.height()});
    canvas.translate(-bounds.minX(), -bounds.minY());
    for (const auto& screen : screens) {
        canvas.save();
        canvas.clipToRect(local(screen->frame()));
        drawScreen(canvas, *screen);
        canvas.restore();
    }
    return (*made)->bitmap();
}

Result<void> ScreenSnapshot::writeArrangementPng(const std::filesystem::path& file) {
    if (!file.is_absolute()) return Error{ErrorCode::invalidArgument, file.string() + " is not an absolute path"};
    std::error_code error;
    if (!std::filesystem::is_directory(file.parent_path(), error)) {
        return Error{ErrorCode::notFound, "The folder " + file.parent_path().string() + " does not exist"};
    }
    auto bitmap = renderArrangement();
    if (!bitmap) return bitmap.error();
    auto png = encodePng(*bitmap);
    if (!png) return png.error();
    return Files::writeAtomically(file, *png, 0644);
}

Result<Data> ScreenSnapshot::pngData(const std::shared_ptr<Screen>& screen, double scale) {
    auto bitmap = render(screen, scale);
    if (!bitmap) return bitmap.error();
    return encodePng(*bitmap);
}

Result<void> ScreenSnapshot::writePng(const std::filesystem::path& file, const std::shared_ptr<Screen>& screen,
                                      double scale) {
    auto bitmap = render(screen, scale);
    if (!bitmap) return bitmap.error();
    return platform::writePng(*bitmap, file);
}

}  // namespace tallowmere::platform
