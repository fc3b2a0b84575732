#include "platform/viewer/x11_window.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdlib>
#include <thread>

#include <cctype>
#include <cmath>
#include <optional>
#include <map>

#include "platform/gfx/bitmap.h"
#include "platform/runtime/clock.h"
#include "platform/viewer/scroll_valuators.h"

// Xlib last: its macros (None, True, Status ...) would clash with names above.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XInput2.h>
#include <cairo-xlib.h>
#include <cairo.h>

namespace tallowmere::platform {

namespace {

constexpr long pointerMask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
constexpr long inputMask = ExposureMask | KeyPressMask | KeyReleaseMask | pointerMask | FocusChangeMask |
                           StructureNotifyMask;

// Asks for the pointer through XInput 2.1, whose smooth scrolling carries a
// touchpad's two-finger movement; the core pointer events are then not
// delivered. False when the server has no XInput 2.1.
bool selectSmoothScrolling(Display* display, ::Window window, int& opcode) {
    int event = 0, error = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &event, &error)) return false;
    int major = 2, minor = 1;
    if (XIQueryVersion(display, &major, &minor) != Success || major < 2 || (major == 2 && minor < 1)) return false;
    std::array<unsigned char, XIMaskLen(XI_LASTEVENT)> bits{};
    for (int type : {XI_Motion, XI_ButtonPress, XI_ButtonRelease, XI_Enter}) XISetMask(bits.data(), type);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(bits.size()), bits.data()};
    return XISelectEvents(display, window, &mask, 1) == Success;
}

// An 8-bit integer property of an input device; none when it has none.
std::optional<int> deviceFlag(Display* display, int device, const char* name) {
    const Atom property = XInternAtom(display, name, True);
    if (property == 0) return std::nullopt;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::optional<int> flag;
    if (XIGetProperty(display, device, property, 0, 1, False, AnyPropertyType, &type, &format, &count, &after,
                      &data) == Success &&
        format == 8 && count >= 1 && data) {
        flag = data[0];
    }
    if (data) XFree(data);
    return flag;
}

ModifierFlags modifiersOf(unsigned state) {
    std::uint64_t flags = 0;
    if (state & ShiftMask) flags |= ModifierFlags::shift;
    if (state & LockMask) flags |= ModifierFlags::capsLock;
    if (state & ControlMask) flags |= ModifierFlags::control;
    if (state & Mod1Mask) flags |= ModifierFlags::option;
    if (state & Mod4Mask) flags |= ModifierFlags::command;
    return {flags};
}

// X numbers the buttons 1 left, 2 middle, 3 right, 4-7 the wheel, 8 and 9
// back and forward; the platform 0 left, 1 right, 2 middle, then the rest.
int platformButton(unsigned xButton) {
    switch (xButton) {
        case Button1:
            return 0;
        case Button2:
            return 2;
        case Button3:
            return 1;
        default:
            return static_cast<int>(xButton) - 5;
    }
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The text of a key without an input method: XLookupString gives Latin-1
// bytes; keysyms of the Unicode range carry their character.
std::string plainText(XKeyEvent& event) {
    std::array<char, 32> bytes{};
    KeySym keysym = 0;
    const int length =
        XLookupString(&event, bytes.data(), static_cast<int>(bytes.size()), &keysym, nullptr);
    std::string text;
    for (int i = 0; i < length; ++i)
        appendUtf8(text, static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]));
    if (text.empty() && (keysym & 0xFF000000) == 0x01000000)
        appendUtf8(text, static_cast<char32_t>(keysym & 0x00FFFFFF));
    return text;
}

}  // namespace

struct X11Window::Connection {
    Display* events = nullptr;   // the event thread's; the window's creator
    Display* drawing = nullptr;  // the main thread's
    ::Window window = 0;
    Atom deleteWindow = 0;
    XIM inputMethod = nullptr;
    XIC inputContext = nullptr;
    cairo_surface_t* windowSurface = nullptr;
    cairo_surface_t* backBuffer = nullptr;
    // Made on first use, one per shape.
    std::array<::Cursor, 6> cursors{};
    bool mapped = false;
    // XInput's extension code, when the pointer is read through it.
    std::optional<int> inputExtension;

    ~Connection() {
        if (backBuffer) cairo_surface_destroy(backBuffer);
        if (windowSurface) cairo_surface_destroy(windowSurface);
        for (::Cursor cursor : cursors) {
            if (cursor) XFreeCursor(drawing, cursor);
        }
        if (drawing) XCloseDisplay(drawing);
        if (inputContext) XDestroyIC(inputContext);
        if (inputMethod) XCloseIM(inputMethod);
        if (window) XDestroyWindow(events, window);
        if (events) XCloseDisplay(events);
    }
};

// The event thread: waits on the event connection and a wake-up pipe, reads
// what X delivers and turns it into ViewerInput.
struct X11Window::EventReader {
    Connection& connection;
    Handlers handlers;
    std::array<int, 2> wakePipe{-1, -1};
    std::thread thread;
    RealClock clock;
    // Keys down now, with what their press typed, so that auto-repeat is
    // told apart and a release types what its press did.
    struct HeldKey {
        bool down = false;
        std::string text;
        std::string textIgnoringModifiers;
    };
    std::array<HeldKey, 256> keys{};
    // What each physical pointing device is, learnt at its first event.
    struct SourceDevice {
        bool isTouchpad = false;
        bool naturalScrolling = false;
        ScrollValuators valuators;
    };
    std::map<int, SourceDevice> sources;
    std::optional<std::pair<double, double>> lastPointer;

    EventReader(Connection& c, Handlers h) : connection(c), handlers(std::move(h)) {}

    ~EventReader() {
        if (thread.joinable()) {
            const char stop = 0;
            [[maybe_unused]] auto written = write(wakePipe[1], &stop, 1);
            thread.join();
        }
        for (int fd : wakePipe) {
            if (fd >= 0) close(fd);
        }
    }

    bool start() {
        if (pipe(wakePipe.data()) != 0) return false;
        thread = std::thread([this] { run(); });
        return true;
    }

    void run() {
        Display* display = connection.events;
        std::array<pollfd, 2> watched{pollfd{ConnectionNumber(display), POLLIN, 0},
                                      pollfd{wakePipe[0], POLLIN, 0}};
        while (true) {
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (XFilterEvent(&event, 0))
                    continue;  // taken by the input method (a compose sequence)
                handle(event);
            }
            if (poll(watched.data(), watched.size(), -1) < 0) continue;
            if (watched[1].revents != 0) return;
        }
    }

    ViewerInput input(ViewerInput::Kind kind, int x, int y, unsigned state) {
        ViewerInput made;
        made.kind = kind;
        made.timestamp = clock.uptime();
        made.pixel = {x, y};
        made.modifiers = modifiersOf(state);
        return made;
    }

    void handle(XEvent& event) {
        switch (event.type) {
            case MotionNotify: {
                // Of motions queued one after another only the last matters;
                // a motion after a press or release keeps its place.
                XEvent next;
                while (XEventsQueued(connection.events, QueuedAlready) > 0) {
                    XPeekEvent(connection.events, &next);
                    if (next.type != MotionNotify) break;
                    XNextEvent(connection.events, &event);
                }
                const auto& motion = event.xmotion;
                emit(input(ViewerInput::Kind::pointerMoved, motion.x, motion.y, motion.state));
                break;
            }
            case ButtonPress:
            case ButtonRelease:
                button(event.xbutton);
                break;
            case KeyPress:
            case KeyRelease:
                key(event.xkey);
                break;
            case FocusOut:
                if (event.xfocus.detail == NotifyPointer) break;
                for (auto& held : keys) held = {};
                emit(input(ViewerInput::Kind::focusLost, 0, 0, 0));
                break;
            case Expose:
                if (event.xexpose.count == 0 && handlers.onExposed) handlers.onExposed();
                break;
            case GenericEvent:
                extensionEvent(event.xcookie);
                break;
            case ClientMessage:
                if (static_cast<Atom>(event.xclient.data.l[0]) == connection.deleteWindow &&
                    handlers.onCloseRequested) {
                    handlers.onCloseRequested();
                }
                break;
            default:
                break;
        }
    }

    void button(const XButtonEvent& event) {
        const bool pressed = event.type == ButtonPress;
        if (event.button >= 4 && event.button <= 7) {
            // Each notch is a press and a release; the press is the notch.
            if (!pressed) return;
            auto notch = input(ViewerInput::Kind::wheel, event.x, event.y, event.state);
            if (event.button == 4) notch.wheelY = 1;
            if (event.button == 5) notch.wheelY = -1;
            if (event.button == 6) notch.wheelX = 1;
            if (event.button == 7) notch.wheelX = -1;
            emit(std::move(notch));
            return;
        }
        auto made =
            input(pressed ? ViewerInput::Kind::buttonPressed : ViewerInput::Kind::buttonReleased,
                  event.x, event.y, event.state);
        made.button = platformButton(event.button);
        emit(std::move(made));
    }

    void extensionEvent(XGenericEventCookie& cookie) {
        if (!connection.inputExtension || cookie.extension != *connection.inputExtension) return;
        if (!XGetEventData(connection.events, &cookie)) return;
        switch (cookie.evtype) {
            case XI_Motion:
                deviceMotion(*static_cast<XIDeviceEvent*>(cookie.data));
                break;
            case XI_ButtonPress:
            case XI_ButtonRelease:
                deviceButton(*static_cast<XIDeviceEvent*>(cookie.data), cookie.evtype == XI_ButtonPress);
                break;
            case XI_Enter:
                // Scrolling elsewhere moved the valuators without us.
                for (auto& [id, source] : sources) source.valuators.reset();
                break;
            default:
                break;
        }
        XFreeEventData(connection.events, &cookie);
    }

    SourceDevice& source(int id) {
        auto found = sources.find(id);
        if (found != sources.end()) return found->second;
        SourceDevice device;
        Display* display = connection.events;
        int count = 0;
        if (XIDeviceInfo* info = XIQueryDevice(display, id, &count)) {
            std::string name = info->name ? info->name : "";
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            device.isTouchpad = name.find("touchpad") != std::string::npos || name.find("trackpad") != std::string::npos ||
                                name.find("synaptics") != std::string::npos ||
                                deviceFlag(display, id, "libinput Tapping Enabled").has_value();
            device.naturalScrolling = deviceFlag(display, id, "libinput Natural Scrolling Enabled").value_or(0) != 0;
            for (int i = 0; i < info->num_classes; ++i) {
                if (info->classes[i]->type != XIScrollClass) continue;
                const auto* scroll = reinterpret_cast<const XIScrollClassInfo*>(info->classes[i]);
                device.valuators.add(scroll->number,
                                     scroll->scroll_type == XIScrollTypeVertical ? ScrollValuators::Axis::vertical
                                                                                 : ScrollValuators::Axis::horizontal,
                                     scroll->increment);
            }
            XIFreeDeviceInfo(info);
        }
        return sources.emplace(id, std::move(device)).first->second;
    }

    ViewerInput deviceInput(ViewerInput::Kind kind, const XIDeviceEvent& event) {
        return input(kind, static_cast<int>(std::lround(event.event_x)), static_cast<int>(std::lround(event.event_y)),
                     static_cast<unsigned>(event.mods.effective));
    }

    void deviceMotion(const XIDeviceEvent& event) {
        auto& device = source(event.sourceid);
        ScrollValuators::Amount amount;
        const double* value = event.valuators.values;
        for (int i = 0; i < event.valuators.mask_len * 8; ++i) {
            if (!XIMaskIsSet(event.valuators.mask, i)) continue;
            device.valuators.update(i, *value++, amount);
        }
        // A touchpad's scrolling is read from its valuators; a wheel's from
        // its notches, which arrive as buttons.
        if (device.isTouchpad && (amount.x != 0 || amount.y != 0)) {
            auto made = deviceInput(ViewerInput::Kind::smoothScroll, event);
            made.scrollX = amount.x;
            made.scrollY = amount.y;
            made.isDirectionInverted = device.naturalScrolling;
            emit(std::move(made));
        }
        const std::pair position{event.event_x, event.event_y};
        if (lastPointer == position) return;
        lastPointer = position;
        emit(deviceInput(ViewerInput::Kind::pointerMoved, event));
    }

    void deviceButton(const XIDeviceEvent& event, bool pressed) {
        XButtonEvent core{};
        core.type = pressed ? ButtonPress : ButtonRelease;
        core.x = static_cast<int>(std::lround(event.event_x));
        core.y = static_cast<int>(std::lround(event.event_y));
        core.state = static_cast<unsigned>(event.mods.effective);
        core.button = static_cast<unsigned>(event.detail);
        // The server turns a touchpad's scrolling into wheel buttons as well;
        // its valuators have told it already.
        if (core.button >= 4 && core.button <= 7 && source(event.sourceid).isTouchpad) return;
        button(core);
    }

    void key(XKeyEvent& event) {
        const bool pressed = event.type == KeyPress;
        auto made = input(pressed ? ViewerInput::Kind::keyPressed : ViewerInput::Kind::keyReleased,
                          event.x, event.y, event.state);
        made.keysym = static_cast<std::uint32_t>(XLookupKeysym(&event, 0));
        auto& held = keys[event.keycode & 0xFF];
        if (pressed) {
            made.isRepeat = held.down;
            made.text = typedText(event);
            XKeyEvent plain = event;
            plain.state &= ~(ControlMask | Mod1Mask | Mod4Mask);
            made.textIgnoringModifiers = plainText(plain);
            if (made.textIgnoringModifiers.empty()) made.textIgnoringModifiers = made.text;
            held = {true, made.text, made.textIgnoringModifiers};
        } else {
            made.text = held.text;
            made.textIgnoringModifiers = held.textIgnoringModifiers;
            held = {};
        }
        emit(std::move(made));
    }

    std::string typedText(XKeyEvent& event) {
        if (!connection.inputContext) return plainText(event);
        std::string text(64, '\0');
        KeySym keysym = 0;
        Status status = 0;
        int length = Xutf8LookupString(connection.inputContext, &event, text.data(),
                                       static_cast<int>(text.size()), &keysym, &status);
        if (status == XBufferOverflow) {
            // An input method committed a long text at once; `length` is its size.
            text.resize(static_cast<std::size_t>(length));
            length = Xutf8LookupString(connection.inputContext, &event, text.data(),
                                       static_cast<int>(text.size()), &keysym, &status);
        }
        if (status != XLookupChars && status != XLookupBoth) return {};
        text.resize(static_cast<std::size_t>(std::max(length, 0)));
        return text;
    }

    void emit(ViewerInput made) {
        if (handlers.onInput) handlers.onInput(std::move(made));
    }
};

Result<std::unique_ptr<X11Window>> X11Window::open(const std::string& title) {
    const char* name = std::getenv("DISPLAY");
    const std::string displayName = name ? name : "";
    auto connection = std::make_unique<Connection>();
    connection->events = XOpenDisplay(nullptr);
    if (connection->events) connection->drawing = XOpenDisplay(nullptr);
    if (!connection->drawing) {
        return Error{ErrorCode::unsupported, "cannot open the X display \"" + displayName + "\""};
    }
    Display* display = connection->events;
    const int screen = DefaultScreen(display);
    connection->window =
        XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 1, 1, 0,
                            BlackPixel(display, screen), BlackPixel(display, screen));
    int extension = 0;
    if (selectSmoothScrolling(display, connection->window, extension)) {
        connection->inputExtension = extension;
        XSelectInput(display, connection->window, inputMask & ~pointerMask);
    } else {
        XSelectInput(display, connection->window, inputMask);
    }
    connection->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, connection->window, &connection->deleteWindow, 1);

    XClassHint classHint{const_cast<char*>("tallowmere"), const_cast<char*>("Tallowmere")};
    Xutf8SetWMProperties(display, connection->window, title.c_str(), title.c_str(), nullptr, 0,
                         nullptr, nullptr, &classHint);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, connection->window, XInternAtom(display, "_NET_WM_NAME", False), utf8,
                    8, PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                    static_cast<int>(title.size()));
    // The process the window belongs to: a program started anew beside its
    // old instance (a change of language) shows a window of its own.
    const long pid = ::getpid();
    XChangeProperty(display, connection->window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);

    // Held keys repeat as presses alone, without a release before each.
    XkbSetDetectableAutoRepeat(display, True, nullptr);
    // The input method gives typed text as UTF-8 (compose sequences too);
    // without one, keys still type their Latin-1 and Unicode characters.
    // XMODIFIERS names the person's input method (for Chinese, say); when it
    // cannot be reached, X's own compose handling still works.
    XSetLocaleModifiers("");
    connection->inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
    if (!connection->inputMethod) {
        XSetLocaleModifiers("@im=none");
        connection->inputMethod = XOpenIM(display, nullptr, nullptr, nullptr);
    }
    if (connection->inputMethod) {
        connection->inputContext = XCreateIC(
            connection->inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
            XNClientWindow, connection->window, XNFocusWindow, connection->window, nullptr);
    }
    // The drawing connection uses the window from here on.
    XSync(display, False);
    return std::unique_ptr<X11Window>(new X11Window(std::move(connection)));
}

X11Window::X11Window(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

X11Window::~X11Window() {
    reader_.reset();  // before the connection it reads
    connection_.reset();
}

PixelSize X11Window::displaySize() const {
    Display* display = connection_->drawing;
    const int screen = DefaultScreen(display);
    return {DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

void X11Window::setSize(PixelSize size) {
    size.width = std::max(size.width, 1);
    size.height = std::max(size.height, 1);
    auto& c = *connection_;
    Display* display = c.drawing;
    // A fixed size: the window shows the arrangement at one scale, and the
    // pointer's pixels map to points through it.
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = size.width;
    hints.min_height = hints.max_height = size.height;
    XSetWMNormalHints(display, c.window, &hints);
    XResizeWindow(display, c.window, static_cast<unsigned>(size.width),
                  static_cast<unsigned>(size.height));
    if (!c.windowSurface) {
        c.windowSurface = cairo_xlib_surface_create(display, c.window,
                                                    DefaultVisual(display, DefaultScreen(display)),
                                                    size.width, size.height);
    } else {
        cairo_xlib_surface_set_size(c.windowSurface, size.width, size.height);
    }
    if (c.backBuffer) cairo_surface_destroy(c.backBuffer);
    c.backBuffer =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height);  // black
    size_ = size;
    if (!c.mapped) {
        XMapRaised(display, c.window);
        c.mapped = true;
    }
    XFlush(display);
}

void X11Window::draw(const Bitmap& picture, PixelPoint at) {
    auto* buffer = connection_->backBuffer;
    if (!buffer) return;
    cairo_surface_flush(buffer);
    unsigned char* data = cairo_image_surface_get_data(buffer);
    const int stride = cairo_image_surface_get_stride(buffer);
    const int left = std::max(at.x, 0), right = std::min(at.x + picture.pixelsWide(), size_.width);
    const int top = std::max(at.y, 0), bottom = std::min(at.y + picture.pixelsHigh(), size_.height);
    const auto& pixels = picture.pixels();
    for (int y = top; y < bottom; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        const auto* source =
            &pixels[static_cast<std::size_t>((y - at.y) * picture.pixelsWide() + (left - at.x))];
        for (int x = left; x < right; ++x, ++source) {
            // Over black: what shows through a translucent pixel is the
            // window's background.
            const unsigned a = source->alpha;
            row[x] = ((source->red * a / 255u) << 16) | ((source->green * a / 255u) << 8) |
                     (source->blue * a / 255u);
        }
    }
    cairo_surface_mark_dirty(buffer);
}

void X11Window::present() {
    auto& c = *connection_;
    if (!c.windowSurface || !c.backBuffer) return;
    cairo_t* cr = cairo_create(c.windowSurface);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, c.backBuffer, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(c.windowSurface);
    XFlush(c.drawing);
}

void X11Window::setCursorShape(Cursor::Shape shape) {
    auto& c = *connection_;
    if (shape == Cursor::Shape::arrow) {
        XUndefineCursor(c.drawing, c.window);
    } else {
        // The nearest shapes of X's own cursor font.
        static constexpr std::array<unsigned, 6> glyphs{XC_left_ptr, XC_hand1, XC_fleur, XC_hand2, XC_xterm, XC_crosshair};
        const auto index = static_cast<std::size_t>(shape);
        if (!c.cursors[index]) c.cursors[index] = XCreateFontCursor(c.drawing, glyphs[index]);
        XDefineCursor(c.drawing, c.window, c.cursors[index]);
    }
    XFlush(c.drawing);
}

void X11Window::startReadingInput(Handlers handlers) {
    if (reader_) return;
    reader_ = std::make_unique<EventReader>(*connection_, std::move(handlers));
    if (!reader_->start()) reader_.reset();
}

}  // namespace tallowmere::platform
