// The model's tests. A transcript: tests/data/sim/transcript.txt lists operations ("== "
// lines), each followed by what it prints and the whole state after it, as name=value; the
// test runs the operations and compares its own transcript with the file, byte for byte.
// Then the physics against the exact solution of the linearised equations.
// FOUCAULT_REGEN=1 writes the file afresh instead; read the difference before committing it.
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/sim/records.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <tuple>
#include <vector>

namespace {

// Frames drawn so far in the scripted run: each one samples the bob somewhere new.
int frames_drawn = 0;

// One operation of the model, or a value set by hand as a key or menu entry would set it.
// Arguments are numbers as strtod reads them (hex floats, inf); words after them are notes.
void run(const std::string& line) {
  std::string op = line.substr(0, line.find(' ')), word;
  std::istringstream in(line.substr(op.size()));
  double v[3] = {};
  for (double& x : v) x = in >> word ? std::strtod(word.c_str(), nullptr) : 0.0;
  if (op == "reset") reset_simulation();
  for (int i = 0; op == "idle" && i < v[0]; ++i) idle();
  // v[0] frames, co-rotating when v[1] is not 0
  for (int i = 0; op == "frames" && i < v[0]; ++i) {
    const auto k = static_cast<float>(frames_drawn++);
    sample_trace(0.1f * k, -0.2f * k, 0.3f * k, 1.0f + k, -1.0f - k, v[1] != 0.0);
  }
  if (op == "clear") clear_trace();
  if (op == "restart") restart_pendulum(v[0], v[1]);
  if (op == "latitude") sim.latitude = v[0], apply_latitude();
  if (op == "scale_omega") scale_omega(v[0]);
  if (op == "omega") sim.omega = v[0];
  if (op == "flags")
    std::tie(sim.running, sim.earth_fixed) = std::tuple<int32_t, int32_t>(v[0], v[1]);
  if (op == "angles")
    std::tie(sim.earth_angle, sim.sky_angle, sim.plane_angle) = std::tie(v[0], v[1], v[2]);
  if (op == "frame_count") trace.frame_count = static_cast<int32_t>(v[0]);
}

TEST(Model, ScriptedRunMatchesItsTranscript) {
  sim = SimState();  // the program-start values, even after other tests in this process
  frames_drawn = 0;
  std::string transcript;
  std::ifstream ops(FOUCAULT_TEST_DATA "/sim/transcript.txt");  // its "== " lines
  for (std::string line; std::getline(ops, line);) {
    if (line.rfind("== ", 0) != 0) continue;
    testing::internal::CaptureStdout();
    run(line.substr(3));
    std::fflush(stdout);
    transcript += line + "\n";
    // Line ends shown as "$", as cat -A does, so that trailing blanks stay visible.
    for (char c : testing::internal::GetCapturedStdout())
      transcript += c == '\n' ? "$\n" : std::string(1, c);
    // The record, then entry 0 (the sample that has just left), the window, the staging slot.
    transcript += model_words();
    for (int i = 0; i <= trace.trace_len; i = std::max(i + 1, trace.trace_start))
      transcript +=
          std::to_string(i) + " " +
          words({{"x", trace.trace_x[i]}, {"y", trace.trace_y[i]}, {"z", trace.trace_z[i]}});
  }
  expect_data("sim/transcript.txt", transcript);
}

using Complex = std::complex<double>;

// With z = x + i y and Ws = omega sin(latitude), z'' + 2i Ws z' + z = 0. Released from rest
// at z0: z(t) = z0 e^{-i Ws t} (cos wt + i (Ws/w) sin wt), w = sqrt(1 + Ws^2), so the line of
// swing turns at -Ws, clockwise seen from above in the north; and L = x vy - y vx +
// Ws (x^2 + y^2), Ws |z0|^2 for a release from rest, is a constant of the motion.
TEST(Physics, SwingFollowsTheExactSolutionForFourThousandIdleCalls) {
  sim = SimState();  // the program-start values, even after other tests in this process
  reset_simulation();
  for (const double latitude : {default_latitude, pi / 2, -pi / 2, -0.3, 0.0}) {
    sim.latitude = latitude, apply_latitude();
    restart_pendulum(release_from_southwest.x, release_from_southwest.y);
    const Complex z0(sim.bob_x, sim.bob_y);
    const double ws = sim.omega_sin_lat, w = std::sqrt(1.0 + ws * ws), dt = sim.dt;
    const double l0 = ws * std::norm(z0);
    for (int n = 50; n <= 50 * 4000; n += 50) {
      SCOPED_TRACE("latitude " + std::to_string(latitude) + ", t = " + std::to_string(n * dt));
      idle();
      const Complex z(sim.bob_x, sim.bob_y), v(sim.bob_vx, sim.bob_vy);
      const Complex exact = z0 * std::polar(1.0, -ws * n * dt) *
                            Complex(std::cos(w * n * dt), ws / w * std::sin(w * n * dt));
      // Each sub-step's map has determinant 1 - dt^2/2 per axis: the energy shrinks by
      // (1 - dt^2/2)^n and the amplitude by its square root (1.2 % at t = 100), by design.
      const double shrink = std::pow(1.0 - dt * dt / 2, n);
      // What remains is first order in dt: the scheme's ellipse leans by about dt/4 and the
      // line of swing lags by about Ws dt/4 per unit time (measured 2.4e-3 at the pole at
      // t = 100, 2.5e-4 at the equator). Twice that much is allowed.
      const double swing_tolerance = 2 * std::abs(z0) * (dt / 4 + std::fabs(ws) * dt / 4 * n * dt);
      ASSERT_LE(std::abs(z - std::sqrt(shrink) * exact), swing_tolerance);
      // L is quadratic in the state: it may shrink at most as the energy does, give or take
      // the leaning ellipse's wobble (measured dt/2 of L, allowed dt), and the products'
      // rounding where L0 = 0 (at the equator; 7e-20 where a*b - c*d is fused).
      ASSERT_LE(std::fabs((std::conj(z) * v).imag() + ws * std::norm(z) - l0),
                (1.0 - shrink + dt) * std::fabs(l0) + 1e-15);
    }
  }
}

#if GTEST_HAS_DEATH_TEST && !defined(__SANITIZE_ADDRESS__) && !defined(FOUCAULT_EMULATED)
// In 256 MiB of address space the trace of 100 million positions (3 x 800 MB) cannot be had.
// (The address sanitizer needs more than that for itself; qemu-user ignores the limit.)
TEST(ModelDeathTest, TraceThatCannotBeAllocatedStopsTheProgramWithAMessage) {
  const rlimit limit{256u << 20, 256u << 20};
  trace.trace_len = 100 * 1000 * 1000;
  EXPECT_EXIT((setrlimit(RLIMIT_AS, &limit), allocate_trace()),
              testing::ExitedWithCode(EXIT_FAILURE),
              "^foucault: not enough memory for the trace of 100000000 positions\n$");
}
#endif

}  // namespace
