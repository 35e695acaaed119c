// The pendulum integrator: linearised swing with the horizontal Coriolis term,
//   x'' = -x + 2 Ws y',   y'' = -y - 2 Ws x',   Ws = omega * sin(latitude),
// advanced by a midpoint scheme in fixed sub-steps from the idle callback.
#pragma once

// Accelerations towards north and west for the state (x, y, vx, vy).
double accel_x(double x, double y, double vx, double vy);
double accel_y(double x, double y, double vx, double vy);

// Performs substeps_per_idle sub-steps of dt (50 x 0.0005 = 0.025 time units), moving
// the bob and the Earth, sky and plane angles, and measuring the plane (sim/measure.h).
void advance_simulation();

// The idle callback: one advance_simulation while running is 1, nothing otherwise.
void idle();
