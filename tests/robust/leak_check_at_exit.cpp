// Sanitizer builds only: runs LeakSanitizer's check while the OpenGL driver is still loaded.
//
// glutInit registers an exit handler that closes the X display, and Mesa unloads its
// driver then. LeakSanitizer's own check runs after every other exit handler, when the
// driver's blocks can no longer be traced to any library, so no suppression could name
// them. glutInit is wrapped at link time (-Wl,--wrap=glutInit) to register the check right
// after freeglut's handler; exit handlers run in reverse order, so it runs first.
#include <cstdlib>
#include <sanitizer/lsan_interface.h>

extern "C" void __real_glutInit(int* argc, char** argv);

extern "C" void __wrap_glutInit(int* argc, char** argv) {
  __real_glutInit(argc, argv);
  [[maybe_unused]] static const bool registered = std::atexit([] { __lsan_do_leak_check(); }) == 0;
}
