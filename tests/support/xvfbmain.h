// The entry point of the test programs whose windows live in this process on a private X
// server: the server first (the application connects to it when it starts), then the
// application, then every test, each unexpected Qt warning a failure.
#pragma once

#include "support/xvfbserver.h"

#include <functional>

namespace qz::test {

// beforeApp runs once the server is up (environment for the application), withApp once the
// application exists (windows the tests expect). Returns the tests' status, 1 without a server.
int runTestsOnXvfb(int argc, char **argv, const std::function<void(XvfbServer &)> &beforeApp = {},
                   const std::function<void(XvfbServer &)> &withApp = {});

} // namespace qz::test
