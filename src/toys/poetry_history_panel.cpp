#include "toys/poetry_history_panel.h"

#include <cstdio>

#include "platform/gfx/canvas.h"
#include "platform/gfx/path.h"
#include "platform/ui/label.h"
#include "platform/ui/scroll_view.h"
#include "platform/ui/window.h"
#include "toys/poetry_collection.h"
#include "toys/poetry_fonts.h"
#include "toys/poetry_header_view.h"
#include "toys/poetry_review_button.h"

namespace tallowmere::PoetryHistoryPanel {

namespace {

using namespace platform;

constexpr Size contentSize{600, 470};
const Color ink = Color::calibratedRGB(0.18, 0.14, 0.10);
const Color cinnabar = Color::calibratedRGB(0.67, 0.09, 0.07);
const Color faded = Color::calibratedRGB(0.38, 0.32, 0.25);

std::shared_ptr<Label> label(std::string text, const Font& font, const Color& color) {
    auto made = Label::make(std::move(text));
    made->setFont(font);
    made->setTextColor(color);
    return made;
}

// Warm paper with a faint frame and ruled lines.
class PoetryHistoryPaperView : public View {
public:
    explicit PoetryHistoryPaperView(Rect frame) : View(frame) {}
    void draw(Canvas& canvas, Rect) override {
        const auto bounds = this->bounds();
        canvas.setFillColor(Color::calibratedRGB(0.97, 0.94, 0.87));
        canvas.fillRect(bounds);
        canvas.setStrokeColor(Color::calibratedRGB(0.67, 0.09, 0.07, 0.35));
        canvas.setLineWidth(1.5);
        canvas.stroke(Path::roundedRect(bounds.insetBy(10, 10), 6));
        canvas.setLineWidth(0.5);
        canvas.stroke(Path::roundedRect(bounds.insetBy(15, 15), 4));
    }
};

// One appreciated poem: its number, title and poet, and the excerpt.
class HistoryRow : public View {
public:
    HistoryRow(int ordinal, const PoetryEntry& entry) : View({}) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", ordinal);
        ordinal_ = label(number, PoetryFonts::kaiti(20), cinnabar);
        heading_ = label(PoetryHeaderView::localizedScript("《" + entry.title + "》  —— " + entry.author),
                         PoetryFonts::kaiti(17), ink);
        excerpt_ = Label::makeWrapping(PoetryHeaderView::localizedScript(entry.excerpt));
        excerpt_->setFont(PoetryFonts::kaiti(14));
        excerpt_->setTextColor(faded);
        excerpt_->setMaximumNumberOfLines(2);
        addSubview(ordinal_);
        addSubview(heading_);
        addSubview(excerpt_);
        setFixedHeight(rowHeight);
    }
    void layout() override {
        const auto b = bounds();
        ordinal_->setFrame({b.minX(), b.maxY() - 34, 40, 26});
        heading_->setFrame({b.minX() + 46, b.maxY() - 32, b.width() - 46, 24});
        excerpt_->setFrame({b.minX() + 46, b.minY() + 8, b.width() - 46, 40});
    }
    void draw(Canvas& canvas, Rect) override {
        // The separator under each row.
        canvas.setFillColor(Color::calibratedRGB(0.67, 0.09, 0.07, 0.18));
        canvas.fillRect({bounds().minX(), bounds().minY(), bounds().width(), 1});
    }
    std::string heading() const { return heading_->stringValue(); }

private:
    std::shared_ptr<Label> ordinal_, heading_, excerpt_;
};

// The rows top down (a flipped document, so the list starts at its top).
class HistoryList : public View {
public:
    HistoryList() : View({}) { setFlipped(true); }
    void layout() override {
        double y = 0;
        for (const auto& row : subviews()) {
            const double height = row->fittingSize().height;
            row->setFrame({0, y, bounds().width(), height});
            y += height;
        }
    }
    Size intrinsicContentSize() const override {
        double height = 0;
        for (const auto& row : subviews()) height += row->fittingSize().height;
        return {noIntrinsicMetric, height};
    }
};

class HistoryContent : public PoetryHistoryPaperView {
public:
    HistoryContent(std::shared_ptr<View> heading, std::shared_ptr<View> subtitle, std::shared_ptr<View> count,
                   std::shared_ptr<View> close, std::shared_ptr<ScrollView> list)
        : PoetryHistoryPaperView({{0, 0}, contentSize}),
          heading_(std::move(heading)),
          subtitle_(std::move(subtitle)),
          count_(std::move(count)),
          close_(std::move(close)),
          list_(std::move(list)) {
        for (const auto& view : {heading_, subtitle_, count_, close_, std::static_pointer_cast<View>(list_)}) {
            addSubview(view);
        }
    }
    void layout() override {
        const auto b = bounds();
        heading_->setFrame({b.minX() + 34, b.maxY() - 28 - 38, 200, 38});
        subtitle_->setFrame({b.minX() + 34, b.maxY() - 28 - 38 - 22, 300, 20});
        count_->setFrame({b.maxX() - 34 - 160, b.maxY() - 28 - 30, 160, 22});
        close_->setFrame({b.maxX() - 18 - 74, b.minY() + 10, 74, 30});
        list_->setFrame({b.minX() + 34, b.minY() + 54, b.width() - 68, b.height() - 54 - 28 - 38 - 22 - 18});
    }

private:
    std::shared_ptr<View> heading_, subtitle_, count_, close_;
    std::shared_ptr<ScrollView> list_;
};

}  // namespace

std::shared_ptr<Panel> make(const std::set<int>& reviewed, std::function<void()> onClose) {
    auto panel = Window::make<Panel>(ScreenRect{{0, 0}, contentSize},
                                     WindowStyleMask{WindowStyleMask::titled | WindowStyleMask::closable |
                                                     WindowStyleMask::fullSizeContentView});
    panel->setTitle("鉴赏录");
    panel->titleVisibility = WindowTitleVisibility::hidden;
    panel->titlebarAppearsTransparent = true;
    panel->isMovableByWindowBackground = true;
    panel->isReleasedWhenClosed = false;
    panel->setHasShadow(true);

    auto heading = label("鉴赏录", PoetryFonts::kaiti(28), ink);
    auto subtitle = label("一卷诗心 · 留痕于此", PoetryFonts::kaiti(13), Color::calibratedRGB(0.42, 0.35, 0.27));
    auto count = label("朱印 · " + std::to_string(reviewed.size()) + " 首", PoetryFonts::kaiti(14), cinnabar);
    count->setAlignment(TextAlignment::right);
    auto close = PoetryReviewButton::make("合卷");
    close->setToolTip("关闭");
    close->onAction = [onClose = std::move(onClose)](Control&) {
        if (onClose) onClose();
    };

    auto list = std::make_shared<HistoryList>();
    const auto& entries = PoetryCollection::entries();
    int ordinal = 0;
    for (const int index : reviewed) {
        if (index < 0 || index >= static_cast<int>(entries.size())) continue;
        list->addSubview(std::make_shared<HistoryRow>(++ordinal, entries[static_cast<std::size_t>(index)]));
    }
    if (ordinal == 0) {
        auto empty = label(emptyLine, PoetryFonts::kaiti(16), faded);
        empty->setAlignment(TextAlignment::center);
        empty->setFixedHeight(80);
        list->addSubview(empty);
    }
    auto scroll = ScrollView::make();
    scroll->hasVerticalScroller = true;
    scroll->drawsBackground = false;
    scroll->setBorderType(BorderType::none);
    scroll->setDocumentTracksWidth(true);
    scroll->setDocumentView(list);

    panel->setContentView(std::make_shared<HistoryContent>(heading, subtitle, count, close, scroll));
    return panel;
}

}  // namespace tallowmere::PoetryHistoryPanel
