#include <gtest/gtest.h>

#include <string>

#include "platform/runtime/notification_center.h"
#include "support/fixture.h"

namespace tallowmere::platform {
namespace {

using NotificationCenterTest = testing::TallowmereTest;

TEST_F(NotificationCenterTest, FiltersByNameAndSenderAndCarriesUserInfo) {
    NotificationCenter center;
    int senderA = 0, senderB = 0;
    std::string log;
    center.addObserver("changed", &senderA, [&](const Notification&) { log += "A"; });
    center.addObserver("changed", nullptr, [&](const Notification& n) {
        log += "*";
        if (auto* v = n.info<int>("count")) log += std::to_string(*v);
    });
    center.addObserver("", nullptr, [&](const Notification&) { log += "all"; });

    center.post("changed", &senderB, {{"count", 2}});
    EXPECT_EQ(log, "*2all");
    log.clear();
    center.post("changed", &senderA);
    EXPECT_EQ(log, "A*all");
    log.clear();
    center.post("other");
    EXPECT_EQ(log, "all");
}

TEST_F(NotificationCenterTest, ObserverRemovedDuringPostIsNotCalledAndAddedOneWaits) {
    NotificationCenter center;
    std::string log;
    ObserverToken second;
    center.addObserver("n", nullptr, [&](const Notification&) {
        log += "1";
        center.removeObserver(second);
        center.addObserver("n", nullptr, [&](const Notification&) { log += "new"; });
    });
    second = center.addObserver("n", nullptr, [&](const Notification&) { log += "2"; });
    center.post("n");
    EXPECT_EQ(log, "1");
    log.clear();
    center.post("n");
    EXPECT_EQ(log, "1new");
}

}  // namespace
}  // namespace tallowmere::platform
