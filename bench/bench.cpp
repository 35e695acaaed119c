// The program's costs, measured with Google Benchmark (scripts/bench.sh runs it, never the
// tests): the idle call, the frame, and start-up and peak memory of the real program.
#include "app/window.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// ---- The integrator: one idle call (50 sub-steps) beside the same arithmetic on locals.

// The part of SimState that an idle call changes.
struct Motion {
  double t, earth, sky, plane, x, y, vx, vy, mx, my, mvx, mvy;
};

Motion motion_of(const SimState& s) {
  return {s.sim_time, s.earth_angle, s.sky_angle, s.plane_angle, s.bob_x,  s.bob_y,
          s.bob_vx,   s.bob_vy,      s.mid_x,     s.mid_y,       s.mid_vx, s.mid_vy};
}

// The sub-step operation for operation, the state in registers for the whole call and the
// loop-invariant products taken once. Not inlined, like idle(), which lives in another
// translation unit.
__attribute__((noinline)) void reference_idle(Motion& m) {
  const double dt = sim.dt, half_dt = 0.5 * dt, turn = sim.omega * dt;
  const double earth_turn = turn * static_cast<double>(1 - sim.earth_fixed);
  const double coriolis = 2.0 * sim.omega_sin_lat;
  Motion s = m;
  for (int k = 1; k <= sim.substeps_per_idle; ++k) {
    s.t = s.t + dt;
    s.earth = earth_turn + s.earth;
    s.sky = s.sky - turn;
    s.plane = turn + s.plane;
    s.mvx = ((-s.x) + coriolis * s.vy) * dt * 0.5 + s.vx;
    s.mvy = ((-s.y) - coriolis * s.vx) * dt * 0.5 + s.vy;
    s.mx = half_dt * s.mvx + s.x;
    s.my = half_dt * s.mvy + s.y;
    s.vx = ((-s.mx) + coriolis * s.mvy) * dt + s.vx;
    s.vy = ((-s.my) - coriolis * s.mvx) * dt + s.vy;
    s.x = dt * s.vx + s.x;
    s.y = dt * s.vy + s.y;
  }
  m = s;
}

void BM_IdleCall(benchmark::State& state) {
  reset_simulation();
  for (auto _ : state) idle();
}

// Both must do the same work: as many idle calls from the same reset state must reach the
// reference's state bit for bit, or there is nothing to compare.
void BM_ReferenceLoop(benchmark::State& state) {
  reset_simulation();
  Motion m = motion_of(sim);
  for (auto _ : state) reference_idle(m);
  reset_simulation();
  for (benchmark::IterationCount i = 0; i < state.iterations(); ++i) idle();
  const Motion got = motion_of(sim);
  if (std::memcmp(&got, &m, sizeof m) != 0) state.SkipWithError("the reference does other work");
}

// ---- The frame, full screen: the program's display() beside the same frame replayed from
// a display list compiled from display() itself.

GLuint frame_list = 0;

void program_frame() {
  idle();
  display();
}

void listed_frame() {
  glCallList(frame_list);
  glutSwapBuffers();
  glFlush();
}

// The program's window made full screen; 1,200 frames fill the trace (a sample every
// 12th frame) and set the bob swinging, and the next frame is compiled into the list.
// glutSwapBuffers and glFlush are not GL commands that a list keeps: they run at once.
std::string open_program_window() {
  int argc = 1;
  char name[] = "foucault_bench";
  char* argv[] = {name, nullptr};
  reset_simulation();
  open_window(&argc, argv);
  init_graphics();
  glutFullScreen();
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  // Full screen once the program's reshape has set the viewport to the screen's size.
  GLint viewport[4] = {};
  while (viewport[2] != glutGet(GLUT_SCREEN_WIDTH) || viewport[3] != glutGet(GLUT_SCREEN_HEIGHT)) {
    glutMainLoopEvent();
    glGetIntegerv(GL_VIEWPORT, viewport);
  }
  for (int i = 0; i < 1200; ++i) program_frame();
  frame_list = glGenLists(1);
  glNewList(frame_list, GL_COMPILE);
  display();
  glEndList();
  return std::to_string(viewport[2]) + "x" + std::to_string(viewport[3]) + " " +
         reinterpret_cast<const char*>(glGetString(GL_RENDERER));
}

// Wall time: llvmpipe rasterises on threads of its own. The label names window and renderer.
void BM_Frame(benchmark::State& state, void (*frame)()) {
  static const std::string label = open_program_window();
  state.SetLabel(label);
  for (auto _ : state) frame();
}

// ---- Start-up and memory: a program started with the swap probe preloaded, which writes a
// byte into a pipe at its first swap and ends the process after 1,000 swaps. The time is
// from just before exec to that byte; peak_kib is the child's peak resident set. Run apart
// from the frame: a spawned child starts with its parent's peak.
void BM_Run(benchmark::State& state, const char* program) {
  setenv("LD_PRELOAD", SWAP_PROBE, 1);
  setenv("FOUCAULT_PROBE_FRAMES", "1000", 1);
  const char* const argv[] = {program, nullptr};
  for (auto _ : state) {
    int fds[2];
    if (pipe(fds) != 0) break;
    setenv("FOUCAULT_PROBE_FD", std::to_string(fds[1]).c_str(), 1);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    posix_spawn(&pid, program, nullptr, nullptr, const_cast<char* const*>(argv), environ);
    close(fds[1]);
    char byte = 0;
    const bool swapped = read(fds[0], &byte, 1) == 1;
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    int status = 1;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    close(fds[0]);
    if (!swapped || status != 0) state.SkipWithError("the program did not swap and end");
    state.counters["peak_kib"] = static_cast<double>(usage.ru_maxrss);
  }
}

// Frames in 15 blocks of 40; the figure is the fastest block, the least disturbed by other
// work on the machine (each block is the mean of its 40 frames).
void frame_blocks(benchmark::internal::Benchmark* blocks) {
  blocks->Iterations(40)->Repetitions(15)->UseRealTime()->ComputeStatistics(
      "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

void five_starts(benchmark::internal::Benchmark* runs) {
  runs->Iterations(1)->Repetitions(5)->UseManualTime();
}

}  // namespace

// CPU time: on a shared machine the wall clock also counts the wait for a core.
BENCHMARK(BM_IdleCall)->Repetitions(15)->MinTime(0.05);
BENCHMARK(BM_ReferenceLoop)->Repetitions(15)->MinTime(0.05);
BENCHMARK_CAPTURE(BM_Frame, display, program_frame)->Apply(frame_blocks);
BENCHMARK_CAPTURE(BM_Frame, lists, listed_frame)->Apply(frame_blocks);
BENCHMARK_CAPTURE(BM_Run, program, PROGRAM)->Apply(five_starts);
BENCHMARK_CAPTURE(BM_Run, bare_menus, BARE_GLUT)->Apply(five_starts);

BENCHMARK_MAIN();
