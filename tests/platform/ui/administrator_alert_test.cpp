#include "platform/ui/administrator_alert.h"

#include <gtest/gtest.h>

#include "platform/system/administrator_prompt.h"
#include "support/desktop/desktop_fixture.h"

namespace tallowmere::platform {
namespace {

class AdministratorAlertTest : public testing::DesktopTest {};

TEST_F(AdministratorAlertTest, OnlyThePersonsOKGrantsRights) {
    struct Case {
        const char* name;
        std::optional<ModalResponse> answer;  // nothing: nobody answers
        bool granted;
    } cases[] = {
        {"OK", ModalResponses::alertFirstButton, true},
        {"Cancel", ModalResponses::alertSecondButton, false},
        {"nobody there", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.answer) alerts.answer(*c.answer);
        EXPECT_EQ(AdministratorPrompt::shared().requestAuthorization("osascript"), c.granted);
        EXPECT_EQ(alerts.last().messageText, "\u201Cosascript\u201D wants to make changes.");
        EXPECT_EQ(alerts.last().buttons, (std::vector<std::string>{"OK", "Cancel"}));
    }
}

}  // namespace
}  // namespace tallowmere::platform
