// The plane measured from the bob's motion, against the exact solution of the linearised
// equations: released from rest, the line of swing turns at -Ws = -omega sin(latitude), so by
// Ws (t - t0) in the northern sense, 360 sin(latitude) degrees a turn of the Earth.
#include "sim/measure.h"

#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <cmath>
#include <gtest/gtest.h>

static double released_at = 0.0;

TEST(Measure, PlaneFollowsTheExactTurnOverOneEarthTurn) {
  sim = SimState(), measure = Measure();
  reset_simulation();
  listen_to_samples([](const MeasureSample& s) {
    const double exact = sim.omega_sin_lat * (s.time - released_at) * 180.0 / pi;
    // A lesson's bounds: half a percent of a turn, or half a degree on the equator.
    EXPECT_NEAR(s.plane_angle_deg, exact, sim.sin_lat == 0.0 ? 0.5 : 1.8) << sim.omega;
    // The model's sums of dt (sim_time) and of omega dt (plane_angle) round apart, by
    // 1.1e-7 degrees at the most over these six million sub-steps.
    EXPECT_NEAR(s.predicted_angle_deg, exact, 1e-6);
  });
  for (const double degrees : {90.0, -90.0, 48.846, 20.0, -45.0, 0.0})
    for (const double rate : {0.25, 0.5, 1.0, 2.0, 4.0, 8.0}) {
      sim.omega = default_omega * rate, sim.latitude = radians(degrees), apply_latitude();
      // At 2x the bob swings on from the case before, and only the new latitude restarts the
      // measurement: its ellipse's own axis is then the start.
      if (rate != 2.0) restart_pendulum(release_from_southwest.x, release_from_southwest.y);
      released_at = sim.sim_time;
      while (sim.plane_angle - measure.start_plane_angle < 2.0 * pi) idle();
    }
}
