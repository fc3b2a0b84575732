// Page 1 laid out with the machine's real fonts in every interface language,
// at a wide and a narrow window: no text may be cut or broken inside a word,
// and nothing may spill out of its card, however long a language's words are.
#include <gtest/gtest.h>

#include <sstream>

#include "main_window_fixture.h"
#include "mainwindow/apple_settings_card_view.h"
#include "platform/gfx/pango_text_measurer.h"
#include "platform/ui/button.h"
#include "platform/ui/label.h"
#include "platform/ui/pop_up_button.h"

namespace tallowmere::testing {
namespace {

using platform::Rect;
using platform::View;

// Rounding of the layout's sums: a part of a point is no cut.
constexpr double tolerance = 0.5;

// The words of a text written with spaces between them, which a line may
// break between but never inside. Scripts written without spaces (Thai,
// Chinese, Japanese) break inside their runs, so theirs are left out; a
// full-width bracket opens a new word.
std::vector<std::string> wordsThatMustNotBreak(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool breaksInside = false;
    const auto close = [&] {
        if (!word.empty() && !breaksInside) words.push_back(word);
        word.clear();
        breaksInside = false;
    };
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const std::string character = text.substr(at, length);
        char32_t point = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (std::size_t i = 1; i < length && at + i < text.size(); ++i)
            point = (point << 6) | (static_cast<unsigned char>(text[at + i]) & 0x3F);
        at += length;
        if (character == " ") {
            close();
            continue;
        }
        if (character == "（") close();
        word += character;
        if ((point >= 0x0E00 && point <= 0x0E7F) || point >= 0x3000) breaksInside = true;
        if (character == "）") close();
    }
    close();
    return words;
}

class MainWindowPageOneFitTest : public MainWindowTest {
protected:
    void SetUp() override {
        context().setShared<platform::TextMeasurer>(std::make_shared<platform::PangoTextMeasurer>());
    }

    // What a person would see wrong with `view` itself: its text cut, or
    // (inside a card) the view reaching past the card's edge.
    static void inspect(const View& view, const View* card, std::vector<std::string>& faults) {
        const Rect frame = view.frame();
        const auto describe = [&](const std::string& what, const std::string& text) {
            std::ostringstream line;
            line << what << " \"" << text << "\" (frame " << frame.width() << " x " << frame.height() << ")";
            faults.push_back(line.str());
        };
        if (const auto* label = dynamic_cast<const platform::Label*>(&view)) {
            const auto text = label->attributedStringValue()
                                  ? *label->attributedStringValue()
                                  : platform::AttributedString(label->stringValue(), {.font = label->font()});
            // A label keeps 2 points of room at either side of its text.
            constexpr double sideInset = 2;
            const auto& measurer = platform::TextMeasurer::shared();
            const auto needed = label->wraps() ? measurer.measure(text, frame.width() - 2 * sideInset)
                                               : measurer.measure(text);
            if (needed.width + 2 * sideInset > frame.width() + tolerance ||
                needed.height > frame.height() + tolerance) {
                std::ostringstream size;
                size << "needs " << needed.width + 2 * sideInset << " x " << needed.height << ":";
                describe("text cut, " + size.str(), label->stringValue());
            }
            if (label->wraps()) {
                const auto font = text.attributesAt(0).font.value_or(label->font());
                for (const auto& word : wordsThatMustNotBreak(label->stringValue())) {
                    if (measurer.measure(word, font).width + 2 * sideInset > frame.width() + tolerance)
                        describe("word \"" + word + "\" broken in", label->stringValue());
                }
            }
        } else if (const auto* popUp = dynamic_cast<const platform::PopUpButton*>(&view)) {
            // Any item may be chosen, so the longest one must show whole.
            if (const double needed = popUp->intrinsicContentSize().width; needed > frame.width() + tolerance)
                describe("pop-up narrower than its longest item (needs " + std::to_string(needed) + "), showing",
                         popUp->titleOfSelectedItem());
        } else if (const auto* button = dynamic_cast<const platform::Button*>(&view)) {
            if (const double needed = button->narrowestWidth(); needed > frame.width() + tolerance)
                describe("button title cut (needs " + std::to_string(needed) + ")", button->title());
        }
        if (card && &view != card) {
            const Rect inCard = view.convert(view.bounds(), card);
            const Rect edge = card->bounds().insetBy(-tolerance, -tolerance);
            if (inCard.minX() < edge.minX() || inCard.maxX() > edge.maxX() || inCard.minY() < edge.minY() ||
                inCard.maxY() > edge.maxY()) {
                std::ostringstream where;
                where << "spills out of its card (at " << inCard.minX() << ", " << inCard.minY() << ", "
                      << inCard.width() << " x " << inCard.height() << " in a card of " << card->bounds().width()
                      << " x " << card->bounds().height() << "):";
                const auto* label = dynamic_cast<const platform::Label*>(&view);
                describe(where.str(), label ? label->stringValue() : typeid(view).name());
            }
        }
    }

    static void walk(const View& view, const View* card, std::vector<std::string>& faults) {
        if (view.isHidden()) return;
        if (dynamic_cast<const AppleSettingsCardView*>(&view)) card = &view;
        inspect(view, card, faults);
        for (const auto& subview : view.subviews()) walk(*subview, card, faults);
    }
};

TEST_F(MainWindowPageOneFitTest, NoTextIsCutAndNothingSpillsOutOfItsCardInAnyLanguage) {
    for (const InterfaceLanguage language : InterfaceLanguage::allCases()) {
        InterfaceLanguage::setCurrent(language);
        controller_.reset();
        for (const double width : {1440.0, 900.0}) {
            SCOPED_TRACE(std::string(language.rawValue()) + " at " + std::to_string(static_cast<int>(width)));
            layOutPageOne(width);
            std::vector<std::string> faults;
            walk(*controller().mainLayoutRoot(), nullptr, faults);
            for (const auto& fault : faults) ADD_FAILURE() << fault;
        }
    }
}

}  // namespace
}  // namespace tallowmere::testing
