// The integrator: golden numbers of the scheme, its conservation properties, and its
// physics against the exact solution of the linearised equations.
#include "sim/integrator.h"

#include "sim/sim_state.h"
#include "sim/trace.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iomanip>

namespace {

constexpr double kPi = 3.141592653589793;

// Golden values are printed to ten significant digits; 1e-9 relative covers their
// rounding while any change of operand or order in the scheme shows far above it.
constexpr double kGoldenRel = 1e-9;

void quiet_reset() {
  std::FILE* saved = stdout;
  stdout = std::fopen("/dev/null", "w");
  reset_simulation();
  std::fclose(stdout);
  stdout = saved;
}

void expect_rel(double actual, double expected, const char* name) {
  EXPECT_LE(std::fabs(actual - expected), kGoldenRel * std::fabs(expected))
      << name << " = " << std::setprecision(17) << actual << ", expected " << expected;
}

TEST(Integrator, OneSubStepFromTheResetStateMatchesTheGoldenValues) {
  quiet_reset();
  sim.substeps_per_idle = 1;
  advance_simulation();
  EXPECT_EQ(sim.mid_vx, 0.0005);
  EXPECT_EQ(sim.mid_vy, 0.0);
  EXPECT_EQ(sim.mid_x, -1.999999875);
  EXPECT_EQ(sim.mid_y, 0.0);
  expect_rel(sim.bob_vx, 0.0009999999375, "bob_vx");
  expect_rel(sim.bob_vy, -3.830222216e-8, "bob_vy");
  expect_rel(sim.bob_x, -1.9999995000000, "bob_x");
  expect_rel(sim.bob_y, -1.915111108e-11, "bob_y");
  EXPECT_EQ(sim.sim_time, 0.0005);
  expect_rel(sim.earth_angle, 0.00005, "earth_angle");
  EXPECT_EQ(sim.plane_angle, sim.earth_angle);
  EXPECT_EQ(sim.sky_angle, -sim.earth_angle);
}

TEST(Integrator, OneIdleCallFromTheResetStateMatchesTheGoldenValues) {
  quiet_reset();
  idle();
  expect_rel(sim.bob_x, -1.999362536, "bob_x");
  expect_rel(sim.bob_y, -8.220059232e-7, "bob_y");
  expect_rel(sim.bob_vx, 0.04999451548, "bob_vx");
  expect_rel(sim.bob_vy, -9.574507536e-5, "bob_vy");
}

TEST(Integrator, AnIdleCallPerformsExactlyFiftySubSteps) {
  quiet_reset();
  double t = 0.0;
  for (int k = 0; k < 50; ++k) t += 0.0005;
  idle();
  EXPECT_EQ(sim.sim_time, t) << "not 49, not 51";
  EXPECT_EQ(std::memcmp(&sim.sim_time, &t, sizeof t), 0);
}

TEST(Integrator, NothingChangesWhilePaused) {
  quiet_reset();
  idle();
  sim.running = 0;
  SimState before = sim;
  for (int i = 0; i < 100; ++i) idle();
  EXPECT_EQ(std::memcmp(&before, &sim, sizeof sim), 0);
}

TEST(Integrator, SkyKeepsItsPlaceWhileTheEarthTurnsAndTheEarthHoldsWhileFixed) {
  quiet_reset();
  for (int i = 0; i < 3000; ++i) {
    idle();
    // Each sub-step adds and subtracts the same omega*dt; only rounding separates them.
    ASSERT_NEAR(sim.earth_angle + sim.sky_angle, 0.0, 1e-12) << "call " << i;
  }
  sim.earth_fixed = 1;
  const double earth = sim.earth_angle;
  const double sky = sim.sky_angle;
  const double plane = sim.plane_angle;
  idle();
  EXPECT_EQ(sim.earth_angle, earth);
  EXPECT_NEAR(sim.sky_angle, sky - 50 * 0.1 * 0.0005, 1e-13);
  EXPECT_NEAR(sim.plane_angle, plane + 50 * 0.1 * 0.0005, 1e-13);
  sim.earth_fixed = 0;
  const double sum = sim.earth_angle + sim.sky_angle;
  for (int i = 0; i < 1000; ++i) idle();
  EXPECT_NEAR(sim.earth_angle + sim.sky_angle, sum, 1e-12);
}

TEST(Integrator, AtTheEquatorTheSwingStaysOnTheMeridianAndLosesFivePercentIn200) {
  quiet_reset();
  sim.latitude = 0.0;
  apply_latitude();
  for (int i = 0; i < 8000; ++i) {
    idle();
    ASSERT_EQ(sim.bob_y, 0.0) << "call " << i;
    ASSERT_EQ(sim.bob_vy, 0.0) << "call " << i;
  }
  // 400,000 additions of dt, each rounded to half an ulp of about 200 (1.4e-14).
  EXPECT_NEAR(sim.sim_time, 200.0, 400000 * 1.4e-14);
  const double energy = 0.5 * (sim.bob_x * sim.bob_x + sim.bob_vx * sim.bob_vx);
  EXPECT_NEAR(energy, 1.903, 0.0005);
}

// The exact solution of z'' + 2i Ws z' + z = 0 (z = x + i y) released from rest turns its
// line of swing at -Ws: at every turning point the bob lies at angle alpha - Ws t.
// The test steps one sub-step at a time, so a turning point is found within dt/2 of the
// true one; there the swing's minor axis adds at most |Ws| dt/2 (2e-5) to the angle.
// The second-order scheme drifts in phase by O(dt^2 T) (about 2e-5 over 85 units).
// Twice their sum is the tolerance.
struct Swing {
  double max_error = 0.0;
  double turned = 0.0;  // how far the line of swing turned, unwrapped
  int turning_points = 0;
};

double wrap_half_turn(double a) {
  // Direction of a line: defined modulo pi, folded into (-pi/2, pi/2].
  while (a > kPi / 2) a -= kPi;
  while (a <= -kPi / 2) a += kPi;
  return a;
}

Swing follow_swing(double latitude, double until) {
  quiet_reset();
  sim.latitude = latitude;
  apply_latitude();
  restart_pendulum(-2.0, 0.0);
  sim.sim_time = 0.0;
  sim.substeps_per_idle = 1;
  const double ws = sim.omega_sin_lat;
  const double alpha = kPi;  // released from (-2, 0)
  Swing swing;
  double previous_radial = 0.0;
  while (sim.sim_time < until) {
    advance_simulation();
    const double radial = sim.bob_x * sim.bob_vx + sim.bob_y * sim.bob_vy;
    if (previous_radial > 0.0 && radial <= 0.0) {  // outward motion has just stopped
      const double measured = std::atan2(sim.bob_y, sim.bob_x);
      const double expected = alpha - ws * sim.sim_time;
      swing.max_error = std::fmax(swing.max_error, std::fabs(wrap_half_turn(measured - expected)));
      swing.turned = -ws * sim.sim_time;
      swing.turning_points++;
    }
    previous_radial = radial;
  }
  return swing;
}

TEST(Physics, PlaneOfSwingTurnsAtMinusOmegaSinLatitudeOverAFullTurn) {
  const double tolerance = 2.0 * (0.0766044443118978 * 0.0005 / 2 + 2e-5);
  const double turn = 2 * kPi / 0.0766044443118978;  // 82.02 time units
  const Swing north = follow_swing(0.8726646259971648, turn + 3.0);
  EXPECT_GE(north.turning_points, 26);
  EXPECT_LE(north.turned, -2 * kPi) << "at least one full turn, clockwise";
  EXPECT_LE(north.max_error, tolerance);
  std::printf("50 N: %d turning points, largest angle error %.3g rad (tolerance %.3g)\n",
              north.turning_points, north.max_error, tolerance);
}

TEST(Physics, AtTheSouthPoleThePlaneTurnsTheOtherWayAtTheSameRate) {
  const double tolerance = 2.0 * (0.1 * 0.0005 / 2 + 2e-5);
  const Swing north = follow_swing(kPi / 2, 70.0);
  const Swing south = follow_swing(-kPi / 2, 70.0);
  EXPECT_LE(north.max_error, tolerance);
  EXPECT_LE(south.max_error, tolerance);
  EXPECT_GT(south.turned, 2 * kPi * 0.99) << "counter-clockwise";
  EXPECT_NEAR(south.turned, -north.turned, 1e-12);
}

TEST(Physics, AngularMomentumWithTheCoriolisTermIsKeptUpToTheSchemesSlowLoss) {
  quiet_reset();
  const double ws = sim.omega_sin_lat;
  auto momentum = [ws] {
    return sim.bob_x * sim.bob_vy - sim.bob_y * sim.bob_vx +
           ws * (sim.bob_x * sim.bob_x + sim.bob_y * sim.bob_y);
  };
  const double start = momentum();
  // Each sub-step's map has determinant 1 - dt^2/2: over N sub-steps L may shrink by at
  // most the factor (1 - dt^2/2)^N, which the bound allows with 10% to spare.
  const int calls = 3400;
  const double loss = 1.0 - std::pow(1.0 - 0.0005 * 0.0005 / 2, 50.0 * calls);
  const double bound = 1.1 * loss * std::fabs(start);
  double worst = 0.0;
  for (int i = 0; i < calls; ++i) {
    idle();
    worst = std::fmax(worst, std::fabs(momentum() - start));
  }
  EXPECT_LE(worst, bound) << "L0 = " << start;
  std::printf("L drifted by at most %.3g of %.3g (bound %.3g)\n", worst, start, bound);
}

}  // namespace
