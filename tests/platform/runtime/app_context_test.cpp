#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/app_context.h"

namespace tallowmere::platform {
namespace {

std::vector<std::string>* destroyed = nullptr;

struct First {
    ~First() { destroyed->push_back("first"); }
    int value = 1;
};
struct Second {
    Second() { AppContext::current().shared<First>().value = 2; }
    ~Second() { destroyed->push_back("second"); }
};
struct Custom {
    static std::shared_ptr<Custom> makeShared() {
        auto c = std::make_shared<Custom>();
        c->name = "made";
        return c;
    }
    std::string name;
};

TEST(AppContextTest, SharedInstancesAreMadeOnceAndDieInReverseOrder) {
    std::vector<std::string> log;
    destroyed = &log;
    {
        AppContext context({.deterministic = true});
        auto& second = context.shared<Second>();
        EXPECT_EQ(&second, &context.shared<Second>());
        EXPECT_EQ(context.shared<First>().value, 2);
        EXPECT_EQ(context.shared<Custom>().name, "made");
    }
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
    destroyed = nullptr;
}

struct Watcher {
    ~Watcher() { sawFirstGone = AppContext::current().sharedIfMade<First>() == nullptr; }
    static inline bool sawFirstGone = false;
};
struct LateFirst {
    LateFirst() { AppContext::current().shared<Watcher>(); }  // made before: dies after
};

TEST(AppContextTest, AnInstanceDestroyedDuringTeardownIsNoLongerFound) {
    std::vector<std::string> log;
    destroyed = &log;
    {
        AppContext context({.deterministic = true});
        context.shared<LateFirst>();
        context.shared<First>();
    }
    EXPECT_TRUE(Watcher::sawFirstGone);
    destroyed = nullptr;
}

TEST(AppContextTest, NestedContextsAreIndependentAndRestoreTheOuterOne) {
    AppContext outer({.deterministic = true});
    outer.shared<Custom>().name = "outer";
    {
        AppContext inner({.deterministic = true});
        EXPECT_EQ(&AppContext::current(), &inner);
        EXPECT_EQ(inner.shared<Custom>().name, "made");
    }
    EXPECT_EQ(&AppContext::current(), &outer);
    EXPECT_EQ(outer.shared<Custom>().name, "outer");
}

}  // namespace
}  // namespace tallowmere::platform
