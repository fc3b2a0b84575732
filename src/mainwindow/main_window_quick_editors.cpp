// The four dialogs that add and edit website and information entries of
// quick launch. They check nothing themselves: the store's rules decide,
// and a refusal comes back as the store's error.
#include <string>
#include <vector>

#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "app/dialog_paste_key_monitor.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/quick_launch_editor_inputs.h"
#include "platform/base/text.h"
#include "platform/runtime/app_context.h"
#include "platform/ui/alert.h"
#include "platform/ui/label.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/segmented_control.h"
#include "platform/ui/text_view.h"
#include "platform/ui/window.h"
#include "quicklaunch/emoji_picker_button.h"
#include "quicklaunch/paste_enabled_text_field.h"
#include "quicklaunch/quick_launch_icons.h"
#include "quicklaunch/quick_launch_store.h"

namespace tallowmere {

using namespace platform;

namespace {

// Shown in the empty address field of the add dialog, untranslated: an
// address and a path look the same in every language.
constexpr const char* addressPlaceholder = "https://example.com  /Users/name/Desktop";
constexpr const char* memoEmoji = "\U0001F4DD";

// Not looked up: the row reads the same in every Chinese script, and "Icon" elsewhere.
std::string iconRowTitle() { return ProductIdentity::usesChineseDisplayName() ? "图标" : "Icon"; }

std::shared_ptr<Label> addLabel(View& accessory, std::string title, Rect frame, TextAlignment alignment) {
    auto label = Label::make(std::move(title));
    label->setFrame(frame);
    label->setAlignment(alignment);
    accessory.addSubview(label);
    return label;
}

std::shared_ptr<PasteEnabledTextField> addField(View& accessory, Rect frame, std::string text,
                                                std::string placeholder = {}) {
    auto field = PasteEnabledTextField::make(std::move(text));
    field->setFrame(frame);
    field->setPlaceholderString(std::move(placeholder));
    accessory.addSubview(field);
    return field;
}

std::shared_ptr<PasteEnabledTextField> addEmojiField(View& accessory, Rect fieldFrame, Rect buttonFrame,
                                                     std::string emoji) {
    auto field = addField(accessory, fieldFrame, std::move(emoji), "Emoji");
    field->setAlignment(TextAlignment::center);
    auto button = EmojiPickerButton::make(field);
    button->setFrame(buttonFrame);
    accessory.addSubview(button);
    return field;
}

// --- Website dialog ------------------------------------------------------------------------

struct WebsiteDialog {
    std::shared_ptr<Alert> alert = Alert::make();
    std::shared_ptr<PasteEnabledTextField> address;
    std::shared_ptr<PasteEnabledTextField> name;
    std::shared_ptr<SegmentedControl> style;
    std::shared_ptr<PasteEnabledTextField> emoji;

    // An empty dialog to add with, or `entry`'s values to edit.
    explicit WebsiteDialog(const QuickLaunchEntry* entry) {
        auto accessory = View::make({0, 0, 440, 100});
        addLabel(*accessory, entry ? L("网址") : L("网址或本地路径"), {0, 74, 116, 20}, TextAlignment::right);
        address = addField(*accessory, {124, 72, 316, 24}, entry ? entry->target : "", entry ? "" : addressPlaceholder);
        addLabel(*accessory, L("名称"), {0, 41, 116, 20}, TextAlignment::right);
        name = addField(*accessory, {124, 39, 316, 24}, entry ? entry->name : "",
                        entry ? "" : std::string(L("可选，默认使用域名或文件名")));
        addLabel(*accessory, iconRowTitle(), {0, 8, 116, 20}, TextAlignment::right);

        std::vector<Image> images;
        for (const auto each : allWebsiteIconStyles) images.push_back(websiteIconStyleImage(each));
        style = SegmentedControl::makeWithImages(std::move(images), SegmentTrackingMode::selectOne);
        style->setFrame({124, 4, 208, 28});
        const std::string toolTips[] = {"Edge", "Chrome", "Firefox", L("网页")};
        for (int segment = 0; segment < style->segmentCount(); ++segment) {
            style->setWidth(48, segment);
            style->setToolTip(toolTips[segment], segment);
        }
        const auto stored = entry && entry->websiteIconStyle
                                ? websiteIconStyleFromRawValue(*entry->websiteIconStyle)
                                : std::nullopt;
        style->setSelected(true, static_cast<int>(stored.value_or(WebsiteIconStyle::globe)));
        accessory->addSubview(style);

        emoji = addEmojiField(*accessory, {338, 6, 64, 24}, {408, 4, 32, 28},
                              entry ? entry->websiteEmoji.value_or("") : "");
        alert->accessoryView = accessory;
    }

    bool run() { return runEditorDialog(*alert, address, {address, name, emoji}); }
    WebsiteIconStyle chosenStyle() const { return websiteIconStyleAtSegment(style->selectedSegment()); }
};

// --- Information dialog -------------------------------------------------------------------

struct InformationDialog {
    std::shared_ptr<Alert> alert = Alert::make();
    std::shared_ptr<PasteEnabledTextField> name;
    std::shared_ptr<TextView> text;
    std::shared_ptr<PasteEnabledTextField> emoji;

    explicit InformationDialog(const QuickLaunchEntry* entry) {
        auto accessory = View::make({0, 0, 360, 175});
        addLabel(*accessory, L("标签名"), {0, 149, 52, 20}, TextAlignment::natural);
        name = addField(*accessory, {56, 147, 304, 24}, entry ? entry->name : "",
                        entry ? "" : std::string(L("可选，例如：收货地址")));
        addLabel(*accessory, L("信息"), {0, 117, 52, 20}, TextAlignment::natural);

        auto scroll = ScrollView::make({56, 33, 304, 105});
        scroll->hasVerticalScroller = true;
        scroll->setBorderType(BorderType::bezel);
        text = TextView::make({0, 0, 304, 105});
        text->isRichText = false;
        text->setEditable(true);
        text->setSelectable(true);
        text->setFont(Font::systemFont(13));
        text->drawsBackground = false;
        text->setTextContainerInset({5, 5});
        if (entry) text->setString(entry->target);
        scroll->setDocumentView(text);
        accessory->addSubview(scroll);

        addLabel(*accessory, iconRowTitle(), {0, 7, 52, 20}, TextAlignment::natural);
        emoji = addEmojiField(*accessory, {56, 5, 260, 24}, {324, 3, 36, 28},
                              entry ? entry->websiteEmoji.value_or("") : "");
        alert->accessoryView = accessory;
    }

    bool run() { return runEditorDialog(*alert, text, {text, name, emoji}); }
};

void setTexts(Alert& alert, std::string message, std::string information, std::string confirm, Image icon) {
    alert.messageText = std::move(message);
    alert.informativeText = std::move(information);
    alert.icon = std::move(icon);
    alert.addButton(std::move(confirm));
    alert.addButton(L("取消"));
}

}  // namespace

void MainWindowController::addQuickWebsite() {
    if (!quickLaunchStore_) return;
    WebsiteDialog dialog(nullptr);
    setTexts(*dialog.alert, L("添加快捷网页"), L("输入网页地址、本地文件或文件夹路径和显示名称。"), L("添加"),
             quickLaunchWebsiteIcon(WebsiteIconStyle::globe));
    if (!dialog.run()) return;
    const std::string address = Text::trimmingWhitespaceAndNewlines(dialog.address->stringValue());
    std::string status;
    Result<void> added = Error{};
    if (auto local = existingLocalItem(address)) {
        added = quickLaunchStore_->addFile(local->string(), dialog.name->stringValue());
        status = L("已添加本地文件或文件夹。");
    } else {
        added = quickLaunchStore_->addWebsite(address, dialog.name->stringValue(), dialog.chosenStyle(),
                                              dialog.emoji->stringValue());
        status = L("已添加快捷网页。");
    }
    if (!added) {
        reportStoreError(added.error());
        return;
    }
    statusLabel->setStringValue(status);
    refreshQuickLaunchEntries();
}

void MainWindowController::editQuickWebsite(const QuickLaunchEntry& entry) {
    if (!quickLaunchStore_) return;
    WebsiteDialog dialog(&entry);
    setTexts(*dialog.alert, L("编辑快捷网页"), L("修改网页地址和显示名称。"), L("保存快捷网页"),
             quickLaunchIcon(entry));
    if (!dialog.run()) return;
    if (auto updated = quickLaunchStore_->updateWebsite(entry.id, dialog.address->stringValue(),
                                                        dialog.name->stringValue(), dialog.chosenStyle(),
                                                        dialog.emoji->stringValue());
        !updated) {
        reportStoreError(updated.error());
        return;
    }
    refreshQuickLaunchEntries();
    statusLabel->setStringValue(L("已更新快捷网页。"));
}

void MainWindowController::addQuickInformation() {
    if (!quickLaunchStore_) return;
    InformationDialog dialog(nullptr);
    auto memo = quickLaunchWebsiteEmojiIcon(memoEmoji);
    memo.setSize({29, 29});
    setTexts(*dialog.alert, L("添加粘贴信息"), L("输入最多 100 字的信息内容，点击快捷图标即可复制。"), L("添加"), memo);
    if (!dialog.run()) return;
    if (auto added = quickLaunchStore_->addInformation(dialog.text->string(), dialog.name->stringValue(),
                                                       dialog.emoji->stringValue());
        !added) {
        reportStoreError(added.error());
        return;
    }
    refreshQuickLaunchEntries();
    statusLabel->setStringValue(L("已添加粘贴信息。"));
}

void MainWindowController::editQuickInformation(const QuickLaunchEntry& entry) {
    if (!quickLaunchStore_) return;
    InformationDialog dialog(&entry);
    setTexts(*dialog.alert, L("编辑粘贴信息"), L("修改最多 100 字的信息内容和标签名。"), L("保存"),
             quickLaunchIcon(entry));
    if (!dialog.run()) return;
    if (auto updated = quickLaunchStore_->updateInformation(entry.id, dialog.text->string(),
                                                            dialog.name->stringValue(), dialog.emoji->stringValue());
        !updated) {
        reportStoreError(updated.error());
        return;
    }
    refreshQuickLaunchEntries();
    statusLabel->setStringValue(L("已更新粘贴信息。"));
}

}  // namespace tallowmere
