#include "hosts/hosts_editor_controller.h"

#include <algorithm>
#include <cctype>

#include "hosts/hosts_apply_script.h"
#include "hosts/hosts_backups.h"
#include "hosts/hosts_staged_file.h"
#include "hosts/hosts_text_validator.h"
#include "platform/base/text.h"
#include "platform/runtime/app_context.h"
#include "platform/system/files.h"
#include "platform/system/paths.h"
#include "platform/system/privileged_shell_scripts.h"
#include "platform/system/process_runner.h"
#include "platform/system/system_files.h"
#include "platform/ui/alert.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/menu.h"
#include "platform/ui/outline_view.h"
#include "platform/ui/pop_up_button.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "platform/ui/window_controller.h"

namespace tallowmere {

namespace fs = std::filesystem;
using platform::Color;
using platform::Error;
using platform::ErrorCode;
using platform::Result;
using platform::SystemColor;

namespace {

constexpr std::string_view folderName = "Tallowmere";

// A file read as UTF-8 text; other bytes are an error, not mojibake.
Result<std::string> readUtf8Text(const fs::path& file) {
    auto text = platform::Files::readText(file);
    if (!text) return text.error();
    if (!platform::Text::isValidUtf8(*text)) {
        return Error{ErrorCode::parseFailed, "The file \u201C" + file.filename().string() + "\u201D isn\u2019t UTF-8 text.",
                     0};
    }
    return text;
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    auto found = std::search(text.begin(), text.end(), part.begin(), part.end(), [](char left, char right) {
        return std::tolower(static_cast<unsigned char>(left)) == std::tolower(static_cast<unsigned char>(right));
    });
    return found != text.end();
}

}  // namespace

HostsEditorController& HostsEditorController::shared() {
    return platform::AppContext::current().shared<HostsEditorController>();
}

HostsEditorController::HostsEditorController()
    : outlineView(platform::OutlineView::make()),
      textView(platform::TextView::make()),
      titleLabel(platform::Label::make()),
      subtitleLabel(platform::Label::make()),
      statusLabel(platform::Label::make()),
      saveButton(platform::Button::make("保存并应用")),
      applyButton(platform::Button::make("应用到系统")) {
    // Only the path: the file is seeded when first read (systemHostsFile),
    // not when the status menu made at launch builds this controller.
    hostsURL = platform::Paths::systemFile("/private/etc/hosts");
    // The simulated Mac's privileged helper runs this script and no other.
    platform::PrivilegedShellScripts::shared().accept(std::string(HostsApplyScript::scriptTemplate),
                                                      std::string(HostsApplyScript::stagedFileSlot));
}

HostsEditorController::~HostsEditorController() = default;


std::shared_ptr<platform::Menu> HostsEditorController::makeQuickSelectionMenu() {
    loadLibraryIfNeeded();
    auto menu = platform::Menu::make("Hosts 快速选择");
    const std::weak_ptr<HostsEditorController> weakSelf = weak_from_this();
    bool anyProfile = false;
    for (const auto& category : library.categories) {
        auto categoryItem = menu->addItem(category.name);
        auto profiles = platform::Menu::make(category.name);
        categoryItem->setSubmenu(profiles);
        if (category.profiles.empty()) profiles->addItem("暂无 Hosts")->setEnabled(false);
        for (const auto& profile : category.profiles) {
            anyProfile = true;
            auto item = profiles->addItem(profile.name, [weakSelf](platform::MenuItem& sender) {
                if (auto self = weakSelf.lock()) self->applyProfileFromQuickMenu(sender);
            });
            item->setRepresentedObject(profile.id.uuidString());
            // A second apply would be refused while one waits for its prompt.
            item->setEnabled(!isSaving);
            item->setState(library.activeProfileID == profile.id ? platform::MenuItemState::on
                                                                 : platform::MenuItemState::off);
        }
    }
    if (!anyProfile) {
        menu->addSeparator();
        menu->addItem("请先在 Hosts 编辑中新建方案")->setEnabled(false);
    }
    return menu;
}

void HostsEditorController::applyProfileFromQuickMenu(const platform::MenuItem& item) {
    const auto* text = item.representedObjectAs<std::string>();
    const auto id = text ? platform::Uuid::fromString(*text) : std::nullopt;
    if (!id) return;
    for (const auto& category : library.categories) {
        for (const auto& profile : category.profiles) {
            if (profile.id == *id) {
                applyToSystem(profile.content, profile.id, profile.name + " 已应用到系统");
                return;
            }
        }
    }
}

// --- Library ------------------------------------------------------------------------

Result<fs::path> HostsEditorController::libraryFileURL() const {
    const fs::path support = platform::Paths::applicationSupport();
    if (auto made = platform::Files::createDirectories(support); !made) return made.error();
    return support / folderName / "hosts-library.json";
}

void HostsEditorController::loadLibraryIfNeeded() {
    if (didLoadLibrary) return;
    didLoadLibrary = true;
    if (auto url = libraryFileURL()) {
        auto bytes = platform::Files::readText(*url);
        if (bytes) {
            if (auto decoded = HostsLibrary::decode(*bytes)) {
                library = std::move(*decoded);
                return;
            }
        }
        if (bytes || bytes.error().code != ErrorCode::notFound) keepUnreadableLibraryAside(*url);
    }
    library = HostsLibrary::makeDefault();
    // Written on the next turn of the main queue: the status menu loads the
    // library at launch, and a first start need not wait for the disk before
    // it is ready. The write stores whatever the library holds by then.
    std::weak_ptr<HostsEditorController> weak = weak_from_this();
    platform::AppContext::current().mainQueue().async([weak] {
        if (auto self = weak.lock()) (void)self->persistLibrary();
    });
}

const fs::path& HostsEditorController::systemHostsFile() {
    // Once, as the system's file is there from the start: a file removed
    // later is missing, not seeded again. A failed seed shows as the read's
    // own failure.
    if (!systemHostsSeeded_) (void)platform::SystemFiles::hosts();
    systemHostsSeeded_ = true;
    return hostsURL;
}

void HostsEditorController::keepUnreadableLibraryAside(const fs::path& file) {
    auto aside = platform::Files::keepAside(file, platform::AppContext::current().clock().now());
    if (aside) {
        libraryNotice_ = {"Hosts 方案库无法读取，已另存为 " + aside->filename().string() + "，现使用新的方案库",
                          Color::system(SystemColor::orange)};
    } else {
        libraryWritesBlocked_ = true;
        libraryNotice_ = {"Hosts 方案库无法读取，也无法另存；为保留原文件，本次运行不会写入方案库",
                          Color::system(SystemColor::red)};
    }
    setStatus(libraryNotice_->first, libraryNotice_->second);
}

Result<void> HostsEditorController::persistLibrary() {
    if (libraryWritesBlocked_) {
        return Error{ErrorCode::ioFailed,
                     "The unreadable hosts library couldn\u2019t be kept aside, so it isn\u2019t written over.", 0};
    }
    auto url = libraryFileURL();
    if (!url) return url.error();
    if (auto made = platform::Files::createDirectories(url->parent_path()); !made) return made.error();
    auto bytes = library.encode();
    if (!bytes) return bytes.error();
    return platform::Files::writeAtomically(*url, *bytes);
}

bool HostsEditorController::updateProfile(const platform::Uuid& categoryID, const platform::Uuid& profileID,
                                          std::string content) {
    return storeProfile(categoryID, profileID, std::move(content)).ok();
}

Result<void> HostsEditorController::storeProfile(const platform::Uuid& categoryID, const platform::Uuid& profileID,
                                                 std::string content) {
    auto* profile = library.profile(categoryID, profileID);
    if (!profile) return {};
    profile->content = std::move(content);
    profile->updatedAt = platform::AppContext::current().clock().now();
    return persistLibrary();
}

// --- Validation and apply -------------------------------------------------------------

std::optional<std::string> HostsEditorController::validate(std::string_view text) const {
    return validateHostsText(text);
}

void HostsEditorController::applyCurrentProfile() {
    const auto* profile = selectedNode ? std::get_if<HostsSidebarNode::Profile>(&selectedNode->kind) : nullptr;
    if (!profile) return;
    const std::string text = textView->string();
    if (auto message = validate(text)) {
        presentAlert("Hosts 格式有误", *message);
        return;
    }
    const HostsSidebarNode::Profile ids = *profile;
    (void)updateProfile(ids.categoryID, ids.profileID, text);
    loadedContent = text;
    applyToSystem(text, ids.profileID, "此 Hosts 方案已应用到系统");
}

void HostsEditorController::applyToSystem(std::string text, std::optional<platform::Uuid> activeProfileID,
                                          std::string successMessage) {
    // The quick menu stays usable while the window waits; a second script
    // racing the first could leave either text in place.
    if (isSaving) {
        presentAlert("正在应用 Hosts", "请等待当前的应用完成后再试。");
        return;
    }
    if (!text.ends_with('\n')) text += '\n';
    if (auto message = validate(text)) {
        presentAlert("Hosts 格式有误", *message);
        return;
    }
    if (auto backedUp = forceBackupCurrentSystemHosts(); !backedUp) {
        presentAlert("无法保存 Hosts", backedUp.error().message);
        return;
    }
    auto staged = StagedHostsFile::create(text);
    if (!staged) {
        presentAlert("无法保存 Hosts", staged.error().message);
        return;
    }
    applyAuthorized(std::make_shared<StagedHostsFile>(std::move(*staged)), std::move(text), activeProfileID,
                    std::move(successMessage));
}

void HostsEditorController::applyAuthorized(std::shared_ptr<StagedHostsFile> staged, std::string text,
                                            std::optional<platform::Uuid> activeProfileID,
                                            std::string successMessage) {
    isSaving = true;
    setControlsEnabled(false);
    setStatus("等待管理员授权…", Color::system(SystemColor::blue));

    const std::string source = HostsApplyScript::appleScriptSource(HostsApplyScript::shellScript(staged->path()));
    std::weak_ptr<HostsEditorController> weak = weak_from_this();
    auto started = platform::ProcessRunner::start(
        {.executable = "/usr/bin/osascript", .arguments = {"-e", source}},
        [weak, staged, text, activeProfileID, successMessage](const platform::ProcessResult& result) {
            staged->remove();
            if (auto self = weak.lock()) self->completeApply(result, text, activeProfileID, successMessage);
        });
    if (!started) {
        isSaving = false;
        setControlsEnabled(true);
        staged->remove();
        presentAlert("无法请求管理员授权", started.error().message);
        return;
    }
    applyProcess_ = *started;
}

void HostsEditorController::completeApply(const platform::ProcessResult& result, const std::string& text,
                                          std::optional<platform::Uuid> activeProfileID,
                                          const std::string& successMessage) {
    applyProcess_.reset();
    // Canonically equivalent text is the same hosts file to the resolver.
    auto readBack = readUtf8Text(systemHostsFile());
    const bool succeeded = result.succeeded() && readBack && platform::Text::nfc(*readBack) == platform::Text::nfc(text);

    isSaving = false;
    applyButton->setEnabled(true);

    if (!succeeded) {
        setStatus("未保存", Color::system(SystemColor::secondaryLabel));
        saveButton->setEnabled(textView->string() != loadedContent);
        // The person dismissed the password prompt: nothing to explain.
        if (containsIgnoringCase(result.standardError, "User canceled") ||
            containsIgnoringCase(result.standardError, "-128")) {
            return;
        }
        std::string message = platform::Text::trimmingWhitespaceAndNewlines(result.standardError);
        if (message.empty()) message = "未能确认系统 Hosts 内容与本次保存一致，请检查后重试。";
        presentAlert("无法应用 Hosts", message);
        return;
    }

    const auto previousActive = library.activeProfileID;
    library.activeProfileID = activeProfileID;
    if (auto persisted = persistLibrary(); !persisted) {
        library.activeProfileID = previousActive;
        setStatus("Hosts 已写入，但配置状态保存失败", Color::system(SystemColor::orange));
        presentAlert("无法保存 Hosts 配置状态", persisted.error().message);
        return;
    }
    if (result.standardOutput.find(HostsApplyScript::cacheRefreshFailedMarker) != std::string::npos) {
        setStatus("Hosts 已写入，网络缓存刷新未完成", Color::system(SystemColor::orange));
    } else {
        setStatus(successMessage, Color::system(SystemColor::green));
    }
    saveButton->setEnabled(false);
    if (windowController && windowController->window()) rebuildSidebar(selectedNode ? selectedNode->key : "system");
}

void HostsEditorController::presentAlert(const std::string& title, const std::string& message) {
    auto alert = platform::Alert::make();
    alert->alertStyle = platform::AlertStyle::warning;
    alert->messageText = title;
    alert->informativeText = message.empty() ? "请稍后再试。" : message;
    alert->addButton("好");
    if (auto window = windowController ? windowController->window() : nullptr) {
        alert->beginSheetModal(window, nullptr);
    } else {
        (void)alert->runModal();
    }
}

void HostsEditorController::setStatus(std::string text, Color color) {
    statusLabel->setStringValue(std::move(text));
    statusLabel->setTextColor(color);
}

void HostsEditorController::setControlsEnabled(bool enabled) {
    saveButton->setEnabled(enabled);
    applyButton->setEnabled(enabled);
}

// --- Backups ------------------------------------------------------------------------

Result<fs::path> HostsEditorController::backupFolderURL() const {
    const fs::path support = platform::Paths::applicationSupport();
    if (auto made = platform::Files::createDirectories(support); !made) return made.error();
    return support / folderName / "HostsBackups";
}

Result<void> HostsEditorController::forceBackupCurrentSystemHosts() {
    auto text = readUtf8Text(systemHostsFile());
    if (!text) return text.error();
    auto folder = backupFolderURL();
    if (!folder) return folder.error();
    if (auto made = platform::Files::createDirectories(*folder); !made) return made.error();
    const auto name = HostsBackups::fileName(platform::AppContext::current().clock().now());
    return platform::Files::writeAtomically(*folder / name, *text);
}

Result<std::vector<fs::path>> HostsEditorController::backupFiles() {
    auto folder = backupFolderURL();
    if (!folder) return folder.error();
    if (auto made = platform::Files::createDirectories(*folder); !made) return made.error();
    return HostsBackups::list(*folder);
}

void HostsEditorController::showRestoreBackups() {
    auto backups = backupFiles();
    if (!backups) {
        presentAlert("无法还原备份", backups.error().message);
        return;
    }
    if (backups->empty()) {
        presentAlert("暂无 Hosts 备份", "每次应用方案前都会自动生成备份。");
        return;
    }
    auto alert = platform::Alert::make();
    alert->messageText = "还原 Hosts 备份";
    alert->informativeText = "还原前仍会强制备份当前系统 Hosts。";
    alert->addButton("还原");
    alert->addButton("取消");
    auto chooser = platform::PopUpButton::make(false);
    chooser->setFrame({0, 0, 340, 28});
    for (const auto& backup : *backups) chooser->addItem(HostsBackups::listTitle(backup));
    chooser->selectItem(std::optional<std::size_t>(0));
    alert->accessoryView = chooser;
    if (alert->runModal() != platform::ModalResponses::alertFirstButton) return;

    const std::size_t index = std::min(chooser->indexOfSelectedItem().value_or(0), backups->size() - 1);
    auto text = readUtf8Text((*backups)[index]);
    if (!text) {
        presentAlert("无法还原备份", text.error().message);
        return;
    }
    applyToSystem(std::move(*text), std::nullopt, "Hosts 备份已还原");
}

}  // namespace tallowmere
