// Start-up time and memory of the real program beside the bare GLUT program with the
// same window, alone and with a menu tree of the program's shape, all three run on the
// current display with the swap probe preloaded:
//   - start-up: from just before exec to the return of the first glXSwapBuffers, over
//     several runs of each, taken in turn, median reported;
//   - memory: peak resident set (VmHWM) after a given number of frames, median of three
//     runs each, and the resident set by kind of mapping at the end of the last run.
//
// Usage: startup_bench PROBE_LIBRARY PROGRAM BARE_PROGRAM [--runs N] [--frames N]
// Output: one line per run, then for each of program, bare and bare_menus:
//   RESULT startup_<name>_ms <median>   RESULT hwm_<name>_kib <median>
//   RESULT rss_<name>_<kind>_kib <KiB>  (kind: llvm, dri, heap, anon, other)
// and RESULT hwm_excess_kib <program - bare>.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

long long now_ns() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

const char* const kinds[] = {"llvm", "dri", "heap", "anon", "other"};

struct Outcome {
  bool ok = false;
  double startup_ms = 0.0;
  long hwm_kib = -1;
  long rss_kib[5] = {-1, -1, -1, -1, -1};
};

struct Program {
  const char* name;
  std::vector<const char*> argv;  // null-terminated
  std::vector<double> startup_ms;
  std::vector<long> hwm_kib;
  Outcome last;
};

// Runs the program until the probe ends it after `frames` swaps; kills it after
// `timeout_s` seconds. Its standard output goes to /dev/null.
Outcome launch(const char* probe, const Program& program, long frames, int timeout_s) {
  Outcome out;
  int fds[2];
  if (pipe(fds) != 0) return out;
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  const pid_t pid = fork();
  if (pid < 0) return out;
  if (pid == 0) {
    close(fds[0]);
    const int null = open("/dev/null", O_WRONLY);
    if (null >= 0) dup2(null, STDOUT_FILENO);
    setenv("LD_PRELOAD", probe, 1);
    setenv("FOUCAULT_PROBE_FD", std::to_string(fds[1]).c_str(), 1);
    setenv("FOUCAULT_PROBE_FRAMES", std::to_string(frames).c_str(), 1);
    char line[64];
    const int n = std::snprintf(line, sizeof line, "exec_ns %lld\n", now_ns());
    if (write(fds[1], line, static_cast<size_t>(n)) != n) _exit(126);
    execv(program.argv[0], const_cast<char* const*>(program.argv.data()));
    _exit(127);
  }
  close(fds[1]);
  std::string text;
  const long long deadline = now_ns() + static_cast<long long>(timeout_s) * 1000000000LL;
  bool timed_out = false;
  for (;;) {
    const long long left_ms = (deadline - now_ns()) / 1000000;
    if (left_ms <= 0) {
      timed_out = true;
      break;
    }
    pollfd p{fds[0], POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left_ms)) <= 0) continue;
    char buffer[256];
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got <= 0) break;
    text.append(buffer, static_cast<size_t>(got));
  }
  close(fds[0]);
  if (timed_out) kill(pid, SIGKILL);
  int status = 0;
  waitpid(pid, &status, 0);

  long long exec_ns = -1, swap_ns = -1;
  long swapped = -1;
  for (size_t at = 0; at < text.size();) {
    const size_t end = text.find('\n', at);
    const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    std::sscanf(line.c_str(), "exec_ns %lld", &exec_ns);
    std::sscanf(line.c_str(), "first_swap_ns %lld", &swap_ns);
    std::sscanf(line.c_str(), "frames %ld hwm_kib %ld", &swapped, &out.hwm_kib);
    std::sscanf(line.c_str(), "rss_kib %ld %ld %ld %ld %ld", &out.rss_kib[0], &out.rss_kib[1],
                &out.rss_kib[2], &out.rss_kib[3], &out.rss_kib[4]);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  out.ok = !timed_out && WIFEXITED(status) && WEXITSTATUS(status) == 0 && exec_ns > 0 &&
           swap_ns > exec_ns && swapped == frames && out.hwm_kib > 0;
  out.startup_ms = static_cast<double>(swap_ns - exec_ns) / 1e6;
  if (!out.ok) {
    std::fprintf(stderr, "startup_bench: %s did not report %ld frames%s (wait status %d)\n",
                 program.name, frames, timed_out ? " in time" : "", status);
  }
  return out;
}

template <typename T>
T median(std::vector<T> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

int option(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::atoi(argv[i + 1]);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: startup_bench PROBE_LIBRARY PROGRAM BARE_PROGRAM [--runs N] [--frames N]\n");
    return 2;
  }
  const char* probe = argv[1];
  const int runs = std::max(1, option(argc, argv, "--runs", 11));
  const long frames = std::max(1, option(argc, argv, "--frames", 1000));
  const int memory_runs = 3;
  static char menus_flag[] = "--menus";
  Program programs[] = {{"program", {argv[2], nullptr}, {}, {}, {}},
                        {"bare", {argv[3], nullptr}, {}, {}, {}},
                        {"bare_menus", {argv[3], menus_flag, nullptr}, {}, {}, {}}};

  // One unrecorded start each: the first after a build reads the files from disk.
  for (const Program& p : programs) launch(probe, p, 1, 30);
  for (int r = 0; r < runs; ++r) {
    for (Program& p : programs) {
      const Outcome o = launch(probe, p, 1, 30);
      if (!o.ok) return 1;
      p.startup_ms.push_back(o.startup_ms);
      std::printf("run: %s: first frame swapped %.1f ms after exec\n", p.name, o.startup_ms);
    }
  }
  for (int r = 0; r < memory_runs; ++r) {
    for (Program& p : programs) {
      p.last = launch(probe, p, frames, 300);
      if (!p.last.ok) return 1;
      p.hwm_kib.push_back(p.last.hwm_kib);
      std::printf("run: %s: peak resident %ld KiB after %ld frames\n", p.name, p.last.hwm_kib,
                  frames);
    }
  }
  for (const Program& p : programs) {
    std::printf("RESULT startup_%s_ms %.1f\n", p.name, median(p.startup_ms));
    std::printf("RESULT hwm_%s_kib %ld\n", p.name, median(p.hwm_kib));
    for (int k = 0; k < 5; ++k) {
      std::printf("RESULT rss_%s_%s_kib %ld\n", p.name, kinds[k], p.last.rss_kib[k]);
    }
  }
  std::printf("RESULT hwm_excess_kib %ld\n", median(programs[0].hwm_kib) - median(programs[1].hwm_kib));
  return 0;
}
