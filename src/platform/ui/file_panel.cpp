#include "platform/ui/file_panel.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "platform/runtime/app_context.h"
#include "platform/ui/application.h"
#include "platform/ui/file_panel_browser.h"
#include "platform/ui/view.h"
#include "platform/ui/ui_trace.h"
#include "platform/ui/window.h"

namespace tallowmere::platform {

namespace {

std::string lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string extensionOf(const std::filesystem::path& path) {
    auto extension = path.extension().string();
    if (!extension.empty() && extension.front() == '.') extension.erase(0, 1);
    return lowered(extension);
}

// A folder is one on disk, or a path written with a trailing separator.
bool looksLikeDirectory(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return true;
    const auto text = path.string();
    return !text.empty() && text.back() == '/';
}

}  // namespace

FilePanel::FilePanel() {
    window_ = Window::make<Panel>(ScreenRect{0, 0, 640, 420}, WindowStyleMask::titled | WindowStyleMask::resizable);
    window_->setLevel(WindowLevel::modalPanel);
    window_->setTracesOrdering(false);
    window_->setHidesOnDeactivate(false);
    window_->setContentView(View::make(Rect{0, 0, 640, 420}));
}

FilePanel::~FilePanel() = default;

std::shared_ptr<Window> FilePanel::window() const { return window_; }

bool FilePanel::allowsFileType(const std::filesystem::path& path) const {
    if (allowedFileTypes.empty()) return true;
    const auto extension = extensionOf(path);
    return std::any_of(allowedFileTypes.begin(), allowedFileTypes.end(),
                       [&](const std::string& type) { return lowered(type) == extension; });
}

ModalResponse FilePanel::ask(const std::string& how) {
    auto keepAlive = shared_from_this();
    auto& application = Application::shared();
    window_->setTitle(title);
    FilePanelBrowser::Options options;
    options.forSaving = isForSaving();
    options.message = message;
    options.prompt = prompt;
    options.initialName = initialName();
    options.allowsMultipleSelection = allowsMultipleOnScreen();
    options.accepts = [this](const std::vector<std::filesystem::path>& choice) { return acceptsOnScreen(choice); };
    // A panel asked again starts from a fresh set of controls.
    const auto previous = window_->contentView()->subviews();
    for (const auto& view : previous) view->removeFromSuperview();
    browser_ = std::make_unique<FilePanelBrowser>(window_, std::move(options));
    browser_->show(directoryURL);
    window_->center();
    UiTrace::shared().record(kindForTrace() + " shown " + how + quotedForTrace(title) + " " + quotedForTrace(message));
    Application::ModalSession session(application, window_);
    window_->makeKeyAndOrderFront();
    session.runPendingWork();
    const bool chosen = askResponder();
    UiTrace::shared().record(kindForTrace() + (chosen ? " answered OK" : " answered Cancel"));
    window_->orderOut();
    browser_.reset();
    return chosen ? ModalResponses::ok : ModalResponses::cancel;
}

ModalResponse FilePanel::runModal() { return ask(""); }

void FilePanel::begin(std::function<void(ModalResponse)> completion) {
    beginSheetModal(nullptr, std::move(completion));
}

void FilePanel::beginSheetModal(const std::shared_ptr<Window>& parent, std::function<void(ModalResponse)> completion) {
    const std::string how = parent ? "as a sheet on " + quotedForTrace(parent->title()) + " " : "";
    auto self = shared_from_this();
    AppContext::current().mainQueue().async([self, how, completion = std::move(completion)] {
        const auto response = self->ask(how);
        if (completion) completion(response);
    });
}

// --- OpenPanel ------------------------------------------------------------------

struct OpenPanel::Private {};
OpenPanel::OpenPanel(Private) {}

std::shared_ptr<OpenPanel> OpenPanel::make() { return std::make_shared<OpenPanel>(Private{}); }

std::optional<std::filesystem::path> OpenPanel::url() const {
    if (urls_.empty()) return std::nullopt;
    return urls_.front();
}

bool OpenPanel::accepts(const std::vector<std::filesystem::path>& choice) const {
    if (choice.empty()) return false;
    if (choice.size() > 1 && !allowsMultipleSelection) return false;
    for (const auto& path : choice) {
        // A package (an .app, say) counts as a file unless packages are
        // browsed as folders.
        const bool isPackage = !treatsFilePackagesAsDirectories && !allowedFileTypes.empty() && allowsFileType(path);
        const bool isDirectory = looksLikeDirectory(path) && !isPackage;
        if (isDirectory && !canChooseDirectories) return false;
        if (!isDirectory && (!canChooseFiles || !allowsFileType(path))) return false;
    }
    return true;
}

bool OpenPanel::askResponder() {
    urls_.clear();
    auto responder = Application::shared().modalResponder();
    if (!responder) return false;
    auto answer = responder->answerOpenPanel(*this);
    if (!answer) return false;
    if (!accepts(*answer)) {
        UiTrace::shared().record("open panel answer refused: not something this panel lets a person choose");
        return false;
    }
    urls_ = std::move(*answer);
    return true;
}

// --- SavePanel ------------------------------------------------------------------

struct SavePanel::Private {};
SavePanel::SavePanel(Private) {}

std::shared_ptr<SavePanel> SavePanel::make() { return std::make_shared<SavePanel>(Private{}); }

bool SavePanel::askResponder() {
    url_.reset();
    auto responder = Application::shared().modalResponder();
    if (!responder) return false;
    auto answer = responder->answerSavePanel(*this);
    if (!answer || answer->filename().empty()) return false;
    auto path = std::move(*answer);
    if (!allowedFileTypes.empty() && !allowsFileType(path)) path += "." + allowedFileTypes.front();
    url_ = std::move(path);
    return true;
}

}  // namespace tallowmere::platform
