// A broken promise found by a fuzz target: a loud failure libFuzzer keeps as a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace orvane::fuzz {

[[noreturn]] inline void fail(const char* what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

inline void check(bool condition, const char* what) {
  if (!condition) fail(what);
}

}  // namespace orvane::fuzz
