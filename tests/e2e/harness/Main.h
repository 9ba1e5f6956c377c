// The main() of an end-to-end test program: skipped (77) without the umockdev
// preload or an X server; one Xvfb for all its cases, ended by pid at the end.
#pragma once

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "hid/platform/linux/tests/FakeHidTestbed.h"
#include "hookmod/PosixHookBlockName.h"
#include "tests/e2e/harness/XServer.h"

namespace e2e {

inline int RunWithXServer(int argc, char** argv)
{
    if (!hid::platform::linux_::fakes::FakeHidTestbed::Available()) {
        std::puts("umockdev preload library not active (run under umockdev-wrapper): skipped");
        return 77;
    }
    XServer server;
    std::string why;
    if (!StartXServer(server, why)) {
        std::printf("no X server: %s: skipped\n", why.c_str());
        return 77;
    }
    gServer = &server;
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    gServer = nullptr;
    server.process.Stop();   // ends Xvfb by its pid
    // The programs' window-id block of this user for our display.
    hookmsg::RemoveHookWindowBlock(hookmsg::HookWindowBlockName(::geteuid(), server.display, hookmsg::PrivateRuntimeDir()));
    return result;
}

}  // namespace e2e
