// The model's record: what a reset leaves and prints, and how parameters change.
#include "sim/sim_state.h"

#include "sim/trace.h"
#include "tests/sim/console.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kBannerHead =
    "go! go! go! go! go!                  \n"
    " Simulateur de  pendule de Foucault  \n";
const char* const kBannerTail =
    " menu contextuel: click droit        \n"
    " Q pour quitter                      \n";

// Splits the console text into lines without their line feeds.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

void expect_banner_and_step(const std::string& out, bool with_raz) {
  const std::vector<std::string> lines = lines_of(out);
  ASSERT_EQ(lines.size(), with_raz ? 9u : 8u) << out;
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(lines[i].size(), 37u) << "banner line " << i + 1 << ": '" << lines[i] << "'";
  }
  for (int i = 2; i < 5; ++i) EXPECT_EQ(lines[i][0], ' ') << "banner line " << i + 1;
  EXPECT_EQ(out.rfind(kBannerHead, 0), 0u);
  const std::string tail = std::string(kBannerTail) + "dt=0.000500\n" + (with_raz ? "RAZ\n" : "");
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  EXPECT_EQ(out.back(), '\n');
}

TEST(Reset, FirstResetSetsDefaultsAndPrintsBannerWithoutRaz) {
  begin_capture();
  reset_simulation();
  const std::string out = end_capture();
  expect_banner_and_step(out, false);
  EXPECT_EQ(out.find("RAZ"), std::string::npos);

  EXPECT_EQ(sim.latitude, 0.8726646259971648);
  EXPECT_EQ(sim.omega, 0.1);
  EXPECT_EQ(sim.dt, 0.0005);
  EXPECT_EQ(sim.substeps_per_idle, 50);
  // Within a few ulps of the printed values.
  EXPECT_NEAR(sim.sin_lat, 0.766044443118978, 1e-15);
  EXPECT_NEAR(sim.cos_lat, 0.6427876096865394, 1e-15);
  EXPECT_NEAR(sim.omega_sin_lat, 0.0766044443118978, 1e-16);
  EXPECT_EQ(sim.bob_x, -2.0);
  EXPECT_EQ(sim.bob_y, 0.0);
  EXPECT_EQ(sim.bob_z, 0.0);
  EXPECT_EQ(sim.bob_vx, 0.0);
  EXPECT_EQ(sim.bob_vy, 0.0);
  EXPECT_EQ(sim.first_reset, 0);
  EXPECT_EQ(sim.running, 1);
  EXPECT_EQ(sim.earth_fixed, 0);
  EXPECT_EQ(trace.trace_len, 100);
  EXPECT_EQ(trace.trace_start, 100);
  ASSERT_NE(trace.trace_x, nullptr);
  for (int i = 0; i <= 100; ++i) {
    EXPECT_EQ(trace.trace_x[i] + trace.trace_y[i] + trace.trace_z[i], 0.0);
  }
}

TEST(Reset, SecondResetPrintsRazReusesArraysAndKeepsTimeAnglesAndFlags) {
  begin_capture();
  reset_simulation();
  end_capture();
  double* const x = trace.trace_x;
  double* const y = trace.trace_y;
  double* const z = trace.trace_z;

  sim.sim_time = 12.5;
  sim.earth_angle = 1.25;
  sim.sky_angle = -1.5;
  sim.plane_angle = 2.75;
  sim.running = 0;
  sim.earth_fixed = 1;
  sim.latitude = -1.0;
  sim.omega = 3.0;
  sim.bob_vx = 0.7;
  trace.trace_start = 40;

  begin_capture();
  reset_simulation();
  expect_banner_and_step(end_capture(), true);

  EXPECT_EQ(trace.trace_x, x);
  EXPECT_EQ(trace.trace_y, y);
  EXPECT_EQ(trace.trace_z, z);
  EXPECT_EQ(trace.trace_start, 100);
  EXPECT_EQ(sim.sim_time, 12.5);
  EXPECT_EQ(sim.earth_angle, 1.25);
  EXPECT_EQ(sim.sky_angle, -1.5);
  EXPECT_EQ(sim.plane_angle, 2.75);
  EXPECT_EQ(sim.running, 0);
  EXPECT_EQ(sim.earth_fixed, 1);
  EXPECT_EQ(sim.latitude, default_latitude);
  EXPECT_EQ(sim.omega, default_omega);
  EXPECT_EQ(sim.bob_vx, 0.0);
}

TEST(Restart, PutsTheBobAtRestAndEmptiesTheTraceOnly) {
  reset_simulation();
  sim.sim_time = 3.0;
  sim.plane_angle = 0.5;
  sim.bob_vx = 1.0;
  sim.bob_vy = -1.0;
  trace.trace_start = 7;
  trace.trace_x[50] = 4.0;
  trace.frame_count = 123;

  restart_pendulum(0.0, 2.0);

  EXPECT_EQ(sim.bob_x, 0.0);
  EXPECT_EQ(sim.bob_y, 2.0);
  EXPECT_EQ(sim.bob_vx, 0.0);
  EXPECT_EQ(sim.bob_vy, 0.0);
  EXPECT_EQ(sim.sim_time, 3.0);
  EXPECT_EQ(sim.plane_angle, 0.5);
  EXPECT_EQ(trace.trace_start, 100);
  EXPECT_EQ(trace.trace_x[50], 0.0);
  EXPECT_EQ(trace.frame_count, 123);
}

TEST(Latitude, DerivedTermsFollowTheLatitudeWhateverItIs) {
  reset_simulation();
  struct Case {
    double latitude;
    double sin_lat;
    double cos_lat;
  };
  const Case cases[] = {
      {0.0, 0.0, 1.0},
      {1.5707963267948966, 1.0, 6.123233995736766e-17},
      {-1.5707963267948966, -1.0, 6.123233995736766e-17},
      // 50 degrees stepped up three times by pi/10: 104 degrees, past the pole.
      {((0.8726646259971648 + 0.3141592653589793) + 0.3141592653589793) + 0.3141592653589793,
       0.9702957262759965, -0.24192189559966756},
  };
  for (const Case& c : cases) {
    sim.latitude = c.latitude;
    apply_latitude();
    EXPECT_NEAR(sim.sin_lat, c.sin_lat, 1e-15) << c.latitude;
    EXPECT_NEAR(sim.cos_lat, c.cos_lat, 1e-15) << c.latitude;
    EXPECT_EQ(sim.omega_sin_lat, std::sin(c.latitude) * 0.1) << c.latitude;
  }
  sim.latitude = 0.0;
  apply_latitude();
  EXPECT_EQ(sim.omega_sin_lat, 0.0);
  EXPECT_EQ(sim.cos_lat, 1.0);
  sim.latitude = -1.5707963267948966;
  apply_latitude();
  EXPECT_EQ(sim.omega_sin_lat, -sim.omega);
}

TEST(Omega, DoublingThenHalvingRestoresRateAndCoefficientBitForBit) {
  reset_simulation();
  const double omega = sim.omega;
  const double coefficient = sim.omega_sin_lat;
  scale_omega(2.0);
  EXPECT_EQ(sim.omega, 0.2);
  EXPECT_EQ(sim.omega_sin_lat, coefficient * 2.0);
  scale_omega(0.5);
  EXPECT_EQ(std::memcmp(&sim.omega, &omega, sizeof omega), 0);
  EXPECT_EQ(std::memcmp(&sim.omega_sin_lat, &coefficient, sizeof coefficient), 0);
}

}  // namespace
