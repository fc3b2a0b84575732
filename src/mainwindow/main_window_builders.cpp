// The anatomy every card and row of the main window shares, the name
// prompt, and the buttons of the link and music cards.
#include <algorithm>

#include "app/about_presenter.h"
#include "app/application_icon.h"
#include "app/status_menu_links.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/main_window_view_kit.h"
#include "mainwindow/setting_row_view.h"
#include "mainwindow/usage_item_view.h"
#include "platform/base/text.h"
#include "platform/base/url.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/workspace.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/symbol_image.h"
#include "platform/ui/alert.h"
#include "platform/ui/application.h"
#include "platform/ui/bundle_image.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/image_view.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/text_field.h"
#include "quicklaunch/net_ease_music_icon.h"

namespace tallowmere {

using namespace platform;

namespace {

bool isTrusted() { return DesktopLink::desktop().accessibility().isProcessTrusted(); }

// The note features that need Accessibility carry in their titles.
std::string authorizationSuffix() { return "（" + std::string(L("需授权")) + "）"; }

std::shared_ptr<Label> makeLabel(const std::string& text, const Font& font, std::optional<Color> color = std::nullopt) {
    auto label = Label::make(text);
    label->setFont(font);
    if (color) label->setTextColor(color);
    return label;
}

}  // namespace

Control::Action MainWindowController::action(void (MainWindowController::*method)()) {
    std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
    return [weak, method](Control&) {
        if (auto self = weak.lock()) ((*self).*method)();
    };
}

Control::Action MainWindowController::action(void (MainWindowController::*method)(const Control&)) {
    std::weak_ptr<MainWindowController> weak = std::static_pointer_cast<MainWindowController>(shared_from_this());
    return [weak, method](Control& sender) {
        if (auto self = weak.lock()) ((*self).*method)(sender);
    };
}

void MainWindowController::applyAuthorizationTitleStyle(Label& label, const std::string& title, const Font& font) const {
    const std::string suffix = authorizationSuffix();
    std::string shown = title;
    if (isTrusted()) {
        for (auto at = shown.find(suffix); at != std::string::npos; at = shown.find(suffix, at)) shown.erase(at, suffix.size());
    }
    AttributedString text(shown, TextAttributes{.font = font, .foregroundColor = Color::system(SystemColor::label)});
    if (auto at = shown.rfind(suffix); at != std::string::npos) {
        text.setForegroundColor({at, suffix.size()}, Color::system(SystemColor::blue));
    }
    label.setAttributedStringValue(std::move(text));

    // Remembered so a change of trust restyles the label in place.
    auto& titles = authorizationTitles_;
    std::erase_if(titles, [&label](const AuthorizationTitle& entry) {
        auto held = entry.label.lock();
        return !held || held.get() == &label;
    });
    titles.push_back({std::static_pointer_cast<Label>(label.shared_from_this()), title, font});
}

std::shared_ptr<View> MainWindowController::makeSettingRow(const std::string& symbol, const std::string& title,
                                                           const std::string& detail,
                                                           std::shared_ptr<View> trailingControl,
                                                           std::optional<double> rowHeight) const {
    auto icon = ImageView::make();
    std::optional<Image> ownPicture;
    if (symbol == "TitlebarTwoFingerBlue") ownPicture = bundleImage(symbol, "png");
    if (ownPicture) {
        ownPicture->setSize({39, 39});
        icon->setImage(ownPicture);
    } else {
        icon->setImage(symbolImage(symbol, title, {16, FontWeight::medium}));
        icon->setContentTintColor(Color::system(SystemColor::blue));
    }
    icon->setImageScaling(ImageScaling::proportionallyDown);
    icon->setFixedSize({28, 28});

    auto titleLabel = Label::make();
    applyAuthorizationTitleStyle(*titleLabel, title, Font::systemFont(15, FontWeight::medium));
    std::vector<std::shared_ptr<Label>> texts{titleLabel};
    if (!detail.empty()) texts.push_back(makeLabel(detail, Font::systemFont(12), Color::system(SystemColor::secondaryLabel)));
    // A long text wraps and the row grows taller; the control keeps its size.
    auto text = mainwindowkit::textColumn(texts, 1);

    // Icon, text and control on one centre line; the control keeps its
    // size at the right edge and the text at least 16 points from it.
    if (trailingControl) trailingControl->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::horizontal);
    return SettingRowView::make(icon, text, trailingControl, {.afterIcon = 10, .beforeControls = 16},
                                rowHeight.value_or(detail.empty() ? 34 : 44));
}

std::shared_ptr<View> MainWindowController::makeUsageItem(std::optional<std::string> symbol,
                                                          std::shared_ptr<View> customIcon, const std::string& title,
                                                          const std::string& detail) const {
    // The icon slot shows the custom icon only; the symbol name changes nothing.
    (void)symbol;
    auto titleLabel = Label::makeWrapping(title);
    titleLabel->setFont(Font::systemFont(14, FontWeight::medium));
    auto detailLabel = Label::makeWrapping(detail);
    detailLabel->setFont(Font::systemFont(12));
    detailLabel->setTextColor(Color::system(SystemColor::secondaryLabel));
    return UsageItemView::make(customIcon ? customIcon : View::make(), titleLabel, detailLabel);
}

std::shared_ptr<AppleSettingsCardView> MainWindowController::makeCard(const std::string& title,
                                                                      std::vector<std::shared_ptr<View>> views,
                                                                      std::shared_ptr<View> headerControl,
                                                                      std::shared_ptr<View> titleAccessory) const {
    std::shared_ptr<StackView> header;
    if (!title.empty() || headerControl) {
        // A title too long for the header wraps rather than pushing the
        // header's controls off the card.
        auto titleLabel = Label::makeWrapping();
        applyAuthorizationTitleStyle(*titleLabel, title, Font::systemFont(16, FontWeight::semibold));
        titleLabel->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::vertical);
        titleLabel->setCompressionResistancePriority(LayoutPriority::required, LayoutAxis::vertical);
        titleLabel->setCompressionResistancePriority(LayoutPriority::defaultLow, LayoutAxis::horizontal);
        header = StackView::makeHorizontal({titleLabel});
        if (titleAccessory) {
            titleLabel->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::horizontal);
            titleAccessory->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::horizontal);
            titleAccessory->setCompressionResistancePriority(LayoutPriority::required, LayoutAxis::horizontal);
            header->addArrangedSubview(titleAccessory);
        }
        header->addArrangedSubview(View::make());
        if (headerControl) {
            headerControl->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::horizontal);
            header->addArrangedSubview(headerControl);
        }
        header->setAlignment(StackAlignment::centerY);
        header->setSizeConstraints(SizeConstraints{.width = {}, .height = {}, .minWidth = {}, .minHeight = 25, .maxWidth = {}, .maxHeight = {}});
        views.insert(views.begin(), header);
    }
    auto content = StackView::makeVertical(std::move(views));
    content->setAlignment(StackAlignment::leading);
    content->setSpacing(11);
    // The header control sits at the card's right inner edge.
    if (header) content->setFillsCrossAxis(*header, true);

    auto card = AppleSettingsCardView::make();
    content->setPlacement(Placement::filling({12, 18, 12, 18}));
    card->addSubview(content);
    return card;
}

std::optional<std::string> MainWindowController::promptForName(const std::string& title,
                                                               const std::string& defaultName,
                                                               std::optional<Image> icon) const {
    auto alert = Alert::make();
    alert->messageText = title;
    alert->informativeText = L("可使用默认名称，也可输入自定义名称。");
    alert->icon = icon ? std::move(icon) : std::optional<Image>(ApplicationIcon::image());
    alert->addButton(L("确定"));
    alert->addButton(L("取消"));
    auto field = TextField::make(defaultName);
    field->setFrame({0, 0, 320, 24});
    alert->accessoryView = field;
    if (alert->runModal() != ModalResponses::alertFirstButton) return std::nullopt;
    auto name = Text::trimmingWhitespaceAndNewlines(field->stringValue());
    return name.empty() ? defaultName : name;
}

void MainWindowController::updateAccessibilitySwitchAppearance(bool trusted) {
    (void)trusted;
    for (const auto& toggle : {gestureSwitch, naturalDirectionSwitch, mouseSwitch, edgeSnapSwitch,
                               quickLaunchLongPressSwitch, selvaneSwitch, workspaceMemorySwitch}) {
        toggle->setWantsLayer(true);
        auto& layer = toggle->mutableLayer();
        layer.backgroundColor = Color::clear();
        layer.borderWidth = 0;
        layer.borderColor = Color::clear();
    }
}

std::shared_ptr<Button> MainWindowController::makeAINavigationButton(const std::string& title, int tag,
                                                                     const std::string& iconResource,
                                                                     const std::string& iconExtension) {
    auto button = Button::make(title);
    button->setTag(tag);
    button->setBordered(false);
    button->setAlignment(TextAlignment::left);
    if (auto icon = bundleImage(iconResource, iconExtension)) {
        icon->setSize({16, 16});
        button->setImage(icon);
        button->setImagePosition(ImagePosition::imageLeading);
        button->setImageScaling(ImageScaling::proportionallyDown);
    }
    button->setAttributedTitle(AttributedString(
        title, TextAttributes{.font = Font::systemFont(13), .foregroundColor = Color::system(SystemColor::link)}));
    button->onAction = action(&MainWindowController::openAINavigation);
    return button;
}

std::shared_ptr<Button> MainWindowController::makeWorkSceneMusicButton(const std::string& title, int tag) {
    auto button = Button::make(title);
    button->setTag(tag);
    button->setBezelStyle(BezelStyle::push);
    button->setControlSize(ControlSize::large);
    button->setAlignment(TextAlignment::left);

    const TextAttributes titleAttributes{.font = Font::systemFont(13), .foregroundColor = Color::system(SystemColor::label)};
    AttributedString attributedTitle;
    if (auto icon = netEaseMusicIcon(15)) {
        attributedTitle = AttributedString::attachment(*icon, {0, -3, 15, 15}, titleAttributes);
        attributedTitle.append("  ", titleAttributes);
    }
    attributedTitle.append(title, titleAttributes);
    button->setAttributedTitle(attributedTitle);

    auto arrow = Image::withHandler({16, 16}, [](Canvas& canvas, Rect) {
        auto symbol = symbolImage("arrow.up.forward.square", L("打开网页"), {13, FontWeight::regular});
        if (!symbol) return false;
        canvas.drawImage(symbol->tinted(Color::system(SystemColor::secondaryLabel)), {1, 1, 14, 14});
        return true;
    });
    button->setImage(arrow);
    button->setImagePosition(ImagePosition::imageTrailing);
    button->imageHugsTitle = false;
    button->setContentTintColor(std::nullopt);
    button->onAction = action(&MainWindowController::openWorkSceneMusic);
    return button;
}

std::shared_ptr<View> MainWindowController::makeFlySettingRow(const std::string& title,
                                                              std::shared_ptr<View> control) const {
    auto row = StackView::makeHorizontal({makeLabel(title, Font::systemFont(15, FontWeight::medium)), View::make(), control});
    row->setAlignment(StackAlignment::centerY);
    return row;
}

std::vector<std::shared_ptr<Button>> MainWindowController::makeRadioGroup(const std::vector<std::string>& titles,
                                                                         Control::Action action, int chosen) const {
    std::vector<std::shared_ptr<Button>> buttons;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        auto button = Button::makeRadio(titles[i], static_cast<int>(i) == chosen);
        button->setTag(static_cast<int>(i));
        button->setFont(Font::systemFont(14));
        button->onAction = action;
        buttons.push_back(std::move(button));
    }
    return buttons;
}

std::shared_ptr<View> MainWindowController::makeSupportActionCard(std::shared_ptr<Button> button) const {
    auto card = View::make();
    card->setWantsLayer(true);
    auto& layer = card->mutableLayer();
    layer.backgroundColor = Color::system(SystemColor::blue);
    layer.cornerRadius = 18;
    layer.continuousCorners = true;
    card->setFixedHeight(52);
    button->setPlacement(Placement::filling());
    card->addSubview(button);
    return card;
}

std::vector<std::string> MainWindowController::aiNavigationURLs() const {
    std::vector<std::string> urls;
    for (const auto& service : aiNavigationServices) {
        if (Url::parse(service.address)) urls.emplace_back(service.address);
    }
    return urls;
}

void MainWindowController::openAINavigation(const Control& sender) {
    const auto urls = aiNavigationURLs();
    const int tag = sender.tag();
    if (tag < 0 || static_cast<std::size_t>(tag) >= urls.size()) return;
    DesktopLink::desktop().workspace().openURL(urls[static_cast<std::size_t>(tag)]);
}

void MainWindowController::openAllAINavigation() {
    for (const auto& url : aiNavigationURLs()) DesktopLink::desktop().workspace().openURL(url);
}

void MainWindowController::openWorkSceneMusic(const Control& sender) {
    const int tag = sender.tag();
    if (tag < 0 || static_cast<std::size_t>(tag) >= workScenePlaylistAddresses.size()) return;
    const std::string address(workScenePlaylistAddresses[static_cast<std::size_t>(tag)]);
    if (!Url::parse(address)) return;
    DesktopLink::desktop().workspace().openURL(address);
}

void MainWindowController::showAbout() { AboutPresenter::show(); }

void MainWindowController::quitApplication() { Application::shared().terminate(); }

}  // namespace tallowmere
