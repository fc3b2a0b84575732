#include "app/centered_activation_panel.h"

#include "localization/interface_language.h"
#include "platform/base/text.h"
#include "platform/desktop/desktop.h"
#include "platform/gfx/font.h"
#include "platform/ui/application.h"
#include "platform/ui/button.h"
#include "platform/ui/desktop_link.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

namespace {

constexpr double shortMessageHeight = 34;
constexpr double longMessageHeight = 54;
constexpr double heightPerButton = 38;
constexpr double fixedHeight = 144;
constexpr double messageWidth = 500;

double messageHeight(const std::string& message) {
    return Text::graphemeCount(message) > CenteredActivationPanel::shortMessageLength ? longMessageHeight
                                                                                       : shortMessageHeight;
}

std::optional<Image> applicationIcon() {
    auto running = DesktopLink::desktop().currentApplication().runningApplication();
    return running ? running->icon() : std::nullopt;
}

}  // namespace

double centeredActivationPanelHeight(const std::string& message, double contentHeight, std::size_t buttonCount) {
    const double height = contentHeight + messageHeight(message) + heightPerButton * static_cast<double>(buttonCount) +
                          fixedHeight;
    return std::max(height, CenteredActivationPanel::minimumHeight);
}

std::shared_ptr<CenteredActivationPanel> CenteredActivationPanel::make(std::string title, std::string message,
                                                                       std::shared_ptr<View> content, double iconSize,
                                                                       Color titleColor,
                                                                       std::vector<std::string> buttonTitles) {
    auto dialog = std::make_shared<CenteredActivationPanel>(Private{});
    dialog->build(title, message, std::move(content), iconSize, titleColor, buttonTitles);
    return dialog;
}

void CenteredActivationPanel::build(const std::string& title, const std::string& message,
                                    std::shared_ptr<View> content, double iconSize, const Color& titleColor,
                                    const std::vector<std::string>& buttonTitles) {
    const double contentHeight = content ? content->frame().height() : 0;
    const double height = centeredActivationPanelHeight(message, contentHeight, buttonTitles.size());

    panel_ = Window::make<Panel>(ScreenRect{0, 0, width, height}, WindowStyleMask{WindowStyleMask::titled});
    panel_->titleVisibility = WindowTitleVisibility::hidden;
    panel_->titlebarAppearsTransparent = true;
    panel_->showsTitlebarSeparator = false;
    panel_->isReleasedWhenClosed = false;
    panel_->setHasShadow(true);
    panel_->isMovableByWindowBackground = true;

    auto icon = ImageView::make(applicationIcon());
    icon->setImageScaling(ImageScaling::proportionallyUpOrDown);
    icon->setFixedSize({iconSize, iconSize});

    auto titleLabel = Label::make(title);
    titleLabel->setFont(Font::systemFont(17, FontWeight::semibold));
    titleLabel->setTextColor(titleColor);
    titleLabel->setAlignment(TextAlignment::center);

    auto messageLabel = Label::makeWrapping(message);
    messageLabel->setFont(Font::systemFont(13));
    messageLabel->setTextColor(Color::system(SystemColor::secondaryLabel));
    messageLabel->setAlignment(TextAlignment::center);
    messageLabel->setMaximumNumberOfLines(3);
    messageLabel->setFixedSize({messageWidth, messageHeight(message)});

    auto buttonColumn = StackView::makeVertical();
    buttonColumn->setAlignment(StackAlignment::centerX);
    buttonColumn->setSpacing(5);
    const std::string cancelTitle = L("取消");
    for (std::size_t index = 0; index < buttonTitles.size(); ++index) {
        auto button = Button::make(buttonTitles[index]);
        button->setBezelStyle(BezelStyle::rounded);
        button->setControlSize(ControlSize::large);
        button->setTag(static_cast<int>(index));
        button->setFixedWidth(buttonWidth);
        button->onAction = [weak = weak_from_this()](Control& sender) {
            if (auto owner = weak.lock()) owner->selectButton(static_cast<const Button&>(sender));
        };
        // Return first, so a lone cancel button ends up with Escape instead.
        if (index == 0) button->setKeyEquivalent("\r");
        if (index + 1 == buttonTitles.size() && buttonTitles[index] == cancelTitle) button->setKeyEquivalent("\x1b");
        buttonColumn->addArrangedSubview(button);
        buttons_.push_back(std::move(button));
    }

    auto column = StackView::makeVertical();
    column->setAlignment(StackAlignment::centerX);
    column->setSpacing(10);
    column->addArrangedSubview(icon);
    column->addArrangedSubview(titleLabel);
    column->addArrangedSubview(messageLabel);
    if (content) {
        content->setFixedSize(content->frame().size);
        column->addArrangedSubview(std::move(content));
    }
    column->addArrangedSubview(buttonColumn);
    column->setPlacement(Placement{20.0, 20.0, std::nullopt, std::nullopt, std::nullopt, 0.0});

    auto root = View::make();
    root->addSubview(column);
    panel_->setContentView(root);
}

std::optional<int> CenteredActivationPanel::runModal(const std::shared_ptr<Window>& window) {
    selectedIndex_.reset();
    centerOn(window);
    // Hold on to ourselves: a caller may drop its reference from a button's action.
    auto keepAlive = shared_from_this();
    Application::shared().runModal(panel_);
    panel_->orderOut();
    return selectedIndex_;
}

void CenteredActivationPanel::centerOn(const std::shared_ptr<Window>& window) {
    if (auto content = panel_->contentView()) content->layoutSubtreeIfNeeded();
    if (!window) {
        panel_->center();
        return;
    }
    const ScreenRect target = window->frame();
    const ScreenRect frame = panel_->frame();
    panel_->setFrameOrigin({target.midX() - frame.width() / 2, target.midY() - frame.height() / 2});
}

void CenteredActivationPanel::selectButton(const Button& sender) {
    selectedIndex_ = sender.tag();
    if (modelessSelectionHandler) {
        auto handler = std::move(modelessSelectionHandler);
        modelessSelectionHandler = nullptr;
        panel_->orderOut();
        handler(sender.tag());
        return;
    }
    Application::shared().stopModal();
}

}  // namespace tallowmere
