#include "platform/ui/date_picker.h"

#include <gtest/gtest.h>

#include "support/fixture.h"
#include "view_driver.h"

namespace tallowmere::platform {
namespace {

class DatePickerTest : public testing::TallowmereTest {
protected:
    // 2024-01-31 12:00 in Shanghai (UTC+8).
    static Date lastOfJanuary() { return Date::fromTimeIntervalSince1970(1706673600); }
};

TEST_F(DatePickerTest, StepsTheSelectedPartInItsTimeZoneAndKeepsWithinRange) {
    auto picker = DatePicker::make(lastOfJanuary());
    picker->setTimeZone("Asia/Shanghai");
    EXPECT_EQ(picker->displayedText(), "2024/01/31");

    struct Case {
        DateElement element;
        int delta;
        std::string expected;
    } cases[] = {
        {DateElement::day, 1, "2024/02/01"},
        {DateElement::month, 1, "2024/02/29"},  // the 31st lands on February's last day
        {DateElement::year, -1, "2023/01/31"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        picker->setDateValue(lastOfJanuary());
        picker->setSelectedElement(c.element);
        picker->step(c.delta);
        EXPECT_EQ(picker->displayedText(), c.expected);
    }

    picker->setDateValue(lastOfJanuary());
    picker->setMaxDate(lastOfJanuary().addingTimeInterval(3600));
    picker->setSelectedElement(DateElement::day);
    picker->step(1);
    EXPECT_EQ(picker->dateValue(), lastOfJanuary().addingTimeInterval(3600)) << "held at the maximum";
}

TEST_F(DatePickerTest, ArrowKeysAndTheStepperChangeTheDateAndRunTheAction) {
    auto root = View::make({0, 0, 300, 40});
    testing::ViewDriver driver(root);
    auto picker = DatePicker::make(lastOfJanuary());
    picker->setTimeZone("Asia/Shanghai");
    picker->setFrame({0, 0, 200, 22});
    root->addSubview(picker);
    int actions = 0;
    picker->onAction = [&](Control&) { ++actions; };

    driver.click(picker->convertToWindow({192, 16}));  // the stepper's upper half
    EXPECT_EQ(picker->displayedText(), "2024/02/01");
    driver.key(123);  // left: to the month
    driver.key(125);  // down
    EXPECT_EQ(picker->displayedText(), "2024/01/01");
    EXPECT_EQ(actions, 2);

    picker->setEnabled(false);
    driver.key(126);
    EXPECT_EQ(actions, 2);
}

}  // namespace
}  // namespace tallowmere::platform
