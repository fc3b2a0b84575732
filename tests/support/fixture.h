#pragma once

#include <gtest/gtest.h>

#include "platform/runtime/app_context.h"
#include "support/temporary_home.h"

namespace tallowmere::testing {

// The fixture every test starts from: a temporary HOME and a fresh,
// deterministic AppContext (virtual clock, background queues run on the
// main queue's turns).
class TallowmereTest : public ::testing::Test {
protected:
    platform::AppContext& context() { return context_; }
    platform::VirtualClock& clock() { return *context_.virtualClock(); }
    const std::filesystem::path& home() const { return home_.path(); }

    // Lets `seconds` of virtual time pass, running what falls due.
    void advance(double seconds) { clock().advance(seconds); }
    // Runs what is due now, as the main queue's next turns would.
    void runUntilIdle() { context_.mainQueue().runUntilIdle(); }

private:
    TemporaryHome home_;  // before the context: services may read $HOME
    platform::AppContext context_{{.deterministic = true}};
};

}  // namespace tallowmere::testing
