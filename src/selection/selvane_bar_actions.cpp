// What the bar's buttons do with the selection they were shown for.
#include "selection/selvane_action_panel.h"

#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/event.h"
#include "platform/runtime/app_context.h"
#include "platform/runtime/main_queue.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/system_beep.h"
#include "screen/color_picker_controller.h"
#include "screen/screen_ruler_controller.h"
#include "selection/selvane_exclusions.h"

namespace tallowmere {

namespace {

platform::Desktop& desktop() { return platform::DesktopLink::desktop(); }

// Every byte outside the unreserved characters becomes %XX, so the text
// stays one value whatever the page does with "&", "=" or "#".
std::string percentEncodedUnreserved(std::string_view text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                                c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += digits[c >> 4];
            out += digits[c & 0x0F];
        }
    }
    return out;
}

std::string characterOf(std::uint16_t keyCode) {
    switch (keyCode) {
    case 7: return "x";
    case 8: return "c";
    case 9: return "v";
    default: return {};
    }
}

}  // namespace

const std::vector<std::string_view>& SelvaneActionPanel::searchBases() {
    static const std::vector<std::string_view> bases = {
        "https://www.baidu.com/s?wd=",
        "https://www.google.com/search?q=",
        "https://www.bing.com/search?q=",
    };
    return bases;
}

const std::vector<std::string_view>& SelvaneActionPanel::translationBases() {
    static const std::vector<std::string_view> bases = {
        "https://fanyi.baidu.com/#auto/zh/",
        "https://translate.google.com/?sl=auto&tl=zh-CN&op=translate&text=",
        "https://www.bing.com/translator?from=auto&to=zh-Hans&text=",
    };
    return bases;
}

void SelvaneActionPanel::copySelectedText() {
    if (isSecureSelection_) {
        performSourceCommandKey(8);
        return;
    }
    auto& pasteboard = desktop().pasteboard();
    pasteboard.clearContents();
    if (!pasteboard.setString(selectedText_)) {
        hide();
        return;
    }
    if (auto address = webURL(selectedText_)) {
        // The bar's own write is no new copy for the clipboard watch.
        clipboardChangeCount_ = pasteboard.changeCount();
        updateJumpURL(address);
        if (!isPointerInside_) scheduleAutoHide();
        return;
    }
    hide();
}

void SelvaneActionPanel::cutSelectedText() { performSourceCommandKey(7); }

void SelvaneActionPanel::pasteSelectedText() { performSourceCommandKey(9); }

void SelvaneActionPanel::performSourceCommandKey(std::uint16_t keyCode) {
    if (!sourceProcessIdentifier_ || !sourceFocusedElement_) {
        hide();
        platform::systemBeep();
        return;
    }
    const pid_t pid = *sourceProcessIdentifier_;
    const platform::AXElement element = *sourceFocusedElement_;
    hide();
    std::weak_ptr<SelvaneActionPanel> weak = weak_from_this();
    platform::AppContext::current().mainQueue().asyncAfter(keyPostDelaySeconds, [weak, pid, element, keyCode] {
        if (!weak.lock()) return;
        auto& desk = desktop();
        // The keys go to whatever has the focus then; only the same field may get them.
        const auto front = desk.frontmostApplication();
        const bool samePlace = desk.accessibility().isProcessTrusted() && front && front->processIdentifier() == pid &&
                               focusedElement(pid) == element;
        if (!samePlace) {
            platform::systemBeep();
            return;
        }
        const platform::ModifierFlags command{platform::ModifierFlags::command};
        auto down = platform::Event::key(platform::EventType::keyDown, keyCode, characterOf(keyCode), command);
        down.charactersIgnoringModifiers = characterOf(keyCode);
        auto up = down;
        up.type = platform::EventType::keyUp;
        if (!desk.postToProcess(pid, down).ok()) return;
        (void)desk.postToProcess(pid, up);
    });
}

void SelvaneActionPanel::openWebActions(const std::vector<std::string_view>& bases) {
    const std::string encoded = percentEncodedUnreserved(selectedText_);
    for (std::string_view base : bases) {
        const std::string address = std::string(base) + encoded;
        if (platform::Url::parse(address)) desktop().workspace().openURL(address);
    }
    hide();
}

void SelvaneActionPanel::searchSelectedText() { openWebActions(searchBases()); }

void SelvaneActionPanel::translateSelectedText() { openWebActions(translationBases()); }

void SelvaneActionPanel::jumpToURL() {
    if (!jumpURL_) return;
    const std::string address = *jumpURL_;
    hide();
    desktop().workspace().openURL(address);
}

void SelvaneActionPanel::excludeSourceApplication() {
    if (!sourceBundleID_) return;
    SelvaneExclusions::add(*sourceBundleID_, sourceApplicationName_);
    hide();
}

void SelvaneActionPanel::openColorPicker() {
    hide();
    ColorPickerController::shared().pick();
}

void SelvaneActionPanel::openScreenRuler() {
    hide();
    ScreenRulerController::shared().showFromMenu();
}

}  // namespace tallowmere
