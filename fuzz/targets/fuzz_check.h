// Property checks inside fuzz targets: a failed check prints what was expected
// and aborts, so that libFuzzer keeps the input as a crash and the replay test
// fails on it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define KVLINK_FUZZ_CHECK(condition)                                                             \
  do {                                                                                           \
    if (!(condition)) {                                                                          \
      std::fprintf(stderr, "%s:%d: fuzz property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                              \
    }                                                                                            \
  } while (false)
