// Page 2, "更多工具": the breathing background it sits on, its title and
// three columns of cards: buddies and music, everyday tools, inspiration
// and links.
#include "localization/interface_language.h"
#include "mainwindow/inverted_disco_lamp_view.h"
#include "mainwindow/main_window_controller.h"
#include "mainwindow/main_window_view_kit.h"
#include "mainwindow/second_page_breathing_background_view.h"
#include "mainwindow/second_page_gradient.h"
#include "mainwindow/serious_business_tools_view.h"
#include "mainwindow/wrapping_columns_view.h"
#include "platform/ui/grid_view.h"
#include "platform/ui/stack_view.h"
#include "time/countdown_day_controller.h"
#include "toys/fly_simulation_controller.h"
#include "toys/poetry_header_view.h"
#include "toys/symbol_library_controller.h"

namespace tallowmere {

using namespace platform;
using namespace mainwindowkit;

namespace {

constexpr double buddyColumnWidth = 520;
constexpr double toolColumnWidth = 402;
// A card's contents sit 18 points in from each side.
constexpr double cardInset = 18;
constexpr double buddyContentWidth = 484;
constexpr double buddyButtonWidth = 232;
constexpr double buddyWideButtonWidth = 474;

struct AINavigationButton {
    const char* chineseTitle;
    const char* englishTitle;
    const char* iconResource;
    const char* iconExtension;
};
constexpr AINavigationButton aiNavigationButtons[] = {
    {"Gemini", "Gemini", "AIGemini", "png"},
    {"千问", "Qwen", "AIQianwen", "png"},
    {"豆包", "Doubao", "AIDoubao", "png"},
    {"百度文心助手", "Baidu Wenxin Assistant", "AIWenxin", "png"},
    {"ChatGPT", "ChatGPT", "AIChatGPT", "svg"},
    {"Kimi", "Kimi", "AIKimi", "ico"},
};

// The nine buddy types in the controller's order: Chinese and English titles.
constexpr std::pair<const char*, const char*> buddyTypeTitles[] = {
    {"fly（苍蝇）", "Fly"},  {"小强", "Cockroach"}, {"蚊子", "Mosquito"},      {"甲虫", "Beetle"},
    {"天妇罗", "Tempura"},  {"汉堡", "Burger"},    {"西兰花", "Broccoli"},      {"辣椒酱", "Chili Sauce"},
    {"灯球", "Disco Ball"},
};
constexpr std::size_t buddyTypesOnFirstRow = 5;

// Runs a buddy-controller action with the sender.
Control::Action buddyAction(void (FlySimulationController::*method)(Control&)) {
    return [method](Control& sender) { (FlySimulationController::shared().*method)(sender); };
}

std::shared_ptr<StackView> sectionColumn(const std::string& title, const std::vector<std::shared_ptr<View>>& views) {
    auto titleLabel = makeLabel(title, 17, FontWeight::semibold);
    titleLabel->setContentHuggingPriority(LayoutPriority::required, LayoutAxis::vertical);
    std::vector<std::shared_ptr<View>> arranged{titleLabel};
    arranged.insert(arranged.end(), views.begin(), views.end());
    auto stack = column(arranged, 18);
    stack->setCustomSpacing(10, *titleLabel);
    for (const auto& view : views) stack->setFillsCrossAxis(*view, true);
    // Takes the room a taller neighbour column leaves, so the cards stay at the top.
    stack->addArrangedSubview(View::make());
    return stack;
}

// Stretches `view` across the inside of `card`.
void fillCardWidth(AppleSettingsCardView& card, View& view) {
    if (auto content = std::dynamic_pointer_cast<StackView>(card.subviews().front())) {
        content->setFillsCrossAxis(view, true);
    }
}

std::shared_ptr<Button> makeLargeButton(const std::string& title, double width) {
    auto button = makePushButton(title, ControlSize::large);
    button->setFixedWidth(width);
    return button;
}

}  // namespace

std::shared_ptr<View> MainWindowController::makeSecondPageHost() { return secondPageBackground_; }

std::shared_ptr<AppleSettingsCardView> MainWindowController::makeMusicCard() {
    auto buttons = row({makeWorkSceneMusicButton(L("安静工作"), 0), makeWorkSceneMusicButton(L("平静的一天"), 1),
                        makeWorkSceneMusicButton(L("被裁员了"), 2)},
                       10);
    buttons->setDistribution(StackDistribution::fillEqually);
    auto card = makeCard(L("来点儿音乐"), {buttons});
    fillCardWidth(*card, *buttons);
    return card;
}

std::shared_ptr<AppleSettingsCardView> MainWindowController::makeAINavigationCard() {
    const double gridWidth = toolColumnWidth - 2 * cardInset;
    const double buttonWidth = gridWidth / 2 - 4;
    auto grid = GridView::make();
    grid->setRowSpacing(8);
    grid->setColumnSpacing(8);
    grid->setYPlacement(GridCellPlacement::center);
    grid->setXPlacement(GridCellPlacement::fill);
    for (std::size_t first = 0; first < std::size(aiNavigationButtons); first += 2) {
        std::vector<std::shared_ptr<View>> cells;
        for (std::size_t tag = first; tag < first + 2; ++tag) {
            const auto& entry = aiNavigationButtons[tag];
            cells.push_back(makeAINavigationButton(byLanguage(entry.chineseTitle, entry.englishTitle),
                                                   static_cast<int>(tag), entry.iconResource, entry.iconExtension));
        }
        grid->addRow(cells);
        grid->setRowHeight(grid->numberOfRows() - 1, 30);
    }
    for (std::size_t column = 0; column < 2; ++column) grid->setColumnWidth(column, buttonWidth);
    grid->setFixedWidth(gridWidth);
    auto openAll = makeLargeButton(L("一键全打开"), gridWidth);
    openAll->setFixedHeight(28);
    openAll->onAction = action(&MainWindowController::openAllAINavigation);
    return makeCard(L("AI导航"), {grid, openAll});
}

std::shared_ptr<AppleSettingsCardView> MainWindowController::makeBuddyCard() {
    auto& buddies = FlySimulationController::shared();

    auto description = makeNote(byLanguage("选择一个 buddy 召唤到屏幕上；它会随机移动和停留，鼠标靠近时会立即躲开。",
                                           "Choose a buddy to summon. It wanders, rests, and escapes when the "
                                           "pointer approaches."),
                                 14, 2);
    description->setFixedWidth(buddyContentWidth);

    std::vector<std::shared_ptr<View>> styles;
    for (auto& button : makeRadioGroup({byLanguage("数码", "Digital"), byLanguage("写实", "Realistic"), "Emoji"},
                                       buddyAction(&FlySimulationController::changeBuddyStyle),
                                       buddies.selectedBuddyStyle())) {
        styles.push_back(std::move(button));
    }
    auto styleRow = makeFlySettingRow(byLanguage("风格", "Style"), row(styles, 14));

    std::vector<std::shared_ptr<Button>> typeButtons;
    std::vector<std::shared_ptr<View>> firstRow, secondRow;
    for (std::size_t type = 0; type < std::size(buddyTypeTitles); ++type) {
        auto button = makePushButton(byLanguage(buddyTypeTitles[type].first, buddyTypeTitles[type].second),
                                     ControlSize::regular);
        button->setButtonType(ButtonType::pushOnPushOff);
        button->setTag(static_cast<int>(type));
        button->onAction = buddyAction(&FlySimulationController::changeBuddyType);
        (type < buddyTypesOnFirstRow ? firstRow : secondRow).push_back(button);
        typeButtons.push_back(std::move(button));
    }
    auto typeRows = column({makeLabel("buddy", 15, FontWeight::semibold)}, 6);
    for (auto& views : {firstRow, secondRow}) {
        auto typeRow = row(views, 10);
        typeRow->setDistribution(StackDistribution::fillEqually);
        typeRow->setFixedWidth(buddyContentWidth);
        typeRows->addArrangedSubview(typeRow);
    }
    buddies.bindBuddyTypeButtons(typeButtons);

    std::vector<std::shared_ptr<View>> personalities;
    for (auto& button : makeRadioGroup({byLanguage("悠闲", "Calm"), byLanguage("胆小", "Timid"),
                                        byLanguage("淘气", "Playful")},
                                       buddyAction(&FlySimulationController::changePersonality),
                                       buddies.selectedActivity())) {
        personalities.push_back(std::move(button));
    }
    auto personalityRow = makeFlySettingRow(byLanguage("buddy 性格", "Personality"), row(personalities, 14));

    auto summon = makeLargeButton(byLanguage("召唤这个 buddy", "Summon This Buddy"), buddyButtonWidth);
    summon->setBezelColor(Color::system(SystemColor::blue));
    summon->onAction = buddyAction(&FlySimulationController::summonOneFly);
    auto random = makeLargeButton(byLanguage("随机召唤 buddy", "Random Buddy"), buddyButtonWidth);
    random->onAction = buddyAction(&FlySimulationController::summonOneRandomBuddy);
    auto giant = makeLargeButton(byLanguage("召唤一个巨物", "Summon a Giant"), buddyButtonWidth);
    giant->onAction = buddyAction(&FlySimulationController::summonOneGiantBuddy);
    auto home = makeLargeButton(byLanguage("送它们回家", "Send Them Home"), buddyButtonWidth);
    home->onAction = buddyAction(&FlySimulationController::sendAllBuddiesHome);
    auto vanish = makeLargeButton(byLanguage("让它们消失", "Make Them Disappear"), buddyWideButtonWidth);
    vanish->onAction = buddyAction(&FlySimulationController::dismissAllBuddiesImmediately);
    auto actions = GridView::make({{summon, random}, {giant, home}, {vanish, nullptr}});
    actions->mergeCells(2, 0, 1);
    actions->setRowSpacing(8);
    actions->setColumnSpacing(10);

    auto count = makeLabel("", 13);
    count->setTextColor(Color::system(SystemColor::secondaryLabel));
    buddies.bindCountLabel(count, byLanguage("当前 buddy", "Buddies"));
    auto note = makeLabel(byLanguage("每周会增加一种buddy，别着急慢慢来。投稿给我",
                                     "One new buddy every week. Take it slow. Send me your ideas."),
                          12);
    note->setTextColor(Color::system(SystemColor::secondaryLabel));
    note->setAlignment(TextAlignment::right);
    note->setCompressionResistancePriority(LayoutPriority::defaultLow, LayoutAxis::horizontal);
    auto countLine = row({count, View::make(), note}, 8);
    countLine->setFixedWidth(buddyContentWidth);

    auto card = makeCard("Work with Buddy", {description, styleRow, typeRows, personalityRow, actions, countLine});
    fillCardWidth(*card, *styleRow);
    fillCardWidth(*card, *personalityRow);
    applySecondPageGradient(*card, Color::system(SystemColor::blue).withAlphaComponent(0.2),
                            Color::system(SystemColor::cyan).withAlphaComponent(0.08));
    return card;
}

std::shared_ptr<AppleSettingsCardView> MainWindowController::makeDiscoCard() {
    auto lamp = InvertedDiscoLampView::make({0, 0, 220, 180});
    std::weak_ptr<SecondPageBreathingBackgroundView> background = secondPageBackground_;
    lamp->onSpeedChanged = [background](double speed) {
        if (auto view = background.lock()) view->setDiscoSpeed(speed);
    };
    auto fullScreen = makePushButton(byLanguage("全屏", "Full Screen"), ControlSize::small);
    fullScreen->setButtonType(ButtonType::pushOnPushOff);
    fullScreen->setContentTintColor(Color::system(SystemColor::blue));
    fullScreen->setFixedSize({72, 28});
    fullScreen->onAction = [weakLamp = std::weak_ptr<InvertedDiscoLampView>(lamp)](Control& sender) {
        if (auto view = weakLamp.lock()) view->toggleFullScreen(static_cast<Button&>(sender));
    };
    auto lampHolder = View::make();
    lampHolder->setFixedSize({toolColumnWidth - 2 * cardInset, 180});
    lamp->setFixedSize(lamp->frame().size);
    lamp->setPlacement(Placement{std::nullopt, std::nullopt, 0.0, std::nullopt, 0.0, std::nullopt});
    lampHolder->addSubview(lamp);
    return makeCard(byLanguage("灯球", "Disco Ball"), {lampHolder}, fullScreen);
}

void MainWindowController::buildSecondPage() {
    secondPageBackground_ = SecondPageBreathingBackgroundView::make();

    auto poemContainer = View::make();
    poemContainer->setWantsLayer(true);
    auto& poemLayer = poemContainer->mutableLayer();
    poemLayer.backgroundColor = Color::system(SystemColor::controlBackground);
    poemLayer.cornerRadius = 18;
    poemLayer.continuousCorners = true;
    auto poem = PoetryHeaderView::make({});
    poem->setPlacement(Placement::filling({8, 8, 8, 8}));
    poemContainer->addSubview(poem);
    poemContainer->setFixedHeight(150);

    auto decisionCard = SeriousBusinessToolsView::make();
    decisionCard->setFixedHeight(150);

    auto columns = WrappingColumnsView::make(
        {{sectionColumn(byLanguage("桌面伙伴与音乐", "Buddies & Music"), {makeBuddyCard(), makeMusicCard()}),
          buddyColumnWidth},
         {sectionColumn(byLanguage("日常工具", "Everyday Tools"),
                        {CountdownDayController::shared().makeCardView(),
                         SymbolLibraryController::shared().makeCardView(), decisionCard}),
          toolColumnWidth},
         {sectionColumn(byLanguage("灵感与导航", "Inspiration & Links"),
                        {poemContainer, makeAINavigationCard(), makeDiscoCard()}),
          toolColumnWidth}});

    auto title = makeLabel(byLanguage("更多工具", "More Tools"), 26, FontWeight::semibold);
    secondPageStack_ = column({title, columns}, 18);
    secondPageStack_->setFillsCrossAxis(*columns, true);
}

}  // namespace tallowmere
