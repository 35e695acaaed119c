// The pendulum model's one record: parameters, derived terms, the bob's state, the
// accumulated angles that turn the picture, and the run flags.
#pragma once

#include <cstdint>

// Model frame at the pendulum's site: x towards north, y towards west, z up. Time is
// measured so that the pendulum's natural angular frequency is 1 (a swing lasts 2*pi).
struct SimState {
  double sim_time = 0.0;     // simulated time, advanced by dt per sub-step
  double earth_angle = 0.0;  // turn of the Earth about its axis (rad); grows at omega
  double sky_angle = 0.0;    // turn of the sky and sun relative to the Earth (rad); falls at omega
  double plane_angle = 0.0;  // omega * t accumulated (rad); times sin_lat it is the plane's turn
  double omega = 0.0;        // Earth's rotation rate (rad per time unit), usually 0.1
  double latitude = 0.0;     // latitude of the site (rad), no bounds
  double sin_lat = 0.0;
  double cos_lat = 0.0;
  double omega_sin_lat = 0.0;  // Coriolis coefficient omega * sin(latitude)
  double dt = 0.0;             // integrator step, 0.0005 after the first reset
  int32_t substeps_per_idle = 50;
  double bob_x = 0.0;  // displacement towards north
  double bob_y = 0.0;  // displacement towards west
  double bob_z = 0.0;  // always 0: the bob stays in the horizontal plane
  double bob_vx = 0.0;
  double bob_vy = 0.0;
  double mid_x = 0.0;  // half-step state of the latest sub-step
  double mid_y = 0.0;
  double mid_vx = 0.0;
  double mid_vy = 0.0;
  int32_t running = 1;      // 1: the idle handler advances the model
  int32_t earth_fixed = 0;  // 1: the Earth stands still and only the sky turns
  int32_t first_reset = 1;  // 1 until the first reset has allocated the trace
  double release_x = -2.0;  // where the bob was last released from (restart_pendulum)
  double release_y = 0.0;
};

extern SimState sim;

constexpr double pi = 3.141592653589793;

// Degrees to radians as degrees * pi / 180: the presets written in degrees get the bits the
// model has always had (50 degrees is 0.8726646259971648, 90 is pi/2 exactly).
constexpr double radians(double degrees) {
  return degrees * pi / 180.0;
}

// Release points in the model frame (north, west): the bob at rest about 2 from the centre.
struct ReleasePoint {
  double x;
  double y;
};
constexpr ReleasePoint release_from_south = {-2.0, 0.0};  // every reset's
constexpr ReleasePoint release_from_west = {0.0, 2.0};
constexpr ReleasePoint release_from_southwest = {-1.4, 1.4};

// Default parameters restored by every reset.
constexpr double default_latitude = radians(50.0);
constexpr double default_omega = 0.1;
constexpr double default_dt = 0.0005;

// Prints the banner and the time step, restores the default parameters, allocates the
// trace on the first call (prints "RAZ" on later ones) and releases the bob from the south.
// Leaves time, the three angles, running and earth_fixed alone; only an angle that is no
// longer finite is set back to 0.
void reset_simulation();

// Puts the bob at rest at (x0, y0) in the model frame, empties the trace and restarts the
// measurement of the plane (sim/measure.h).
void restart_pendulum(double x0, double y0);

// Recomputes sin_lat, cos_lat and omega_sin_lat from latitude and omega, and restarts the
// measurement of the plane.
void apply_latitude();

// Multiplies omega and the Coriolis coefficient by f (usually 2 or 0.5). Where that
// product would round (omega halved below the normal range), the coefficient is taken
// afresh as omega * sin(latitude), so it never drifts from it while omega is finite.
void scale_omega(double f);
