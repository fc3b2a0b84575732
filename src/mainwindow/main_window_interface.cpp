// The frame of the window's content: the background, the header, both
// pages in their scroll views, the paging and the chevrons.
#include <cmath>

#include "app/application_icon.h"
#include "localization/interface_language.h"
#include "localization/product_identity.h"
#include "mainwindow/app_background_view.h"
#include "mainwindow/crystal_glass_button.h"
#include "mainwindow/flipped_document_view.h"
#include "mainwindow/horizontal_paging_coordinator.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/main_window_view_kit.h"
#include "mainwindow/wrapping_columns_view.h"
#include "platform/gfx/symbol_image.h"
#include "platform/ui/image_view.h"
#include "platform/ui/menu_item.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/stack_view.h"
#include "platform/ui/window.h"
#include "toys/fly_simulation_controller.h"

namespace tallowmere {

using namespace platform;

namespace {

bool usesChineseTexts() { return ProductIdentity::usesChineseDisplayName(); }

std::shared_ptr<Label> makeTitleLabel() {
    const std::string title(usesChineseTexts() ? ProductIdentity::displayName : ProductIdentity::externalName);
    const Font font = Font::systemFont(34);
    // Traditional Chinese glyphs of Taiwan sit high in the system font.
    const double baseline = InterfaceLanguage::current() == InterfaceLanguage::traditionalChineseTaiwan ? -4 : 0;
    AttributedString text(title, TextAttributes{.font = font, .foregroundColor = Color::system(SystemColor::label),
                                                .baselineOffset = baseline});
    if (auto at = title.find("App"); at != std::string::npos) {
        text.setForegroundColor({at, 3}, Color::system(SystemColor::blue));
    }
    auto label = Label::make(std::move(text));
    label->setFont(font);
    label->setLineBreakMode(LineBreakMode::byClipping);
    label->setMaximumNumberOfLines(1);
    label->setCompressionResistancePriority(LayoutPriority::required, LayoutAxis::horizontal);
    return label;
}

std::shared_ptr<Button> makeChevron(std::string_view symbol, std::string toolTip) {
    auto chevron = Button::make();
    chevron->setBordered(false);
    chevron->setControlSize(ControlSize::large);
    chevron->setImage(symbolImage(symbol, {}, {23, FontWeight::regular}));
    chevron->setImagePosition(ImagePosition::imageOnly);
    chevron->setImageScaling(ImageScaling::proportionallyDown);
    chevron->setContentTintColor(Color::system(SystemColor::blue));
    chevron->setToolTip(std::move(toolTip));
    return chevron;
}

std::shared_ptr<ScrollView> makePageScrollView() {
    auto scroll = ScrollView::make();
    scroll->drawsBackground = false;
    scroll->hasVerticalScroller = true;
    scroll->hasHorizontalScroller = true;
    scroll->autohidesScrollers = true;
    scroll->setDocumentTracksWidth(true);
    return scroll;
}

}  // namespace

void MainWindowController::buildInterface() {
    auto window = this->window();
    if (!window) return;
    auto content = window->contentView();
    if (!content) {
        content = View::make();
        window->setContentView(content);
    }
    auto background = AppBackgroundView::make();
    background->setPlacement(Placement::filling());
    content->addSubview(background);

    auto header = buildHeader();
    auto firstPageColumns = buildFirstPageColumns();
    buildSecondPage();
    assemblePages(background, header, firstPageColumns);

    // The status line has no card of its own: a quiet line in the bottom margin.
    statusLabel->setFont(Font::systemFont(11));
    statusLabel->setTextColor(Color::system(SystemColor::secondaryLabel));
    statusLabel->setPlacement(Placement{30.0, 30.0, std::nullopt, 0.0, std::nullopt, std::nullopt});
    statusLabel->setFixedHeight(14);
    background->addSubview(statusLabel);

    // Last, so the buddy card's count line is there to show the restored number.
    FlySimulationController::shared().activateSavedStateIfNeeded();
}

std::shared_ptr<View> MainWindowController::buildHeader() {
    auto titleLabel = makeTitleLabel();
    auto icon = ImageView::make(ApplicationIcon::image());
    icon->setImageScaling(ImageScaling::proportionallyUpOrDown);
    icon->setFixedSize({52, 52});
    auto titleStack = StackView::makeVertical({titleLabel});
    titleStack->setAlignment(StackAlignment::leading);
    titleStack->setSpacing(2);
    auto spacer = View::make();
    spacer->setFixedWidth(0);
    auto identity = StackView::makeHorizontal({spacer, icon, titleStack});
    identity->setAlignment(StackAlignment::centerY);
    identity->setSpacing(12);
    identity->setCustomSpacing(0, *spacer);

    // The language pop-up: every language under its own name and flag.
    for (const auto language : InterfaceLanguage::allCases()) {
        auto item = languagePopup->addItem(std::string(language.title()));
        item->setImage(language.flagImage());
    }
    languagePopup->selectItem(InterfaceLanguage::current().index());
    languagePopup->setControlSize(ControlSize::regular);
    mainwindowkit::setWidthKeepingTitleWhole(*languagePopup, 164);
    languagePopup->onAction = action(&MainWindowController::changeInterfaceLanguage);

    auto about = CrystalGlassButton::make(L("关于"));
    about->setImage(symbolImage("info.circle", L("关于"), {14, FontWeight::medium}));
    about->onAction = action(&MainWindowController::showAbout);
    auto quit = CrystalGlassButton::make(L("退出"));
    quit->setImage(symbolImage("power", L("退出应用"), {14, FontWeight::medium}));
    quit->onAction = action(&MainWindowController::quitApplication);
    for (const auto& button : {about, quit}) {
        mainwindowkit::setWidthKeepingTitleWhole(*button, 78);
        button->setFixedHeight(40);
    }
    auto aboutAndQuit = StackView::makeHorizontal({about, quit});
    aboutAndQuit->setAlignment(StackAlignment::centerY);
    aboutAndQuit->setSpacing(8);

    auto controls = StackView::makeHorizontal({aboutAndQuit, languagePopup});
    controls->setAlignment(StackAlignment::centerY);
    controls->setSpacing(8);
    controls->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::horizontal);

    const double identityWidth = std::ceil(titleLabel->intrinsicContentSize().width) + 64;
    // As wide as the buttons and the pop-up: wider where a language's words need it.
    const double controlsWidth = *about->sizeConstraints().width + 8 + *quit->sizeConstraints().width + 8 +
                                 *languagePopup->sizeConstraints().width;
    return WrappingColumnsView::make({{identity, identityWidth}, {controls, controlsWidth}}, 12, StackAlignment::centerY,
                                     true);
}

void MainWindowController::assemblePages(const std::shared_ptr<View>& background, const std::shared_ptr<View>& header,
                                         const std::shared_ptr<View>& firstPageColumns) {
    auto root = StackView::makeVertical({header, firstPageColumns});
    root->setAlignment(StackAlignment::leading);
    root->setSpacing(10);
    root->setFillsCrossAxis(*header, true);
    root->setFillsCrossAxis(*firstPageColumns, true);
    mainLayoutRoot_ = root;

    auto firstDocument = FlippedDocumentView::make();
    firstDocument->setSizeConstraints(SizeConstraints{.width = {}, .height = {}, .minWidth = 520, .minHeight = {}, .maxWidth = {}, .maxHeight = {}});
    root->setPlacement(Placement::filling());
    firstDocument->addSubview(root);
    auto firstScroll = makePageScrollView();
    firstScroll->setDocumentView(firstDocument);
    firstScroll->setPlacement(Placement::filling({26, 30, 14, 30}));
    auto firstPage = View::make();
    firstPage->addSubview(firstScroll);

    auto secondDocument = FlippedDocumentView::make();
    secondPageStack_->setPlacement(Placement::filling({0, 0, 12, 0}));
    secondDocument->addSubview(secondPageStack_);
    auto secondScroll = makePageScrollView();
    secondScroll->setDocumentView(secondDocument);
    secondScroll->setPlacement(Placement::filling({30, 30, 18, 32}));
    auto secondPage = makeSecondPageHost();
    secondPage->addSubview(secondScroll);

    for (const auto& page : {firstPage, secondPage}) {
        page->setPlacement(Placement::filling());
        background->addSubview(page);
    }
    pagesHost_ = background;
    auto coordinator = HorizontalPagingCoordinator::install(background, {firstPage, secondPage});

    nextPageChevron_ = makeChevron("chevron.right.circle.fill", L("进入第二屏"));
    previousPageChevron_ = makeChevron("chevron.left.circle.fill", usesChineseTexts() ? "返回主界面" : "Back to main screen");
    std::weak_ptr<HorizontalPagingCoordinator> weakCoordinator = coordinator;
    nextPageChevron_->onAction = [weakCoordinator](Control&) {
        if (auto paging = weakCoordinator.lock()) paging->showSecondPage();
    };
    previousPageChevron_->onAction = [weakCoordinator](Control&) {
        if (auto paging = weakCoordinator.lock()) paging->showFirstPage();
    };
    previousPageChevron_->setHidden(true);
    nextPageChevron_->setFixedSize({30, 40});
    nextPageChevron_->setPlacement(Placement{std::nullopt, 40.0 - 15, std::nullopt, std::nullopt, std::nullopt, 0.0});
    previousPageChevron_->setFixedSize({26, 40});
    previousPageChevron_->setPlacement(Placement{15.0 - 13, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0.0});
    background->addSubview(nextPageChevron_);
    background->addSubview(previousPageChevron_);
    coordinator->onPageChanged = [next = std::weak_ptr<Button>(nextPageChevron_),
                                  previous = std::weak_ptr<Button>(previousPageChevron_)](int page) {
        if (auto button = next.lock()) button->setHidden(page != 0);
        if (auto button = previous.lock()) button->setHidden(page == 0);
    };
}

}  // namespace tallowmere
