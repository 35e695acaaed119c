// The plane of swing measured from the bob's motion alone, once per half swing, against the
// turn that Omega sin(latitude) predicts.
#pragma once

#include <cstdint>

// One measurement, taken where the bob is farthest from the centre.
struct MeasureSample {
  double time;  // simulated time (sim_time) of the farthest point
  // Turns of the Earth since the release, omega t accumulated / 2 pi (plane_angle's): the rate
  // as P and M set it, and counted on while the picture holds the Earth still (R).
  double earth_turns;
  double bob_x;                // the bob there, towards north
  double bob_y;                // and towards west
  double plane_angle_deg;      // turn of the plane since the release, clockwise seen from above
  double predicted_angle_deg;  // 360 sin(latitude) earth_turns
};

constexpr int32_t sample_listeners_max = 4;

// At the farthest point of each half swing the bob lies on the plane's line; at the nearest,
// its velocity does. Both are read, so that the line is followed in steps of less than a
// quarter turn (the plane turns by Ws pi / 2 sqrt(1 + Ws^2) between them, Ws = omega
// sin(latitude)) and unwrapped past 180 degrees; only the farthest points are samples.
struct Measure {
  // The bob at the end of the latest idle call (or at the release), with plane_angle then.
  double time = 0.0, x = 0.0, y = 0.0, vx = 0.0, vy = 0.0, plane_angle = 0.0;
  double radial = 0.0;             // x vx + y vy there: half the rate of the squared distance
  double start_direction = 0.0;    // the plane's line at the release (rad, from north to west)
  double direction = 0.0;          // its latest line, unwrapped (rad)
  double start_plane_angle = 0.0;  // sim.plane_angle at the release
  int32_t releases = 0;            // how many times the measurement has restarted
  int32_t samples = 0;             // samples since the latest release
  MeasureSample last = {};         // the latest of them
  void (*listeners[sample_listeners_max])(const MeasureSample&) = {};
};

extern Measure measure;

// Starts the measurement afresh from the bob's present state: released at rest, or swinging on
// under a new latitude (the line of its ellipse in the frame that turns with the plane).
void restart_measure();

// Calls listener with every later sample; false when sample_listeners_max are already set.
bool listen_to_samples(void (*listener)(const MeasureSample&));

// After each advance_simulation: finds an extreme of the distance that the bob has passed in
// it, reads the plane's line there and, at a farthest point, gives the sample to the listeners.
void measure_advance();
