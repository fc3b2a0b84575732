#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/base/url.h"
#include "platform/gfx/bitmap.h"
#include "platform/runtime/work_item.h"
#include "platform/ui/view.h"
#include "platform/web/web_engine_backend.h"

namespace tallowmere::platform {

class WebView;

// What a web view tells its owner, always on the main queue, never inside
// a call into the view.
class WebViewNavigationDelegate {
public:
    virtual ~WebViewNavigationDelegate() = default;
    virtual void webViewDidStartNavigation(WebView& view) { (void)view; }
    virtual void webViewDidCommitNavigation(WebView& view) { (void)view; }
    virtual void webViewDidFinishNavigation(WebView& view) { (void)view; }
    virtual void webViewDidFailNavigation(WebView& view, const std::string& error) {
        (void)view;
        (void)error;
    }
    // Calls `decide(true)` to let it happen, `decide(false)` to cancel it,
    // now or later, once. Allowed unless a delegate says otherwise.
    virtual void webViewDecidePolicy(WebView& view, const WebNavigationAction& action,
                                     std::function<void(bool)> decide) {
        (void)view;
        (void)action;
        decide(true);
    }
    virtual void webViewDidReceiveScriptMessage(WebView& view, const WebScriptMessage& message) {
        (void)view;
        (void)message;
    }
    virtual void webViewTitleDidChange(WebView& view) { (void)view; }
    virtual void webViewWebContentProcessDidTerminate(WebView& view, const std::string& reason) {
        (void)view;
        (void)reason;
    }
    virtual void webViewCookiesDidChange(WebView& view) { (void)view; }
};

// A view that shows web pages through the process's web engine. The page
// runs in the engine whether or not the view is on screen; its picture is
// painted into the view's canvas, and the view's mouse, wheel and keys reach
// the page as the person's own input.
class WebView : public View {
public:
    // Timeout of a load started by `load`, in seconds.
    static constexpr double defaultTimeout = 60;

    // None when the engine cannot run here (the reason is logged once).
    static std::shared_ptr<WebView> make(Rect frame, const WebViewConfiguration& configuration);
    ~WebView() override;

    void setNavigationDelegate(std::weak_ptr<WebViewNavigationDelegate> delegate) {
        delegate_ = std::move(delegate);
    }

    // Loads the address; a load not finished after `timeout` seconds (on the
    // main queue's clock) is stopped and reported as failed.
    void load(const Url& url, double timeout = defaultTimeout);
    void loadHTMLString(const std::string& html, const std::optional<Url>& baseURL);
    void stopLoading();
    void reload();
    void goBack();
    void goForward();
    bool canGoBack() const;
    bool canGoForward() const;
    std::optional<Url> url() const;
    std::optional<std::string> title() const;
    bool isLoading() const;
    std::string customUserAgent() const;

    using ScriptCompletion = WebPageBackend::ScriptCompletion;
    // Runs the script in the main frame; the completion, when given, runs
    // on the main queue.
    void evaluateJavaScript(const std::string& source, ScriptCompletion completion = {});

    void allCookies(WebPageBackend::CookiesCompletion completion);
    void setCookie(const HttpCookie& cookie, std::function<void()> completion = {});
    void removeAllCookies(std::function<void()> completion = {});

    // The colour scheme pages are told the desktop uses.
    void setDarkAppearance(bool dark);

    // A colour-controls filter on the page's picture: 0 shows it grey; none
    // shows it as it is.
    void setSaturationFilter(std::optional<double> saturation);
    std::optional<double> saturationFilter() const { return saturation_; }

    // The page's picture as the view shows it now (filter applied).
    Bitmap pagePicture();

    void draw(Canvas& canvas, Rect dirty) override;
    void viewDidChangeSize(Size oldSize) override;
    void mouseDown(const Event& event) override;
    void mouseUp(const Event& event) override;
    void mouseDragged(const Event& event) override;
    void mouseMoved(const Event& event) override;
    void rightMouseDown(const Event& event) override;
    void rightMouseUp(const Event& event) override;
    void scrollWheel(const Event& event) override;
    void keyDown(const Event& event) override;
    void keyUp(const Event& event) override;
    bool acceptsFirstResponder() const override { return true; }
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    std::string accessibilityRole() const override { return "AXWebArea"; }

    // For the engine's callbacks (the view is their observer).
    class Observer;

protected:
    explicit WebView(Rect frame);

private:
    // A finished load waits at most this long for a title the page has.
    static constexpr double titleGracePeriod = 1;

    void beginNavigation();
    // Tells the delegate of the finished load once its title is known, or
    // known to be none.
    void finishOnceTitleIsKnown();
    void reportFinish(std::uint64_t navigation);
    // A press the page did not handle goes on as any view's would.
    void keyDownNotHandledByPage(int keyCode);
    // The engine has a new picture of the page.
    void pagePictureDidChange();
    void setPagePictureShown(bool shown);
    void sendMouse(WebMouseKind kind, const Event& event, int button);
    Point pagePoint(const Event& event) const;
    void cancelTimeout();

    std::unique_ptr<Observer> observer_;
    std::unique_ptr<WebPageBackend> page_;
    std::weak_ptr<WebViewNavigationDelegate> delegate_;
    std::shared_ptr<WorkItem> timeout_;
    std::optional<double> saturation_;
    // Counts started loads, so a finish of an earlier one is dropped.
    std::uint64_t navigation_ = 0;
    bool awaitingTitle_ = false;
    // False from a change of the page's picture while the view could not be
    // seen until the view is next drawn.
    bool pagePictureShown_ = true;
    // Key presses sent to the page whose answer has not come yet.
    std::deque<Event> keyDownsInPage_;
};

}  // namespace tallowmere::platform
