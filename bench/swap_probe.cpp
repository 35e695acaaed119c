// Preloaded (LD_PRELOAD) into a GLUT program by bench.cpp: wraps glXSwapBuffers, writes a
// byte to descriptor FOUCAULT_PROBE_FD (if set) when the first swap has returned, and ends
// the process with status 0 after FOUCAULT_PROBE_FRAMES swaps.
#include <GL/glx.h>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  using Swap = void (*)(Display*, GLXDrawable);
  static const Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  static const long last = std::atol(std::getenv("FOUCAULT_PROBE_FRAMES"));  // must be set
  static const char* const fd = std::getenv("FOUCAULT_PROBE_FD");
  static long swaps = 0;
  real(display, drawable);
  if (++swaps == 1 && fd != nullptr) dprintf(std::atoi(fd), "s");
  if (swaps == last) _exit(0);
}
