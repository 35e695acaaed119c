// Preloaded into a GLUT program (LD_PRELOAD) to see its frames from outside: wraps
// glXSwapBuffers, notes when the first swap has returned and, after a given number of
// swaps, the peak resident memory, then ends the process.
//
// Environment: FOUCAULT_PROBE_FD, a file descriptor open for writing, receives
//   first_swap_ns <CLOCK_MONOTONIC nanoseconds when the first swap returned>
//   frames <n> hwm_kib <VmHWM of /proc/self/status>
//   rss_kib <llvm> <dri> <heap> <anon> <other>
// the last line being the resident set at that moment by kind of mapping: LLVM's
// library (llvmpipe compiles its shaders with it), the Mesa driver, the heap, other
// anonymous memory (thread stacks, JIT code, shared image buffers), every other file.
// FOUCAULT_PROBE_FRAMES (default 1) is n: the process exits with status 0 after it.
#include <GL/glx.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using SwapFn = void (*)(Display*, GLXDrawable);

long swaps = 0;

long env_long(const char* name, long fallback) {
  const char* value = std::getenv(name);
  return value == nullptr ? fallback : std::strtol(value, nullptr, 10);
}

void report(const char* line) {
  const long fd = env_long("FOUCAULT_PROBE_FD", -1);
  if (fd < 0) return;
  const size_t n = std::strlen(line);
  if (write(static_cast<int>(fd), line, n) != static_cast<ssize_t>(n)) {
    _exit(3);
  }
}

long peak_resident_kib() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  long kib = -1;
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
  }
  std::fclose(status);
  return kib;
}

// Resident KiB of /proc/self/smaps summed by kind of mapping, as one report line.
void resident_by_kind(char* line, size_t size) {
  long kib[5] = {0, 0, 0, 0, 0};  // llvm, dri, heap, anon, other
  std::FILE* smaps = std::fopen("/proc/self/smaps", "r");
  if (smaps != nullptr) {
    char text[512];
    int kind = 3;
    while (std::fgets(text, sizeof text, smaps) != nullptr) {
      char first[128] = "";
      std::sscanf(text, "%127s", first);
      const size_t n = std::strlen(first);
      if (n > 0 && first[n - 1] == ':') {  // a field of the current mapping
        long value = 0;
        if (std::sscanf(text, "Rss: %ld kB", &value) == 1) kib[kind] += value;
        continue;
      }
      char path[384] = "";  // a mapping's header: range, perms, offset, dev, inode, path
      std::sscanf(text, "%*s %*s %*s %*s %*s %383s", path);
      if (std::strstr(path, "libLLVM") != nullptr) {
        kind = 0;
      } else if (std::strstr(path, "_dri.so") != nullptr) {
        kind = 1;
      } else if (std::strcmp(path, "[heap]") == 0) {
        kind = 2;
      } else if (path[0] == '/' && std::strncmp(path, "/SYSV", 5) != 0) {
        kind = 4;
      } else {
        kind = 3;
      }
    }
    std::fclose(smaps);
  }
  std::snprintf(line, size, "rss_kib %ld %ld %ld %ld %ld\n", kib[0], kib[1], kib[2], kib[3],
                kib[4]);
}

}  // namespace

extern "C" void glXSwapBuffers(Display* display, GLXDrawable drawable) {
  static SwapFn real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "glXSwapBuffers"));
  real(display, drawable);
  ++swaps;
  char line[128];
  if (swaps == 1) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::snprintf(line, sizeof line, "first_swap_ns %lld\n",
                  static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    report(line);
  }
  if (swaps == env_long("FOUCAULT_PROBE_FRAMES", 1)) {
    std::snprintf(line, sizeof line, "frames %ld hwm_kib %ld\n", swaps, peak_resident_kib());
    report(line);
    resident_by_kind(line, sizeof line);
    report(line);
    _exit(0);
  }
}
