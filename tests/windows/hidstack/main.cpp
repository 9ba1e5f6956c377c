// The Windows programs under wine against fake pedals on a umockdev testbed,
// through wine's own setupapi, hid, hidclass and winebus.
//
//   umockdev-wrapper wine_hidstack_test WINE_RUN VARNOK_PEDAL_EXE PREFIX
//                    [VARNOK_SETUP_EXE WINDOW_PROBE SCREENSHOT_DIR]
//
// The window's tests need the last three and an X display (DISPLAY); without
// them they are skipped. Exit 77 (skipped) when the testbed cannot run.
#include <gtest/gtest.h>

#include <cstdio>

#include "WineStack.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4 && argc != 7) {
    std::fprintf(stderr, "usage: %s WINE_RUN VARNOK_PEDAL_EXE PREFIX [VARNOK_SETUP_EXE WINDOW_PROBE SCREENSHOT_DIR]\n",
                 argv[0]);
    return 2;
  }
  if (!wine_hidstack::FakeHidTestbed::Available()) {
    std::fprintf(stderr, "not under umockdev-wrapper: skipped\n");
    return 77;
  }
  auto& programs = wine_hidstack::g_programs;
  programs.wineRun = argv[1];
  programs.pedalExe = argv[2];
  programs.prefix = argv[3];
  if (argc == 7) {
    programs.setupExe = argv[4];
    programs.probeExe = argv[5];
    programs.shotDir = argv[6];
  }
  wine_hidstack::WineStack::instance = new wine_hidstack::WineStack;
  ::testing::AddGlobalTestEnvironment(wine_hidstack::WineStack::instance);
  return RUN_ALL_TESTS();
}
