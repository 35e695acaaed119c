// The integrator's cost: one idle call (50 sub-steps) of the program beside a minimal
// loop doing the same arithmetic on locals, in the same binary and the same run.
//
// Before timing, both are driven from the same start for many calls and must reach
// bit-identical states; otherwise the figures would compare different work and the
// program stops with status 1. Figures are CPU time: on a machine shared with other
// work, the wall clock also counts the time the benchmark waited for a core.
// Output: Google Benchmark's console table, then
//   RESULT integrator_idle_ns <median ns per idle call>
//   RESULT integrator_reference_ns <median ns per reference call>
//   RESULT integrator_ratio <idle / reference>
#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// The part of SimState that an idle call changes.
struct Motion {
  double sim_time, earth_angle, sky_angle, plane_angle;
  double bob_x, bob_y, bob_vx, bob_vy;
  double mid_x, mid_y, mid_vx, mid_vy;
};

// What an idle call only reads.
struct Params {
  double dt, omega, omega_sin_lat;
  int earth_fixed, substeps;
};

Motion motion_of(const SimState& s) {
  return {s.sim_time, s.earth_angle, s.sky_angle, s.plane_angle, s.bob_x,  s.bob_y,
          s.bob_vx,   s.bob_vy,      s.mid_x,     s.mid_y,       s.mid_vx, s.mid_vy};
}

Params params_of(const SimState& s) {
  return {s.dt, s.omega, s.omega_sin_lat, s.earth_fixed, s.substeps_per_idle};
}

// The same sub-step, operation for operation, with the state held in registers for the
// whole call and the loop-invariant products taken once. Not inlined, like the idle
// handler, which the benchmark calls across a translation unit.
__attribute__((noinline)) void reference_idle(Motion& m, const Params& p) {
  const double dt = p.dt;
  const double turn = p.omega * dt;
  const double earth_turn = turn * static_cast<double>(1 - p.earth_fixed);
  const double coriolis = 2.0 * p.omega_sin_lat;
  const double half_dt = 0.5 * dt;
  double t = m.sim_time, earth = m.earth_angle, sky = m.sky_angle, plane = m.plane_angle;
  double x = m.bob_x, y = m.bob_y, vx = m.bob_vx, vy = m.bob_vy;
  double mx = m.mid_x, my = m.mid_y, mvx = m.mid_vx, mvy = m.mid_vy;
  for (int k = 1; k <= p.substeps; ++k) {
    t = t + dt;
    earth = earth_turn + earth;
    sky = sky - turn;
    plane = turn + plane;
    mvx = ((-x) + coriolis * vy) * dt * 0.5 + vx;
    mvy = ((-y) - coriolis * vx) * dt * 0.5 + vy;
    mx = half_dt * mvx + x;
    my = half_dt * mvy + y;
    vx = ((-mx) + coriolis * mvy) * dt + vx;
    vy = ((-my) - coriolis * mvx) * dt + vy;
    x = dt * vx + x;
    y = dt * vy + y;
  }
  m = {t, earth, sky, plane, x, y, vx, vy, mx, my, mvx, mvy};
}

void quiet_reset() {
  std::fflush(stdout);
  std::FILE* saved = stdout;
  stdout = std::fopen("/dev/null", "w");
  reset_simulation();
  std::fclose(stdout);
  stdout = saved;
}

// Drives the idle handler and the reference loop side by side from the program's reset
// state (changed by `setup`) and compares every field bit for bit after each of `calls`.
bool same_state_after(const char* what, void (*setup)(), int calls) {
  quiet_reset();
  setup();
  sim.running = 1;
  Motion ref = motion_of(sim);
  const Params p = params_of(sim);
  for (int i = 1; i <= calls; ++i) {
    idle();
    reference_idle(ref, p);
    const Motion got = motion_of(sim);
    if (std::memcmp(&got, &ref, sizeof ref) != 0) {
      std::fprintf(stderr, "integrator_bench: %s: states part after %d calls\n", what, i);
      return false;
    }
  }
  std::printf("check: %s: the idle call and the reference loop agree bit for bit over %d calls\n",
              what, calls);
  return true;
}

void default_setup() {}
void held_earth_at_south_pole() {
  sim.earth_fixed = 1;
  sim.latitude = -1.5707963267948966;
  apply_latitude();
  scale_omega(2.0);
}

void BM_IdleCall(benchmark::State& state) {
  quiet_reset();
  sim.running = 1;
  for (auto _ : state) {
    idle();
  }
  benchmark::DoNotOptimize(sim);
}

Motion bench_motion;

void BM_ReferenceLoop(benchmark::State& state) {
  quiet_reset();
  bench_motion = motion_of(sim);
  const Params p = params_of(sim);
  for (auto _ : state) {
    reference_idle(bench_motion, p);
  }
  benchmark::DoNotOptimize(bench_motion);
}

// The console table as usual, and the CPU-time medians kept for the summary lines.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> median_ns;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        median_ns[run.run_name.function_name] = run.GetAdjustedCPUTime();
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

BENCHMARK(BM_IdleCall)->Repetitions(15)->MinTime(0.05)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_ReferenceLoop)->Repetitions(15)->MinTime(0.05)->Unit(benchmark::kNanosecond);

int main(int argc, char** argv) {
  if (!same_state_after("from the reset state", default_setup, 4000) ||
      !same_state_after("Earth held, south pole, doubled rate", held_earth_at_south_pole, 4000)) {
    return 1;
  }
  std::vector<char*> args(argv, argv + argc);
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  args.insert(args.begin() + 1, interleave);
  int n = static_cast<int>(args.size());
  benchmark::Initialize(&n, args.data());
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  const double idle_ns = reporter.median_ns["BM_IdleCall"];
  const double ref_ns = reporter.median_ns["BM_ReferenceLoop"];
  if (idle_ns <= 0.0 || ref_ns <= 0.0) {
    std::fprintf(stderr, "integrator_bench: a benchmark did not report a median\n");
    return 1;
  }
  std::printf("RESULT integrator_idle_ns %.1f\n", idle_ns);
  std::printf("RESULT integrator_reference_ns %.1f\n", ref_ns);
  std::printf("RESULT integrator_ratio %.3f\n", idle_ns / ref_ns);
  return 0;
}
