// The few checks of a Windows test program: each counted, each failure
// named, and a closing "N passed, N failed" line.
#ifndef FWPROBE_TESTS_WINDOWS_EXPECT_H
#define FWPROBE_TESTS_WINDOWS_EXPECT_H

#include <cstdio>
#include <string>

namespace windows_test {

inline int passed = 0;
inline int failed = 0;

inline void Expect(bool ok, const std::string &what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

// Prints the closing line; the program's exit status.
inline int Finish(const char *program) {
  std::printf("%s: %d passed, %d failed\n", program, passed, failed);
  return failed == 0 ? 0 : 1;
}

}  // namespace windows_test

#endif
