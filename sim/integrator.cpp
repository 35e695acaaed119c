// Midpoint integration of the pendulum in the rotating frame of its site.
#include "sim/integrator.h"

#include "sim/measure.h"
#include "sim/sim_state.h"

double accel_x(double x, double /*y*/, double /*vx*/, double vy) {
  return (-x) + (2.0 * sim.omega_sin_lat) * vy;
}

double accel_y(double /*x*/, double y, double vx, double /*vy*/) {
  return (-y) - (2.0 * sim.omega_sin_lat) * vx;
}

void advance_simulation() {
  for (int k = 1; k <= sim.substeps_per_idle; ++k) {
    sim.sim_time = sim.sim_time + sim.dt;
    // The Earth stands still while held fixed; the sky and the plane turn regardless.
    sim.earth_angle = (sim.omega * sim.dt) * static_cast<double>(1 - sim.earth_fixed) +
                      sim.earth_angle;
    sim.sky_angle = sim.sky_angle - sim.omega * sim.dt;
    sim.plane_angle = sim.omega * sim.dt + sim.plane_angle;

    // Half step with the velocity at the start, full step with the half-step state.
    sim.mid_vx = accel_x(sim.bob_x, sim.bob_y, sim.bob_vx, sim.bob_vy) * sim.dt * 0.5 + sim.bob_vx;
    sim.mid_vy = accel_y(sim.bob_x, sim.bob_y, sim.bob_vx, sim.bob_vy) * sim.dt * 0.5 + sim.bob_vy;
    sim.mid_x = 0.5 * sim.dt * sim.mid_vx + sim.bob_x;
    sim.mid_y = 0.5 * sim.dt * sim.mid_vy + sim.bob_y;
    sim.bob_vx = accel_x(sim.mid_x, sim.mid_y, sim.mid_vx, sim.mid_vy) * sim.dt + sim.bob_vx;
    sim.bob_vy = accel_y(sim.mid_x, sim.mid_y, sim.mid_vx, sim.mid_vy) * sim.dt + sim.bob_vy;
    sim.bob_x = sim.dt * sim.bob_vx + sim.bob_x;
    sim.bob_y = sim.dt * sim.bob_vy + sim.bob_y;
  }
  measure_advance();
}

void idle() {
  if (sim.running == 1) {
    advance_simulation();
  }
}
