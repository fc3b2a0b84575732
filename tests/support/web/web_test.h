#pragma once

#include <functional>
#include <string>

#include "platform/runtime/app_context.h"

namespace tallowmere::testing {

// Starts the web engine for a test: on the display scripts/test exports as
// TALLOWMERE_WEB_DISPLAY, else on an Xvfb of the test's own; from the
// build's engine module; with the engine's sandbox off (containers often
// lack the user namespaces it needs; a line on standard error says so).
// Gives why the engine cannot run, empty when it runs: a web test fails
// with it, it never skips.
std::string startWebEngine();

// Runs the engine's loop and the main queue's due work until `done()` or
// until `seconds` of real time have passed: a real engine's pages run in
// real time, so a test waits on a condition, never a fixed delay. True when
// `done()` came true.
bool waitUntil(const std::function<bool()>& done, double seconds = 20);

// Runs the engine and the queue for `seconds` of real time however the page
// behaves: for a test that checks nothing more happens.
void runEngineFor(double seconds);

// The folder of the test pages.
std::string testPagesFolder();

}  // namespace tallowmere::testing
