// Runs the hook tests against a private Xvfb; exits 77 (skipped) when Xvfb
// is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "hookmod/tests/HookReceiver.h"
#include "hookmod/tests/XvfbServer.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!hooktest::XvfbServer::Installed()) {
        std::fprintf(stderr, "Xvfb is not installed: hook tests skipped\n");
        return 77;
    }
    hooktest::XvfbServer server;
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("VARNOK_HOOK_TEST_BLOCK", hooktest::HookReceiver::BlockName().c_str(), 1);
    return RUN_ALL_TESTS();
}
