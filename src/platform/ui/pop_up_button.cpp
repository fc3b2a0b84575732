#include "platform/ui/pop_up_button.h"

#include <algorithm>

#include "platform/gfx/canvas.h"
#include "platform/ui/control_drawing.h"

namespace tallowmere::platform {

namespace {
constexpr double arrowsWidth = 16;
constexpr double titlePadding = 10;
}  // namespace

std::shared_ptr<PopUpButton> PopUpButton::make(bool pullsDown) {
    return std::shared_ptr<PopUpButton>(new PopUpButton(pullsDown));
}

PopUpButton::PopUpButton(bool pullsDown) : Control({}), pullsDown_(pullsDown), menu_(Menu::make()) {}

void PopUpButton::setPullsDown(bool pullsDown) {
    pullsDown_ = pullsDown;
    refreshMarks();
    invalidateIntrinsicContentSize();
}

void PopUpButton::setMenu(std::shared_ptr<Menu> menu) {
    menu_ = menu ? std::move(menu) : Menu::make();
    selected_.reset();
    if (!pullsDown_ && menu_->numberOfItems() > 0) selectItem(menu_->item(0));
    refreshMarks();
    invalidateIntrinsicContentSize();
}

void PopUpButton::installSelectionAction(MenuItem& item) {
    item.action = [weak = std::weak_ptr<PopUpButton>(std::static_pointer_cast<PopUpButton>(weak_from_this().lock()))](
                      MenuItem& chosen) {
        if (auto popUp = weak.lock()) popUp->choose(chosen);
    };
}

std::shared_ptr<MenuItem> PopUpButton::addItem(std::string title) {
    return insertItem(std::move(title), menu_->numberOfItems());
}

void PopUpButton::addItems(const std::vector<std::string>& titles) {
    for (const auto& title : titles) addItem(title);
}

std::shared_ptr<MenuItem> PopUpButton::insertItem(std::string title, std::size_t index) {
    auto item = MenuItem::make(std::move(title));
    installSelectionAction(*item);
    menu_->insertItem(item, std::min(index, menu_->numberOfItems()));
    // A pop-up always shows a choice once it has one.
    if (!pullsDown_ && !selectedItem()) selectItem(item);
    invalidateIntrinsicContentSize();
    return item;
}

void PopUpButton::removeItem(std::size_t index) {
    auto item = menu_->item(index);
    if (!item) return;
    const bool wasSelected = item == selectedItem();
    menu_->removeItem(item);
    if (wasSelected) selectItem(pullsDown_ || menu_->numberOfItems() == 0 ? std::nullopt : std::optional<std::size_t>(0));
    invalidateIntrinsicContentSize();
}

void PopUpButton::removeAllItems() {
    menu_->removeAllItems();
    selected_.reset();
    invalidateIntrinsicContentSize();
}

std::shared_ptr<MenuItem> PopUpButton::lastItem() const {
    const auto count = menu_->numberOfItems();
    return count == 0 ? nullptr : menu_->item(count - 1);
}

std::vector<std::string> PopUpButton::itemTitles() const {
    std::vector<std::string> titles;
    for (const auto& item : menu_->items()) titles.push_back(item->title());
    return titles;
}

std::optional<std::size_t> PopUpButton::indexOfItem(const std::string& title) const {
    for (std::size_t i = 0; i < menu_->numberOfItems(); ++i)
        if (menu_->item(i)->title() == title) return i;
    return std::nullopt;
}

std::optional<std::size_t> PopUpButton::indexOfItemWithTag(int tag) const {
    for (std::size_t i = 0; i < menu_->numberOfItems(); ++i)
        if (menu_->item(i)->tag() == tag) return i;
    return std::nullopt;
}

std::optional<std::size_t> PopUpButton::indexOfSelectedItem() const {
    auto selected = selectedItem();
    return selected ? menu_->indexOf(*selected) : std::nullopt;
}

std::string PopUpButton::titleOfSelectedItem() const {
    auto selected = selectedItem();
    return selected ? selected->title() : std::string();
}

void PopUpButton::selectItem(std::optional<std::size_t> index) {
    selectItem(index ? menu_->item(*index) : nullptr);
}

void PopUpButton::selectItem(const std::shared_ptr<MenuItem>& item) {
    if (item && !menu_->indexOf(*item)) return;  // not one of ours
    selected_ = item;
    refreshMarks();
    setNeedsDisplay();
}

bool PopUpButton::selectItemWithTitle(const std::string& title) {
    auto index = indexOfItem(title);
    if (index) selectItem(index);
    return index.has_value();
}

bool PopUpButton::selectItemWithTag(int tag) {
    auto index = indexOfItemWithTag(tag);
    if (index) selectItem(index);
    return index.has_value();
}

void PopUpButton::refreshMarks() {
    if (pullsDown_) return;
    auto selected = selectedItem();
    for (const auto& item : menu_->items()) item->setState(item == selected ? MenuItemState::on : MenuItemState::off);
}

std::string PopUpButton::displayedTitle() const {
    if (pullsDown_) return menu_->numberOfItems() > 0 ? menu_->item(0)->displayedTitle() : std::string();
    auto selected = selectedItem();
    return selected ? selected->displayedTitle() : std::string();
}

void PopUpButton::choose(MenuItem& item) {
    auto self = weak_from_this().lock();
    selectItem(item.shared_from_this());
    sendAction();
}

void PopUpButton::performClick() {
    if (!isEnabled()) return;
    for (const auto& item : menu_->items())
        if (!item->action && !item->isSeparatorItem() && !item->hasSubmenu()) installSelectionAction(*item);
    const Rect b = bounds();
    // A pull-down list hangs below the button; a pop-up list opens over it
    // with the chosen item under the pointer.
    const Point corner = pullsDown_ ? Point{b.minX(), isFlipped() ? b.maxY() : b.minY()}
                                    : Point{b.minX(), isFlipped() ? b.minY() : b.maxY()};
    menu_->popUp(pullsDown_ ? nullptr : selectedItem(), corner, *this);
}

Size PopUpButton::intrinsicContentSize() const {
    double widest = 0;
    const Font font = this->font();
    for (const auto& item : menu_->items()) {
        if (item->isSeparatorItem()) continue;
        widest = std::max(widest, ControlDrawing::measure(item->displayedTitle(), font).width);
    }
    const double height = controlSize() == ControlSize::large ? 28 : controlSize() == ControlSize::small ? 19 : 22;
    return {widest + 2 * titlePadding + arrowsWidth, height};
}

void PopUpButton::draw(Canvas& canvas, Rect dirty) {
    (void)dirty;
    const Rect b = bounds();
    ControlDrawing::drawBezel(canvas, b.insetBy(0.5, 0.5), 5, isHighlighted(), isEnabled());
    TextAttributes attributes;
    attributes.font = font();
    attributes.foregroundColor = enabledColor(Color::system(SystemColor::controlText));
    const Rect titleBox{b.minX() + titlePadding, b.minY(), std::max(0.0, b.width() - 2 * titlePadding - arrowsWidth), b.height()};
    const std::string title = ControlDrawing::truncatedToWidth(displayedTitle(), font(), titleBox.width());
    ControlDrawing::drawText(canvas, AttributedString(title, attributes), titleBox, TextAlignment::left, isFlipped());

    // The arrows: a chevron pair for a pop-up, one down chevron for a pull-down.
    canvas.save();
    canvas.setStrokeColor(enabledColor(Color::system(SystemColor::secondaryLabel)));
    canvas.setLineWidth(1.5);
    canvas.setLineCap(LineCap::round);
    const double cx = b.maxX() - arrowsWidth / 2 - 4, cy = b.midY();
    const double up = isFlipped() ? -1 : 1;
    const auto chevron = [&](double tipY, double direction) {
        Path path;
        path.moveTo({cx - 3, tipY - 3 * direction});
        path.lineTo({cx, tipY});
        path.lineTo({cx + 3, tipY - 3 * direction});
        canvas.stroke(path);
    };
    if (pullsDown_) {
        chevron(cy - 1.5 * up, -up);
    } else {
        chevron(cy + 5 * up, up);
        chevron(cy - 5 * up, -up);
    }
    canvas.restore();
}

void PopUpButton::mouseDown(const Event& event) {
    (void)event;
    performClick();
}

}  // namespace tallowmere::platform
