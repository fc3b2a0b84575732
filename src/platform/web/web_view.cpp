#include "platform/web/web_view.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image.h"
#include "platform/gfx/image_filters.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/layer_animation_ticker.h"
#include "platform/ui/tracking_area.h"
#include "platform/ui/window.h"
#include "platform/web/web_engine.h"

namespace tallowmere::platform {

// Hands every engine callback on to the main queue, so the delegate never
// runs inside the engine's own dispatch and never after the view is gone.
class WebView::Observer final : public WebPageObserver {
public:
    explicit Observer(std::weak_ptr<WebView> view) : view_(std::move(view)) {}

    void pageLoadChanged(LoadEvent event) override {
        post([event](WebView& view, WebViewNavigationDelegate* delegate) {
            if (event == LoadEvent::finished) view.cancelTimeout();
            if (event == LoadEvent::started) view.beginNavigation();
            view.setNeedsDisplay();
            if (!delegate) return;
            switch (event) {
            case LoadEvent::started: delegate->webViewDidStartNavigation(view); break;
            case LoadEvent::committed: delegate->webViewDidCommitNavigation(view); break;
            case LoadEvent::finished: view.finishOnceTitleIsKnown(); break;
            }
        });
    }
    void pageLoadFailed(std::string description) override {
        post([description = std::move(description)](WebView& view, WebViewNavigationDelegate* delegate) {
            view.cancelTimeout();
            if (delegate) delegate->webViewDidFailNavigation(view, description);
        });
    }
    void pageDecidePolicy(WebNavigationAction action, std::function<void(bool)> decide) override {
        auto& queue = AppContext::current().mainQueue();
        queue.async([view = view_, action = std::move(action), decide = std::move(decide)] {
            auto strong = view.lock();
            auto delegate = strong ? strong->delegate_.lock() : nullptr;
            if (!delegate) {
                decide(static_cast<bool>(strong));
                return;
            }
            delegate->webViewDecidePolicy(*strong, action, decide);
        });
    }
    void pageReceivedScriptMessage(WebScriptMessage message) override {
        post([message = std::move(message)](WebView& view, WebViewNavigationDelegate* delegate) {
            if (delegate) delegate->webViewDidReceiveScriptMessage(view, message);
        });
    }
    void pageNeedsDisplay() override {
        post([](WebView& view, WebViewNavigationDelegate*) { view.pagePictureDidChange(); });
    }
    void pageTitleChanged() override {
        post([](WebView& view, WebViewNavigationDelegate* delegate) {
            if (delegate) delegate->webViewTitleDidChange(view);
            if (view.awaitingTitle_ && view.title()) view.reportFinish(view.navigation_);
        });
    }
    void pageProcessTerminated(std::string reason) override {
        post([reason = std::move(reason)](WebView& view, WebViewNavigationDelegate* delegate) {
            view.cancelTimeout();
            if (delegate) delegate->webViewWebContentProcessDidTerminate(view, reason);
        });
    }
    void pageCookiesChanged() override {
        post([](WebView& view, WebViewNavigationDelegate* delegate) {
            if (delegate) delegate->webViewCookiesDidChange(view);
        });
    }
    void pageDidNotHandleKeyDown(int keyCode) override {
        post([keyCode](WebView& view, WebViewNavigationDelegate*) { view.keyDownNotHandledByPage(keyCode); });
    }

private:
    template <class Work>
    void post(Work work) {
        AppContext::current().mainQueue().async([view = view_, work = std::move(work)] {
            auto strong = view.lock();
            if (!strong) return;
            auto delegate = strong->delegate_.lock();
            work(*strong, delegate.get());
        });
    }

    std::weak_ptr<WebView> view_;
};

WebView::WebView(Rect frame) : View(frame) {}

WebView::~WebView() { cancelTimeout(); }

std::shared_ptr<WebView> WebView::make(Rect frame, const WebViewConfiguration& configuration) {
    auto* engine = WebEngine::shared().backend();
    if (!engine) return nullptr;
    std::shared_ptr<WebView> view(new WebView(frame));
    view->observer_ = std::make_unique<Observer>(view);
    view->page_ = engine->makePage(configuration, *view->observer_);
    // The pointer's moves over the view reach the page, so it sees hovering
    // (players show their controls, pages set cursors).
    view->addTrackingArea(TrackingArea::make(
        {}, TrackingOption::mouseMoved | TrackingOption::activeAlways | TrackingOption::inVisibleRect));
    view->page_->setSize(static_cast<int>(std::max(frame.size.width, 1.0)),
                         static_cast<int>(std::max(frame.size.height, 1.0)));
    return view;
}

void WebView::load(const Url& url, double timeout) {
    cancelTimeout();
    beginNavigation();
    page_->load(url.string());
    std::weak_ptr<View> weak = weak_from_this();
    timeout_ = AppContext::current().mainQueue().asyncAfter(timeout, [weak] {
        auto view = std::static_pointer_cast<WebView>(weak.lock());
        if (!view || !view->isLoading()) return;
        view->timeout_.reset();
        view->page_->stopLoading();
        if (auto delegate = view->delegate_.lock()) delegate->webViewDidFailNavigation(*view, "The request timed out.");
    });
}

void WebView::beginNavigation() {
    ++navigation_;
    awaitingTitle_ = false;
}

void WebView::finishOnceTitleIsKnown() {
    const std::uint64_t navigation = navigation_;
    if (title()) {
        reportFinish(navigation);
        return;
    }
    // The engine may tell the title after the load: the page says whether
    // it has one, and a finish with a title still to come waits for it.
    std::weak_ptr<View> weak = weak_from_this();
    evaluateJavaScript("document.title", [weak, navigation](std::optional<std::string> result, std::string) {
        auto view = std::static_pointer_cast<WebView>(weak.lock());
        if (!view || view->navigation_ != navigation) return;
        const bool titled = result && *result != "\"\"" && *result != "null";
        if (!titled || view->title()) {
            view->reportFinish(navigation);
            return;
        }
        view->awaitingTitle_ = true;
        // A title the engine never passes on must not hold the finish back.
        AppContext::current().mainQueue().asyncAfter(titleGracePeriod, [weak, navigation] {
            auto late = std::static_pointer_cast<WebView>(weak.lock());
            if (late && late->awaitingTitle_) late->reportFinish(navigation);
        });
    });
}

void WebView::reportFinish(std::uint64_t navigation) {
    if (navigation != navigation_) return;
    awaitingTitle_ = false;
    if (auto delegate = delegate_.lock()) delegate->webViewDidFinishNavigation(*this);
}

void WebView::cancelTimeout() {
    if (timeout_) timeout_->cancel();
    timeout_.reset();
}

void WebView::loadHTMLString(const std::string& html, const std::optional<Url>& baseURL) {
    cancelTimeout();
    beginNavigation();
    page_->loadHTML(html, baseURL ? baseURL->string() : std::string());
}

void WebView::stopLoading() { page_->stopLoading(); }
// Each asks for a new page: a finish still on its way belongs to the old one.
void WebView::reload() {
    beginNavigation();
    page_->reload();
}
void WebView::goBack() {
    beginNavigation();
    page_->goBack();
}
void WebView::goForward() {
    beginNavigation();
    page_->goForward();
}
bool WebView::canGoBack() const { return page_->canGoBack(); }
bool WebView::canGoForward() const { return page_->canGoForward(); }
std::optional<std::string> WebView::title() const { return page_->title(); }
bool WebView::isLoading() const { return page_->isLoading(); }
std::string WebView::customUserAgent() const { return page_->userAgent(); }

std::optional<Url> WebView::url() const {
    const auto text = page_->url();
    if (text.empty()) return std::nullopt;
    return Url::parse(text);
}

void WebView::evaluateJavaScript(const std::string& source, ScriptCompletion completion) {
    if (!completion) {
        page_->evaluateJavaScript(source, {});
        return;
    }
    page_->evaluateJavaScript(source, [completion = std::move(completion)](std::optional<std::string> result,
                                                                           std::string error) {
        AppContext::current().mainQueue().async(
            [completion, result = std::move(result), error = std::move(error)] { completion(result, error); });
    });
}

void WebView::allCookies(WebPageBackend::CookiesCompletion completion) {
    page_->allCookies([completion = std::move(completion)](std::vector<HttpCookie> cookies) {
        AppContext::current().mainQueue().async(
            [completion, cookies = std::move(cookies)]() mutable { completion(std::move(cookies)); });
    });
}

void WebView::setCookie(const HttpCookie& cookie, std::function<void()> completion) {
    page_->setCookie(cookie, [completion = std::move(completion)] {
        if (completion) AppContext::current().mainQueue().async(completion);
    });
}

void WebView::setDarkAppearance(bool dark) { page_->setDarkAppearance(dark); }

void WebView::removeAllCookies(std::function<void()> completion) {
    page_->removeAllCookies([completion = std::move(completion)] {
        if (completion) AppContext::current().mainQueue().async(completion);
    });
}

void WebView::setSaturationFilter(std::optional<double> saturation) {
    if (saturation_ == saturation) return;
    saturation_ = saturation;
    setNeedsDisplay();
}

Bitmap WebView::pagePicture() {
    const WebPixels pixels = page_->paint();
    Bitmap bitmap(pixels.width, pixels.height);
    if (pixels.bytes.size() < static_cast<std::size_t>(pixels.stride) * pixels.height) return bitmap;
    auto& out = bitmap.pixels();
    for (int y = 0; y < pixels.height; ++y) {
        const auto* row = pixels.bytes.data() + static_cast<std::size_t>(y) * pixels.stride;
        for (int x = 0; x < pixels.width; ++x) {
            std::uint32_t argb;
            std::memcpy(&argb, row + 4 * x, 4);
            const unsigned alpha = argb >> 24;
            auto unpremultiply = [alpha](unsigned channel) {
                return static_cast<std::uint8_t>(alpha == 0 ? 0 : std::min(255u, (channel * 255 + alpha / 2) / alpha));
            };
            out[static_cast<std::size_t>(y) * pixels.width + x] =
                Pixel{unpremultiply((argb >> 16) & 0xff), unpremultiply((argb >> 8) & 0xff), unpremultiply(argb & 0xff),
                      static_cast<std::uint8_t>(alpha)};
        }
    }
    if (saturation_) return ImageFilters::colorControls(bitmap, *saturation_, 0, 1);
    return bitmap;
}

void WebView::pagePictureDidChange() {
    setNeedsDisplay();
    // A page nobody sees (a panel hidden by transparency, say) plays on;
    // its frames cost no drawing until the view is drawn again.
    if (!isShowingOnScreen(*this)) setPagePictureShown(false);
}

void WebView::setPagePictureShown(bool shown) {
    if (shown == pagePictureShown_) return;
    pagePictureShown_ = shown;
    page_->setPictureShown(shown);
}

void WebView::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    setPagePictureShown(true);
    canvas.drawImage(Image::fromBitmap(pagePicture()), bounds());
}

void WebView::viewDidChangeSize(Size oldSize) {
    (void)oldSize;
    const Size size = frame().size;
    page_->setSize(static_cast<int>(std::max(size.width, 1.0)), static_cast<int>(std::max(size.height, 1.0)));
    setNeedsDisplay();
}

Point WebView::pagePoint(const Event& event) const {
    const Point point = locationInView(event);
    return isFlipped() ? point : Point{point.x, bounds().size.height - point.y};
}

void WebView::sendMouse(WebMouseKind kind, const Event& event, int button) {
    const Point point = pagePoint(event);
    page_->sendMouse(kind, point.x, point.y, button, std::max(event.clickCount, 1), event.modifierFlags.rawValue);
}

void WebView::mouseDown(const Event& event) {
    if (auto window = this->window()) window->makeFirstResponder(std::static_pointer_cast<View>(shared_from_this()));
    sendMouse(WebMouseKind::down, event, 1);
}
void WebView::mouseUp(const Event& event) { sendMouse(WebMouseKind::up, event, 1); }
void WebView::mouseDragged(const Event& event) { sendMouse(WebMouseKind::moved, event, 1); }
void WebView::mouseMoved(const Event& event) { sendMouse(WebMouseKind::moved, event, 0); }
void WebView::rightMouseDown(const Event& event) { sendMouse(WebMouseKind::down, event, 3); }
void WebView::rightMouseUp(const Event& event) { sendMouse(WebMouseKind::up, event, 3); }

void WebView::scrollWheel(const Event& event) {
    const Point point = pagePoint(event);
    const double lines = 10;
    const double dx = event.hasPreciseScrollingDeltas ? event.scrollingDeltaX : event.deltaX * lines;
    const double dy = event.hasPreciseScrollingDeltas ? event.scrollingDeltaY : event.deltaY * lines;
    page_->sendScroll(point.x, point.y, dx, dy);
}

void WebView::keyDown(const Event& event) {
    // The page answers later; the presses it handled are never named, so
    // only the most recent few are kept to match its answer against.
    constexpr std::size_t pressesKept = 32;
    if (keyDownsInPage_.size() == pressesKept) keyDownsInPage_.pop_front();
    keyDownsInPage_.push_back(event);
    page_->sendKey(true, event.keyCode, event.characters, event.modifierFlags.rawValue);
}

void WebView::keyDownNotHandledByPage(int keyCode) {
    // Presses before this one were the page's.
    while (!keyDownsInPage_.empty()) {
        const Event event = keyDownsInPage_.front();
        keyDownsInPage_.pop_front();
        if (event.keyCode != keyCode) continue;
        // As a key no view took: a button with it as key equivalent, else
        // the window's own handling (Esc cancels).
        auto window = this->window();
        if (!window) return;
        auto root = window->contentView();
        if (root && root->performKeyEquivalent(event)) return;
        window->keyDown(event);
        return;
    }
}
void WebView::keyUp(const Event& event) {
    page_->sendKey(false, event.keyCode, event.characters, event.modifierFlags.rawValue);
}

bool WebView::becomeFirstResponder() {
    page_->setFocused(true);
    return true;
}
bool WebView::resignFirstResponder() {
    page_->setFocused(false);
    return true;
}

}  // namespace tallowmere::platform
