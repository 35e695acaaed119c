// Entry point of the tests that need a real OpenGL context: without a display they skip
// (exit code 77, which CTest reports as skipped), except under CI, where that is a failure.
#include <gtest/gtest.h>
// After gtest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The connection stays open for the life of the process: closing the only client would
// let Xvfb reset itself just as GLUT connects.
bool display_reachable() {
  return XOpenDisplay(nullptr) != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (!testing::GTEST_FLAG(list_tests) && !display_reachable()) {
    const char* ci = std::getenv("CI");
    if (ci != nullptr && std::strcmp(ci, "true") == 0) {
      std::fprintf(stderr, "no X display reachable (DISPLAY=%s): the OpenGL tests cannot run\n",
                   std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
      return 1;
    }
    std::fprintf(stderr, "SKIPPED: no X display; run the tests under xvfb-run\n");
    return 77;
  }
  return RUN_ALL_TESTS();
}
