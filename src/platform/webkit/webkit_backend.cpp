// The web engine module: WebKitGTK's GTK 3 web view behind the platform's
// engine-neutral boundary. Loaded by the platform when the first web view is
// made, so nothing else in the program pays for GTK and WebKit.
//
// Each page is a web view in an override-redirect popup moved off-screen on
// an X display: the engine then runs the page as a shown one (media plays,
// timers are not throttled), and the platform paints the view's picture into
// its own canvas. A GtkOffscreenWindow would be simpler, but media never
// starts in one.
#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <cmath>
#include <cstring>
#include <deque>
#include <optional>
#include <memory>
#include <string>
#include <utility>

#include "platform/desktop/event.h"
#include "platform/web/web_engine_backend.h"

namespace tallowmere::platform {
namespace {

constexpr int offscreenMargin = 100;

// The main queue waits in GLib's loop: one iteration, bounded by a timeout
// source, ended early by a wake-up from any thread.
class GLibRunLoopHost final : public RunLoopHost {
public:
    void wait(std::optional<double> seconds) override {
        GSource* timeout = nullptr;
        if (seconds) {
            if (*seconds <= 0) {
                g_main_context_iteration(nullptr, FALSE);
                return;
            }
            const double milliseconds = std::ceil(*seconds * 1000);
            timeout = g_timeout_source_new(static_cast<guint>(std::min(milliseconds, 86400000.0)));
            g_source_set_callback(timeout, [](gpointer) -> gboolean { return G_SOURCE_REMOVE; }, nullptr, nullptr);
            g_source_attach(timeout, nullptr);
        }
        g_main_context_iteration(nullptr, TRUE);
        if (timeout) {
            g_source_destroy(timeout);
            g_source_unref(timeout);
        }
    }
    void wake() override { g_main_context_wakeup(nullptr); }
};

// GDK's modifier state for the platform's flags.
guint gdkState(std::uint64_t modifiers) {
    guint state = 0;
    if (modifiers & ModifierFlags::shift) state |= GDK_SHIFT_MASK;
    if (modifiers & ModifierFlags::control) state |= GDK_CONTROL_MASK;
    if (modifiers & ModifierFlags::option) state |= GDK_MOD1_MASK;
    if (modifiers & ModifierFlags::command) state |= GDK_META_MASK;
    return state;
}

// The keysym of the platform's key codes that type no text of their own.
guint keyvalForKeyCode(int keyCode, const std::string& text) {
    switch (keyCode) {
    case KeyCode::returnKey: return GDK_KEY_Return;
    case KeyCode::keypadEnter: return GDK_KEY_KP_Enter;
    case KeyCode::tab: return GDK_KEY_Tab;
    case KeyCode::deleteKey: return GDK_KEY_BackSpace;
    case KeyCode::forwardDelete: return GDK_KEY_Delete;
    case KeyCode::escape: return GDK_KEY_Escape;
    case KeyCode::home: return GDK_KEY_Home;
    case KeyCode::end: return GDK_KEY_End;
    case KeyCode::leftArrow: return GDK_KEY_Left;
    case KeyCode::rightArrow: return GDK_KEY_Right;
    case KeyCode::downArrow: return GDK_KEY_Down;
    case KeyCode::upArrow: return GDK_KEY_Up;
    default: break;
    }
    if (text.empty()) return GDK_KEY_VoidSymbol;
    const gunichar character = g_utf8_get_char_validated(text.c_str(), static_cast<gssize>(text.size()));
    if (character == static_cast<gunichar>(-1) || character == static_cast<gunichar>(-2)) return GDK_KEY_VoidSymbol;
    return gdk_unicode_to_keyval(character);
}

std::string jsonOf(JSCValue* value) {
    if (!value || jsc_value_is_undefined(value)) return "null";
    char* json = jsc_value_to_json(value, 0);
    std::string text = json ? json : "null";
    g_free(json);
    return text;
}

WebNavigationAction::Type actionType(WebKitNavigationType type) {
    switch (type) {
    case WEBKIT_NAVIGATION_TYPE_LINK_CLICKED: return WebNavigationAction::Type::linkActivated;
    case WEBKIT_NAVIGATION_TYPE_FORM_SUBMITTED:
    case WEBKIT_NAVIGATION_TYPE_FORM_RESUBMITTED: return WebNavigationAction::Type::formSubmitted;
    case WEBKIT_NAVIGATION_TYPE_BACK_FORWARD: return WebNavigationAction::Type::backForward;
    case WEBKIT_NAVIGATION_TYPE_RELOAD: return WebNavigationAction::Type::reload;
    default: return WebNavigationAction::Type::other;
    }
}

HttpCookie cookieFrom(SoupCookie* cookie) {
    HttpCookie result;
    result.name = soup_cookie_get_name(cookie);
    result.value = soup_cookie_get_value(cookie);
    result.domain = soup_cookie_get_domain(cookie);
    result.path = soup_cookie_get_path(cookie);
    if (GDateTime* expires = soup_cookie_get_expires(cookie)) {
        result.expires = static_cast<double>(g_date_time_to_unix(expires));
    }
    result.secure = soup_cookie_get_secure(cookie);
    result.httpOnly = soup_cookie_get_http_only(cookie);
    switch (soup_cookie_get_same_site_policy(cookie)) {
    case SOUP_SAME_SITE_POLICY_LAX: result.sameSite = "Lax"; break;
    case SOUP_SAME_SITE_POLICY_STRICT: result.sameSite = "Strict"; break;
    case SOUP_SAME_SITE_POLICY_NONE: result.sameSite = "None"; break;
    }
    return result;
}

SoupCookie* soupCookieFrom(const HttpCookie& cookie) {
    SoupCookie* result = soup_cookie_new(cookie.name.c_str(), cookie.value.c_str(), cookie.domain.c_str(),
                                         cookie.path.c_str(), -1);
    if (cookie.expires) {
        GDateTime* expires = g_date_time_new_from_unix_utc(static_cast<gint64>(*cookie.expires));
        if (expires) {
            soup_cookie_set_expires(result, expires);
            g_date_time_unref(expires);
        }
    }
    soup_cookie_set_secure(result, cookie.secure);
    soup_cookie_set_http_only(result, cookie.httpOnly);
    if (cookie.sameSite == "Lax") soup_cookie_set_same_site_policy(result, SOUP_SAME_SITE_POLICY_LAX);
    if (cookie.sameSite == "Strict") soup_cookie_set_same_site_policy(result, SOUP_SAME_SITE_POLICY_STRICT);
    if (cookie.sameSite == "None") soup_cookie_set_same_site_policy(result, SOUP_SAME_SITE_POLICY_NONE);
    return result;
}

class WebKitPage final : public WebPageBackend {
public:
    WebKitPage(WebKitWebContext* context, const WebViewConfiguration& configuration, WebPageObserver& observer)
        : observer_(observer), alive_(std::make_shared<bool>(true)) {
        content_ = webkit_user_content_manager_new();
        for (const auto& script : configuration.userScripts) {
            const auto frames = script.mainFrameOnly ? WEBKIT_USER_CONTENT_INJECT_TOP_FRAME
                                                     : WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES;
            const auto time = script.injectionTime == WebUserScript::InjectionTime::documentStart
                                  ? WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START
                                  : WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END;
            WebKitUserScript* userScript =
                script.world == WebUserScript::World::page
                    ? webkit_user_script_new(script.source.c_str(), frames, time, nullptr, nullptr)
                    : webkit_user_script_new_for_world(script.source.c_str(), frames, time, "tallowmere", nullptr,
                                                       nullptr);
            webkit_user_content_manager_add_script(content_, userScript);
            webkit_user_script_unref(userScript);
        }
        for (const auto& name : configuration.scriptMessageHandlers) {
            const std::string signal = "script-message-received::" + name;
            g_signal_connect(content_, signal.c_str(), G_CALLBACK(onScriptMessage), this);
            webkit_user_content_manager_register_script_message_handler(content_, name.c_str());
        }

        view_ = WEBKIT_WEB_VIEW(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "user-content-manager",
                                             content_, nullptr));
        g_object_ref_sink(view_);
        WebKitSettings* settings = webkit_web_view_get_settings(view_);
        // Painted through GTK's drawing into the platform's canvas, which
        // only the unaccelerated path supports.
        webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
        if (!configuration.userAgent.empty()) webkit_settings_set_user_agent(settings, configuration.userAgent.c_str());
        webkit_settings_set_javascript_can_open_windows_automatically(
            settings, configuration.javaScriptCanOpenWindowsAutomatically);
        webkit_settings_set_media_playback_requires_user_gesture(settings,
                                                                 configuration.mediaPlaybackRequiresUserAction);
        webkit_settings_set_zoom_text_only(settings, FALSE);
        webkit_web_view_set_zoom_level(view_, configuration.pageZoom > 0 ? configuration.pageZoom : 1);

        g_signal_connect(view_, "load-changed", G_CALLBACK(onLoadChanged), this);
        g_signal_connect(view_, "load-failed", G_CALLBACK(onLoadFailed), this);
        g_signal_connect(view_, "decide-policy", G_CALLBACK(onDecidePolicy), this);
        g_signal_connect(view_, "create", G_CALLBACK(onCreate), this);
        g_signal_connect(view_, "notify::title", G_CALLBACK(onTitle), this);
        g_signal_connect(view_, "web-process-terminated", G_CALLBACK(onTerminated), this);
        g_signal_connect_after(view_, "draw", G_CALLBACK(onDraw), this);
        data_ = webkit_web_context_get_website_data_manager(context);
        cookies_ = webkit_website_data_manager_get_cookie_manager(data_);
        g_signal_connect(cookies_, "changed", G_CALLBACK(onCookiesChanged), this);

        window_ = gtk_window_new(GTK_WINDOW_POPUP);
        g_object_ref_sink(window_);
        // The engine hands a press the page left unhandled back to GTK, which
        // delivers it to this window again (key presses reach a toplevel first).
        g_signal_connect(window_, "key-press-event", G_CALLBACK(onUnhandledKeyPress), this);
        gtk_container_add(GTK_CONTAINER(window_), GTK_WIDGET(view_));
        resize(width_, height_);
        gtk_widget_show_all(window_);
    }

    ~WebKitPage() override {
        *alive_ = false;
        g_signal_handlers_disconnect_by_data(content_, this);
        g_signal_handlers_disconnect_by_data(view_, this);
        g_signal_handlers_disconnect_by_data(cookies_, this);
        g_signal_handlers_disconnect_by_data(window_, this);
        setPictureShown(true);
        gtk_widget_destroy(window_);
        g_object_unref(window_);
        g_object_unref(view_);
        g_object_unref(content_);
    }

    void load(const std::string& url) override { webkit_web_view_load_uri(view_, url.c_str()); }
    void loadHTML(const std::string& html, const std::string& baseURL) override {
        webkit_web_view_load_html(view_, html.c_str(), baseURL.empty() ? nullptr : baseURL.c_str());
    }
    void stopLoading() override { webkit_web_view_stop_loading(view_); }
    void reload() override { webkit_web_view_reload(view_); }
    void goBack() override { webkit_web_view_go_back(view_); }
    void goForward() override { webkit_web_view_go_forward(view_); }
    bool canGoBack() const override { return webkit_web_view_can_go_back(view_); }
    bool canGoForward() const override { return webkit_web_view_can_go_forward(view_); }
    std::string url() const override {
        const char* uri = webkit_web_view_get_uri(view_);
        return uri ? uri : "";
    }
    std::optional<std::string> title() const override {
        const char* title = webkit_web_view_get_title(view_);
        if (!title || !*title) return std::nullopt;
        return std::string(title);
    }
    bool isLoading() const override { return webkit_web_view_is_loading(view_); }
    std::string userAgent() const override {
        const char* agent = webkit_settings_get_user_agent(webkit_web_view_get_settings(view_));
        return agent ? agent : "";
    }

    void evaluateJavaScript(const std::string& source, ScriptCompletion completion) override {
        struct Call {
            std::weak_ptr<bool> alive;
            ScriptCompletion completion;
        };
        auto* call = new Call{alive_, std::move(completion)};
        webkit_web_view_evaluate_javascript(
            view_, source.c_str(), static_cast<gssize>(source.size()), nullptr, nullptr, nullptr,
            [](GObject* object, GAsyncResult* result, gpointer data) {
                std::unique_ptr<Call> call(static_cast<Call*>(data));
                GError* error = nullptr;
                JSCValue* value = webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(object), result, &error);
                std::optional<std::string> json;
                std::string message;
                if (value) {
                    json = jsonOf(value);
                    g_object_unref(value);
                } else {
                    message = error ? error->message : "unknown error";
                }
                if (error) g_error_free(error);
                auto alive = call->alive.lock();
                if (alive && *alive && call->completion) call->completion(std::move(json), std::move(message));
            },
            call);
    }

    void setSize(int width, int height) override {
        width = std::max(width, 1);
        height = std::max(height, 1);
        if (width == width_ && height == height_) return;
        resize(width, height);
    }

    void setPictureShown(bool shown) override {
        if (shown == pictureShown_) return;
        GdkWindow* host = gtk_widget_get_window(window_);
        if (!host) return;
        pictureShown_ = shown;
        // Frozen, the host window takes no exposes: the engine's frames still
        // reach its backing store (which paint() reads), but GTK no longer
        // draws each one into the window. The window stays mapped, so the
        // engine goes on treating the page as shown.
        if (shown) {
            gdk_window_thaw_updates(host);
        } else {
            gdk_window_freeze_updates(host);
        }
    }

    WebPixels paint() override {
        WebPixels pixels;
        pixels.width = width_;
        pixels.height = height_;
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width_, height_);
        cairo_t* cairo = cairo_create(surface);
        // The engine queues size requests at any time; drawing before GTK's
        // next layout pass would draw a widget that has no valid allocation.
        gtk_container_check_resize(GTK_CONTAINER(window_));
        painting_ = true;
        gtk_widget_draw(GTK_WIDGET(view_), cairo);
        painting_ = false;
        cairo_destroy(cairo);
        cairo_surface_flush(surface);
        pixels.stride = cairo_image_surface_get_stride(surface);
        const auto* data = cairo_image_surface_get_data(surface);
        if (data) pixels.bytes.assign(data, data + static_cast<std::size_t>(pixels.stride) * height_);
        cairo_surface_destroy(surface);
        return pixels;
    }

    void sendMouse(WebMouseKind kind, double x, double y, int button, int clickCount,
                   std::uint64_t modifiers) override {
        GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(view_));
        if (!target) return;
        GdkEvent* event = nullptr;
        if (kind == WebMouseKind::moved) {
            event = gdk_event_new(GDK_MOTION_NOTIFY);
            event->motion.window = GDK_WINDOW(g_object_ref(target));
            event->motion.x = x;
            event->motion.y = y;
            event->motion.x_root = x;
            event->motion.y_root = y;
            event->motion.state = gdkState(modifiers) | pressedButtons_;
            event->motion.time = GDK_CURRENT_TIME;
        } else {
            const bool down = kind == WebMouseKind::down;
            event = gdk_event_new(down ? (clickCount == 2 ? GDK_2BUTTON_PRESS : GDK_BUTTON_PRESS) : GDK_BUTTON_RELEASE);
            event->button.window = GDK_WINDOW(g_object_ref(target));
            event->button.x = x;
            event->button.y = y;
            event->button.x_root = x;
            event->button.y_root = y;
            event->button.button = static_cast<guint>(button);
            event->button.state = gdkState(modifiers) | pressedButtons_;
            event->button.time = GDK_CURRENT_TIME;
            const guint mask = button == 1 ? GDK_BUTTON1_MASK : button == 2 ? GDK_BUTTON2_MASK : GDK_BUTTON3_MASK;
            pressedButtons_ = down ? (pressedButtons_ | mask) : (pressedButtons_ & ~mask);
        }
        deliver(event);
        // GTK reports a double click as a press, then a second press.
        if (kind == WebMouseKind::down && clickCount == 2) {
            GdkEvent* press = gdk_event_copy(event);
            press->type = GDK_BUTTON_PRESS;
            deliver(press);
            gdk_event_free(press);
        }
        gdk_event_free(event);
    }

    void sendScroll(double x, double y, double deltaX, double deltaY) override {
        GdkWindow* target = gtk_widget_get_window(GTK_WIDGET(view_));
        if (!target) return;
        GdkEvent* event = gdk_event_new(GDK_SCROLL);
        event->scroll.window = GDK_WINDOW(g_object_ref(target));
        event->scroll.x = x;
        event->scroll.y = y;
        event->scroll.x_root = x;
        event->scroll.y_root = y;
        event->scroll.direction = GDK_SCROLL_SMOOTH;
        // GTK's smooth deltas count in scroll steps; the platform's in points
        // with content moving the other way.
        event->scroll.delta_x = -deltaX / 40.0;
        event->scroll.delta_y = -deltaY / 40.0;
        event->scroll.time = GDK_CURRENT_TIME;
        deliver(event);
        gdk_event_free(event);
    }

    void sendKey(bool down, int keyCode, const std::string& text, std::uint64_t modifiers) override {
        GdkWindow* target = gtk_widget_get_window(window_);
        if (!target) return;
        GdkEvent* event = gdk_event_new(down ? GDK_KEY_PRESS : GDK_KEY_RELEASE);
        event->key.window = GDK_WINDOW(g_object_ref(target));
        event->key.keyval = keyvalForKeyCode(keyCode, text);
        event->key.state = gdkState(modifiers);
        event->key.time = GDK_CURRENT_TIME;
        GdkKeymapKey* keys = nullptr;
        gint count = 0;
        if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(gdk_window_get_display(target)),
                                              event->key.keyval, &keys, &count) &&
            count > 0) {
            event->key.hardware_keycode = static_cast<guint16>(keys[0].keycode);
        }
        g_free(keys);
        GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(target));
        if (seat) gdk_event_set_device(event, gdk_seat_get_keyboard(seat));
        if (down) {
            constexpr std::size_t pressesKept = 32;
            if (pressesInPage_.size() == pressesKept) pressesInPage_.pop_front();
            pressesInPage_.push_back({event->key.keyval, keyCode});
        }
        sendingKey_ = true;
        gtk_main_do_event(event);
        sendingKey_ = false;
        gdk_event_free(event);
    }

    void setFocused(bool focused) override {
        if (focused) gtk_widget_grab_focus(GTK_WIDGET(view_));
        GdkEvent* event = gdk_event_new(GDK_FOCUS_CHANGE);
        GdkWindow* target = gtk_widget_get_window(window_);
        if (!target) {
            gdk_event_free(event);
            return;
        }
        event->focus_change.window = GDK_WINDOW(g_object_ref(target));
        event->focus_change.in = focused;
        gtk_widget_send_focus_change(window_, event);
        gdk_event_free(event);
    }

    void setDarkAppearance(bool dark) override {
        // The engine reads the scheme from GTK's setting, which every page
        // of the process shares, as they share the one desktop.
        g_object_set(gtk_widget_get_settings(GTK_WIDGET(view_)), "gtk-application-prefer-dark-theme", dark ? TRUE : FALSE,
                     nullptr);
    }

    void allCookies(CookiesCompletion completion) override {
        struct Call {
            std::weak_ptr<bool> alive;
            CookiesCompletion completion;
        };
        auto* call = new Call{alive_, std::move(completion)};
        webkit_cookie_manager_get_all_cookies(
            cookies_, nullptr,
            [](GObject* object, GAsyncResult* result, gpointer data) {
                std::unique_ptr<Call> call(static_cast<Call*>(data));
                GList* list = webkit_cookie_manager_get_all_cookies_finish(WEBKIT_COOKIE_MANAGER(object), result,
                                                                           nullptr);
                std::vector<HttpCookie> cookies;
                for (GList* item = list; item; item = item->next) {
                    cookies.push_back(cookieFrom(static_cast<SoupCookie*>(item->data)));
                }
                g_list_free_full(list, reinterpret_cast<GDestroyNotify>(soup_cookie_free));
                auto alive = call->alive.lock();
                if (alive && *alive && call->completion) call->completion(std::move(cookies));
            },
            call);
    }

    void setCookie(const HttpCookie& cookie, std::function<void()> completion) override {
        struct Call {
            std::weak_ptr<bool> alive;
            std::function<void()> completion;
        };
        auto* call = new Call{alive_, std::move(completion)};
        SoupCookie* soupCookie = soupCookieFrom(cookie);
        webkit_cookie_manager_add_cookie(
            cookies_, soupCookie, nullptr,
            [](GObject* object, GAsyncResult* result, gpointer data) {
                std::unique_ptr<Call> call(static_cast<Call*>(data));
                webkit_cookie_manager_add_cookie_finish(WEBKIT_COOKIE_MANAGER(object), result, nullptr);
                auto alive = call->alive.lock();
                if (alive && *alive && call->completion) call->completion();
            },
            call);
        soup_cookie_free(soupCookie);
    }

    void removeAllCookies(std::function<void()> completion) override {
        struct Call {
            std::weak_ptr<bool> alive;
            std::function<void()> completion;
        };
        auto* call = new Call{alive_, std::move(completion)};
        webkit_website_data_manager_clear(
            data_, WEBKIT_WEBSITE_DATA_COOKIES, 0, nullptr,
            [](GObject* object, GAsyncResult* result, gpointer data) {
                std::unique_ptr<Call> call(static_cast<Call*>(data));
                webkit_website_data_manager_clear_finish(WEBKIT_WEBSITE_DATA_MANAGER(object), result, nullptr);
                auto alive = call->alive.lock();
                if (alive && *alive && call->completion) call->completion();
            },
            call);
    }

private:
    void resize(int width, int height) {
        width_ = width;
        height_ = height;
        gtk_widget_set_size_request(GTK_WIDGET(view_), width, height);
        gtk_window_resize(GTK_WINDOW(window_), width, height);
        gtk_window_move(GTK_WINDOW(window_), -width - offscreenMargin, -height - offscreenMargin);
    }

    void deliver(GdkEvent* event) {
        GdkSeat* seat = gdk_display_get_default_seat(gdk_window_get_display(event->any.window));
        if (seat) gdk_event_set_device(event, gdk_seat_get_pointer(seat));
        gtk_widget_event(GTK_WIDGET(view_), event);
    }

    static void onScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* result, gpointer data) {
        auto* page = static_cast<WebKitPage*>(data);
        // The handler's name is the signal's detail, which the callback is
        // not told: read it from the signal being emitted.
        GSignalInvocationHint* hint = g_signal_get_invocation_hint(page->content_);
        WebScriptMessage message;
        if (hint && hint->detail) message.handlerName = g_quark_to_string(hint->detail);
        message.bodyJSON = jsonOf(webkit_javascript_result_get_js_value(result));
        page->observer_.pageReceivedScriptMessage(std::move(message));
    }

    static void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer data) {
        auto& observer = static_cast<WebKitPage*>(data)->observer_;
        switch (event) {
        case WEBKIT_LOAD_STARTED: observer.pageLoadChanged(WebPageObserver::LoadEvent::started); break;
        case WEBKIT_LOAD_COMMITTED: observer.pageLoadChanged(WebPageObserver::LoadEvent::committed); break;
        case WEBKIT_LOAD_FINISHED: observer.pageLoadChanged(WebPageObserver::LoadEvent::finished); break;
        default: break;
        }
    }

    static gboolean onLoadFailed(WebKitWebView*, WebKitLoadEvent, gchar*, GError* error, gpointer data) {
        static_cast<WebKitPage*>(data)->observer_.pageLoadFailed(error ? error->message : "unknown error");
        return FALSE;
    }

    static gboolean onDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                                   gpointer data) {
        if (type == WEBKIT_POLICY_DECISION_TYPE_RESPONSE) return FALSE;
        auto* page = static_cast<WebKitPage*>(data);
        WebKitNavigationAction* navigation =
            webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
        WebNavigationAction action;
        if (WebKitURIRequest* request = webkit_navigation_action_get_request(navigation)) {
            const char* uri = webkit_uri_request_get_uri(request);
            action.url = uri ? uri : "";
        }
        action.type = actionType(webkit_navigation_action_get_navigation_type(navigation));
        action.opensNewWindow = type == WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION;
        g_object_ref(decision);
        // The decision is taken later on the main queue; the engine waits.
        auto decided = std::make_shared<bool>(false);
        page->observer_.pageDecidePolicy(std::move(action), [decision, decided](bool allow) {
            if (*decided) return;
            *decided = true;
            if (allow) {
                webkit_policy_decision_use(decision);
            } else {
                webkit_policy_decision_ignore(decision);
            }
            g_object_unref(decision);
        });
        return TRUE;
    }

    // A script's window.open asks for the new view directly, with no policy
    // decision first. The program never makes a second view: the request is
    // offered as a refused new-window navigation, for the owner to load where
    // it likes.
    static GtkWidget* onCreate(WebKitWebView*, WebKitNavigationAction* navigation, gpointer data) {
        auto* page = static_cast<WebKitPage*>(data);
        WebNavigationAction action;
        if (WebKitURIRequest* request = webkit_navigation_action_get_request(navigation)) {
            const char* uri = webkit_uri_request_get_uri(request);
            action.url = uri ? uri : "";
        }
        action.type = actionType(webkit_navigation_action_get_navigation_type(navigation));
        action.opensNewWindow = true;
        if (!action.url.empty()) page->observer_.pageDecidePolicy(std::move(action), [](bool) {});
        return nullptr;
    }

    static void onTitle(GObject*, GParamSpec*, gpointer data) {
        static_cast<WebKitPage*>(data)->observer_.pageTitleChanged();
    }

    static void onTerminated(WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer data) {
        const char* why = reason == WEBKIT_WEB_PROCESS_CRASHED             ? "crashed"
                          : reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? "exceeded its memory limit"
                                                                               : "was terminated";
        static_cast<WebKitPage*>(data)->observer_.pageProcessTerminated(why);
    }

    static gboolean onDraw(GtkWidget*, cairo_t*, gpointer data) {
        auto* page = static_cast<WebKitPage*>(data);
        if (!page->painting_) page->observer_.pageNeedsDisplay();
        return FALSE;
    }

    static gboolean onUnhandledKeyPress(GtkWidget*, GdkEventKey* event, gpointer data) {
        auto* page = static_cast<WebKitPage*>(data);
        // Our own press, on its way to the view.
        if (page->sendingKey_) return FALSE;
        // Presses before this one were handled by the page.
        while (!page->pressesInPage_.empty()) {
            const auto press = page->pressesInPage_.front();
            page->pressesInPage_.pop_front();
            if (press.keyval == event->keyval) {
                page->observer_.pageDidNotHandleKeyDown(press.keyCode);
                return TRUE;
            }
        }
        return FALSE;
    }

    static void onCookiesChanged(WebKitCookieManager*, gpointer data) {
        static_cast<WebKitPage*>(data)->observer_.pageCookiesChanged();
    }

    WebPageObserver& observer_;
    std::shared_ptr<bool> alive_;
    WebKitUserContentManager* content_ = nullptr;
    WebKitWebView* view_ = nullptr;
    WebKitWebsiteDataManager* data_ = nullptr;
    WebKitCookieManager* cookies_ = nullptr;
    GtkWidget* window_ = nullptr;
    int width_ = 290;
    int height_ = 400;
    guint pressedButtons_ = 0;
    bool painting_ = false;
    bool pictureShown_ = true;
    struct SentPress {
        guint keyval;
        int keyCode;
    };
    std::deque<SentPress> pressesInPage_;
    bool sendingKey_ = false;
};

class WebKitEngine final : public WebEngineBackend {
public:
    explicit WebKitEngine(WebKitWebContext* context) : context_(context) {}

    std::unique_ptr<WebPageBackend> makePage(const WebViewConfiguration& configuration,
                                             WebPageObserver& observer) override {
        return std::make_unique<WebKitPage>(context_, configuration, observer);
    }
    RunLoopHost& runLoopHost() override { return host_; }
    void pump(double seconds) override { host_.wait(seconds); }

private:
    WebKitWebContext* context_;
    GLibRunLoopHost host_;
};

// The engine's sandbox runs its processes in new user namespaces through
// bubblewrap; a container often allows none. Tried once with the same kind
// of call, so a sandbox that cannot start is known before a page needs it.
std::optional<std::string> sandboxFailure() {
    gchar* errors = nullptr;
    gint status = 0;
    GError* error = nullptr;
    const gchar* argv[] = {"bwrap", "--unshare-all", "--ro-bind", "/", "/", "true", nullptr};
    const gboolean ran = g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr, static_cast<GSpawnFlags>(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL),
                                      nullptr, nullptr, nullptr, &errors, &status, &error);
    std::optional<std::string> failure;
    if (!ran) {
        failure = error ? error->message : "bubblewrap cannot be started";
    } else if (!g_spawn_check_wait_status(status, nullptr)) {
        failure = errors && *errors ? g_strstrip(errors) : "bubblewrap failed";
    }
    if (error) g_error_free(error);
    g_free(errors);
    return failure;
}

}  // namespace
}  // namespace tallowmere::platform

extern "C" __attribute__((visibility("default"))) tallowmere::platform::WebEngineBackend*
tallowmere_make_web_engine_backend(const tallowmere::platform::WebEngineOptions& options, std::string& failure) {
    using namespace tallowmere::platform;
    // Never a second engine: GTK is set up once per process.
    static WebEngineBackend* engine = nullptr;
    if (engine) return engine;
    if (options.display.empty()) {
        failure = "no display";
        return nullptr;
    }
    gdk_set_allowed_backends("x11");
    // The engine's own processes find the display in the environment they
    // inherit; set before any of them starts.
    g_setenv("DISPLAY", options.display.c_str(), TRUE);
    std::string displayArgument = options.display;
    char program[] = "tallowmere";
    char displayFlag[] = "--display";
    char* arguments[] = {program, displayFlag, displayArgument.data(), nullptr};
    char** argv = arguments;
    int argc = 3;
    if (!gtk_init_check(&argc, &argv)) {
        failure = "cannot open display " + options.display;
        return nullptr;
    }
    WebKitWebsiteDataManager* data = webkit_website_data_manager_new(
        "base-data-directory", options.dataDirectory.c_str(), "base-cache-directory", options.cacheDirectory.c_str(),
        nullptr);
    WebKitWebContext* context = webkit_web_context_new_with_website_data_manager(data);
    g_object_unref(data);
    bool sandboxed = options.sandboxed;
    if (sandboxed) {
        if (const auto failure = sandboxFailure()) {
            if (options.log) options.log("Web engine sandbox unavailable, pages run without it: " + *failure);
            sandboxed = false;
        }
    }
    webkit_web_context_set_sandbox_enabled(context, sandboxed);
    webkit_web_context_set_cache_model(context, WEBKIT_CACHE_MODEL_WEB_BROWSER);
    WebKitCookieManager* cookies =
        webkit_website_data_manager_get_cookie_manager(webkit_web_context_get_website_data_manager(context));
    const std::string cookieFile = options.dataDirectory + "/cookies.sqlite";
    webkit_cookie_manager_set_persistent_storage(cookies, cookieFile.c_str(), WEBKIT_COOKIE_PERSISTENT_STORAGE_SQLITE);
    webkit_cookie_manager_set_accept_policy(cookies, WEBKIT_COOKIE_POLICY_ACCEPT_NO_THIRD_PARTY);
    engine = new WebKitEngine(context);
    return engine;
}
