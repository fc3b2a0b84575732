#include "platform/ui/combo_box.h"

#include "platform/gfx/canvas.h"

namespace tallowmere::platform {

namespace {
constexpr double arrowWidth = 18;
}

std::shared_ptr<ComboBox> ComboBox::make(std::vector<std::string> items) {
    auto box = std::shared_ptr<ComboBox>(new ComboBox({}));
    box->addItems(items);
    return box;
}

void ComboBox::addItem(std::string item) {
    items_.push_back(std::move(item));
    invalidateIntrinsicContentSize();
}

void ComboBox::addItems(const std::vector<std::string>& items) {
    for (const auto& item : items) addItem(item);
}

void ComboBox::removeAllItems() {
    items_.clear();
    selected_.reset();
    invalidateIntrinsicContentSize();
}

std::optional<std::size_t> ComboBox::indexOfSelectedItem() const {
    if (selected_ && *selected_ < items_.size() && items_[*selected_] == stringValue()) return selected_;
    return std::nullopt;
}

void ComboBox::selectItem(std::optional<std::size_t> index) {
    if (index && *index >= items_.size()) index.reset();
    selected_ = index;
    if (!index) return;
    setStringValue(items_[*index]);
    // While editing, the chosen value stays selected, so typing replaces it.
    setSelectedRange({0, stringValue().size()});
}

void ComboBox::choose(std::size_t index) {
    if (index >= items_.size()) return;
    auto self = weak_from_this().lock();
    selectItem(index);
    if (onSelectionDidChange) onSelectionDidChange(*this);
    sendAction();
}

void ComboBox::showList() {
    if (!isEnabled() || items_.empty()) return;
    list_ = Menu::make();
    std::weak_ptr<ComboBox> weak = std::static_pointer_cast<ComboBox>(weak_from_this().lock());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        auto item = list_->addItem(items_[i], [weak, i](MenuItem&) {
            if (auto box = weak.lock()) box->choose(i);
        });
        if (indexOfSelectedItem() == i) item->setState(MenuItemState::on);
    }
    list_->minimumWidth = bounds().width();
    const Rect b = bounds();
    list_->popUp(nullptr, Point{b.minX(), isFlipped() ? b.maxY() : b.minY()}, *this);
}

Rect ComboBox::arrowRect() const {
    const Rect b = bounds();
    return {b.maxX() - arrowWidth, b.minY(), arrowWidth, b.height()};
}

Size ComboBox::intrinsicContentSize() const {
    Size size = TextField::intrinsicContentSize();
    size.width += arrowWidth;
    return size;
}

void ComboBox::draw(Canvas& canvas, Rect dirty) {
    TextField::draw(canvas, dirty);
    const Rect arrow = arrowRect();
    canvas.save();
    canvas.setFillColor(Color::system(SystemColor::controlAccent));
    canvas.fill(Path::roundedRect(arrow.insetBy(1, 1), 3));
    canvas.setStrokeColor(Color::white());
    canvas.setLineWidth(1.5);
    const double down = isFlipped() ? 1 : -1;
    Path chevron;
    chevron.moveTo({arrow.midX() - 3, arrow.midY() - 1.5 * down});
    chevron.lineTo({arrow.midX(), arrow.midY() + 1.5 * down});
    chevron.lineTo({arrow.midX() + 3, arrow.midY() - 1.5 * down});
    canvas.stroke(chevron);
    canvas.restore();
}

void ComboBox::mouseDown(const Event& event) {
    if (arrowRect().contains(locationInView(event))) {
        showList();
        return;
    }
    TextField::mouseDown(event);
}

}  // namespace tallowmere::platform
