#include "app/about_window_controller.h"

#include "app/about_greeting.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "platform/base/property_value.h"
#include "platform/desktop/window_level.h"
#include "platform/gfx/font.h"
#include "platform/gfx/text_measurer.h"
#include "platform/system/bundle.h"
#include "platform/ui/bundle_image.h"
#include "platform/ui/button.h"
#include "platform/ui/image_view.h"
#include "platform/ui/label.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/window.h"

namespace tallowmere {

using namespace platform;

namespace {

// The program's bundle: its information dictionary and its pictures. A
// missing picture leaves its frame empty at its fixed size.
std::optional<PropertyValue> bundleInfoValue(std::string_view key) {
    const PropertyValue* value = platform::Bundle::main().objectForInfoDictionaryKey(key);
    return value ? std::optional<PropertyValue>(*value) : std::nullopt;
}

std::optional<Image> bundlePNG(std::string_view resourceName) { return bundleImage(resourceName, "png"); }

std::shared_ptr<ImageView> makePicture(std::string_view resourceName, Size size) {
    auto picture = ImageView::make(bundlePNG(resourceName));
    picture->setImageScaling(ImageScaling::proportionallyUpOrDown);
    picture->setFixedSize(size);
    return picture;
}

std::shared_ptr<Label> makeLabel(std::string_view text, Font font, SystemColor color, TextAlignment alignment) {
    auto label = Label::make(std::string(text));
    label->setFont(std::move(font));
    label->setTextColor(Color::system(color));
    label->setAlignment(alignment);
    return label;
}

// The product's name at 33 points, or as much smaller as it takes to be
// shown whole beside the header picture: at 33 points the English name is a
// few points wider than the room the window leaves it.
Font nameFont(std::string_view name, double available) {
    constexpr double preferredSize = 33;
    constexpr double smallestSize = 20;
    double size = preferredSize;
    Font font = Font::systemFont(size);
    while (size > smallestSize && TextMeasurer::shared().measure(name, font).width > available) {
        size -= 0.5;
        font = Font::systemFont(size);
    }
    return font;
}

}  // namespace

std::string aboutVersionText(const PropertyValue* shortVersion, const PropertyValue* buildNumber) {
    const std::string* shortText = shortVersion ? shortVersion->asString() : nullptr;
    const std::string* buildText = buildNumber ? buildNumber->asString() : nullptr;
    return (shortText ? *shortText : "1.0.0") + "（第" + (buildText ? *buildText : "-") + "版构建）";
}

std::shared_ptr<AboutWindowController> AboutWindowController::makeShared() {
    auto controller = WindowController::make<AboutWindowController>();
    // The OK button holds the controller weakly, so the interface is built
    // once the controller is owned.
    controller->buildInterface();
    return controller;
}

AboutWindowController::AboutWindowController() {
    auto window = Window::make(ScreenRect{0, 0, windowWidth, windowHeight},
                               WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable |
                                               WindowStyleMask::fullSizeContentView});
    window->setTitle(L("关于") + " " + std::string(ProductIdentity::localizedName()));
    window->titleVisibility = WindowTitleVisibility::hidden;
    window->titlebarAppearsTransparent = true;
    window->showsTitlebarSeparator = false;
    window->isReleasedWhenClosed = false;
    window->setLevel(WindowLevel::modalPanel);
    window->setCollectionBehavior(WindowCollectionBehavior{WindowCollectionBehavior::moveToActiveSpace |
                                                           WindowCollectionBehavior::fullScreenAuxiliary});
    window->center();
    setWindow(std::move(window));
}

void AboutWindowController::closeAbout() {
    if (auto shown = window()) shown->close();
}

void AboutWindowController::buildInterface() {
    auto window = this->window();
    if (!window) return;
    auto content = window->contentView();
    if (!content) {
        content = View::make();
        window->setContentView(content);
    }

    constexpr double sideMargin = 42, headerPictureWidth = 108, headerSpacing = 16;
    const double nameRoom = windowWidth - 2 * sideMargin - headerPictureWidth - headerSpacing;
    const std::string_view name = ProductIdentity::localizedName();
    auto nameColumn =
        StackView::makeVertical({makeLabel(name, nameFont(name, nameRoom), SystemColor::label, TextAlignment::natural)});
    nameColumn->setAlignment(StackAlignment::leading);
    auto header = StackView::makeHorizontal({makePicture("VududPetCats", {headerPictureWidth, 70}), nameColumn});
    header->setAlignment(StackAlignment::centerY);
    header->setSpacing(headerSpacing);

    const auto shortVersion = bundleInfoValue("CFBundleShortVersionString");
    const auto buildNumber = bundleInfoValue("CFBundleVersion");
    const AboutGreeting& greeting = aboutGreeting(InterfaceLanguage::current());
    auto versionRow = makeDetailRow(L("版本："), aboutVersionText(shortVersion ? &*shortVersion : nullptr,
                                                                  buildNumber ? &*buildNumber : nullptr));
    auto greetingRow = makeDetailRow(greeting.label, greeting.value);
    auto details = StackView::makeVertical({versionRow, greetingRow});
    details->setAlignment(StackAlignment::leading);
    details->setSpacing(12);
    details->setFillsCrossAxis(*versionRow, true);
    details->setFillsCrossAxis(*greetingRow, true);
    auto indent = View::make();
    indent->setFixedWidth(132);
    auto indentedDetails = StackView::makeHorizontal({indent, details});
    indentedDetails->setAlignment(StackAlignment::top);
    indentedDetails->setSpacing(0);

    auto support = StackView::makeVertical(
        {makePicture("SupportWeChat", {168, 160}),
         makeLabel(L("售后微信"), Font::systemFont(14, FontWeight::medium), SystemColor::secondaryLabel,
                   TextAlignment::center)});
    support->setAlignment(StackAlignment::centerX);
    support->setSpacing(8);
    // The cats' names and captions are theirs, the same in every language.
    auto pictures = StackView::makeHorizontal({makeAboutCatColumn("AboutCatInk", "塔洛梅", "白你一眼"), support,
                                               makeAboutCatColumn("AboutCatPencilInkpaw", "墨爪", "含情脉脉看着你")});
    pictures->setAlignment(StackAlignment::centerY);
    pictures->setSpacing(22);

    auto ok = Button::make(L("好"));
    ok->setBezelStyle(BezelStyle::rounded);
    ok->setControlSize(ControlSize::large);
    ok->setKeyEquivalent("\r");
    ok->setFixedWidth(180);
    ok->onAction = [weak = std::weak_ptr<AboutWindowController>(
                        std::static_pointer_cast<AboutWindowController>(shared_from_this()))](Control&) {
        if (auto owner = weak.lock()) owner->closeAbout();
    };

    auto column = StackView::makeVertical({header, indentedDetails, pictures, ok});
    column->setAlignment(StackAlignment::centerX);
    column->setSpacing(22);
    column->setCustomSpacing(44, *indentedDetails);
    column->setFillsCrossAxis(*header, true);
    column->setFillsCrossAxis(*indentedDetails, true);
    // The transparent title bar lies above the top margin.
    column->setPlacement(Placement{sideMargin, sideMargin, 58.0, std::nullopt, std::nullopt, std::nullopt});
    content->addSubview(column);
}

std::shared_ptr<View> AboutWindowController::makeAboutCat(std::string_view resourceName) {
    return makePicture(resourceName, {96, 96});
}

std::shared_ptr<StackView> AboutWindowController::makeAboutCatColumn(std::string_view resourceName,
                                                                     std::string_view title,
                                                                     std::string_view caption) {
    auto column = StackView::makeVertical(
        {makeAboutCat(resourceName),
         makeLabel(title, Font::systemFont(18, FontWeight::light), SystemColor::secondaryLabel, TextAlignment::center),
         makeLabel(caption, Font::systemFont(12), SystemColor::tertiaryLabel, TextAlignment::center)});
    column->setAlignment(StackAlignment::centerX);
    column->setSpacing(4);
    return column;
}

std::shared_ptr<StackView> AboutWindowController::makeDetailRow(std::string_view label, std::string_view value) {
    auto labelField = makeLabel(label, Font::systemFont(15, FontWeight::medium), SystemColor::secondaryLabel,
                                TextAlignment::left);
    labelField->setFixedWidth(92);
    auto valueField = Label::makeWrapping(std::string(value));
    valueField->setFont(Font::systemFont(15));
    valueField->setTextColor(Color::system(SystemColor::label));
    valueField->setAlignment(TextAlignment::left);
    // Long values wrap instead of widening the row.
    valueField->setCompressionResistancePriority(LayoutPriority::defaultLow, LayoutAxis::horizontal);
    auto row = StackView::makeHorizontal({labelField, valueField});
    // A value that wraps keeps its first line on the label's line.
    row->setAlignment(StackAlignment::firstBaseline);
    row->setSpacing(14);
    return row;
}

}  // namespace tallowmere
