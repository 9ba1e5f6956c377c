// Invariant checks of the fuzz targets: a broken invariant aborts with the
// condition, so libFuzzer records the input and the replay test fails.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(cond)                                                                   \
  do {                                                                                     \
    if (!(cond)) {                                                                         \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond);   \
      std::abort();                                                                        \
    }                                                                                      \
  } while (0)
