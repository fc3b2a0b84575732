#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/base/data.h"
#include "platform/base/result.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/color.h"
#include "platform/gfx/geometry.h"

namespace tallowmere::platform {

class Canvas;
class Menu;
class Screen;
class SimulatedWindow;
class Window;

// A picture of the simulated screen as a person would see it: the desktop,
// every window back to front (other applications' as plain frames with
// their titles, the program's with their views), the menu bar with the
// status items, and any open menu on top; while the screen is locked, the
// sign-in screen over all of it.
namespace ScreenSnapshot {

inline const Color desktopColor = Color::sRGB(0.23, 0.33, 0.47);
inline const Color menuBarColor = Color::sRGB(0.93, 0.93, 0.94);

// The screen at `scale` pixels per point; the primary screen when none.
Result<Bitmap> render(const std::shared_ptr<Screen>& screen = nullptr, double scale = 1);
Result<Data> pngData(const std::shared_ptr<Screen>& screen = nullptr, double scale = 1);
Result<void> writePng(const std::filesystem::path& file, const std::shared_ptr<Screen>& screen = nullptr,
                      double scale = 1);
// Every screen in its place: the arrangement's bounding box, black where no
// screen is.
Result<Bitmap> renderArrangement(double scale = 1);
// The arrangement as a PNG file, written whole or not at all: only to an
// absolute path whose folder exists.
Result<void> writeArrangementPng(const std::filesystem::path& file);

// The pieces, in screen coordinates of `canvas`; used by the desktop viewer
// and by screen captures that must show the program's windows.
// `region` (screen coordinates), when given, is all that is being
// repainted: the caller clips to it, and views that cannot reach it are
// skipped.
// With `ScreenParts::withoutViews` the program's windows are drawn without
// their views: what the screen shows apart from the views' own drawing.
enum class ScreenParts { everything, withoutViews };
void drawOwnWindow(Canvas& canvas, const Window& window, std::optional<Rect> region = std::nullopt,
                   ScreenParts parts = ScreenParts::everything);
void drawOtherWindow(Canvas& canvas, const SimulatedWindow& window);
void drawMenuBar(Canvas& canvas);
// The Dock on the primary screen's Dock edge, when it has a size.
void drawDock(Canvas& canvas);
void drawOpenMenus(Canvas& canvas);
// The whole picture of `screen` (or of `region` of it) onto a canvas whose
// space is already the screen's.
void drawScreen(Canvas& canvas, const Screen& screen, std::optional<Rect> region = std::nullopt,
                ScreenParts parts = ScreenParts::everything);

}  // namespace ScreenSnapshot

}  // namespace tallowmere::platform
