// The pendulum model's record and the operations that reset it or change its parameters.
#include "sim/sim_state.h"

#include "sim/measure.h"
#include "sim/texts.h"
#include "sim/trace.h"

#include <cmath>
#include <cstdio>

SimState sim;

const char* (*sim_text)(const char* msgid) = [](const char* msgid) { return msgid; };

namespace {

// Every banner line is 37 characters followed by a line feed.
const char* const banner_lines[] = {
    N_("go! go! go! go! go!                  \n"),
    N_(" Simulateur de  pendule de Foucault  \n"),
    N_(" foucault, e'quipe du projet 2026    \n"),
    N_(" courriel: pendule@example.org       \n"),
    N_(" web: http://www.example.org/pendule \n"),
    N_(" menu contextuel: click droit        \n"),
    N_(" Q pour quitter                      \n"),
};

}  // namespace

void reset_simulation() {
  for (const char* line : banner_lines) {
    std::printf("%s", sim_text(line));
  }
  sim.latitude = default_latitude;
  sim.omega = default_omega;
  sim.dt = default_dt;
  std::printf("dt=%lf\n", sim.dt);
  trace.trace_len = trace_entries;
  if (sim.first_reset == 1) {
    allocate_trace();
    sim.first_reset = 0;
  } else {
    std::printf("%s", sim_text(N_("RAZ\n")));
  }
  sim.cos_lat = std::cos(sim.latitude);
  sim.sin_lat = std::sin(sim.latitude);
  sim.omega_sin_lat = std::sin(sim.latitude) * sim.omega;
  // The angles accumulate across resets, but one that has overflowed (the rate doubled
  // past the largest double) would keep every later frame blank: it starts again from 0.
  double* const angles[] = {&sim.earth_angle, &sim.sky_angle, &sim.plane_angle};
  for (double* angle : angles) {
    if (!std::isfinite(*angle)) {
      *angle = 0.0;
    }
  }
  restart_pendulum(release_from_south.x, release_from_south.y);
}

void restart_pendulum(double x0, double y0) {
  sim.release_x = x0;
  sim.release_y = y0;
  sim.bob_x = x0;
  sim.bob_y = y0;
  sim.bob_z = 0.0;
  sim.bob_vx = 0.0;
  sim.bob_vy = 0.0;
  clear_trace();
  restart_measure();
}

void apply_latitude() {
  sim.omega_sin_lat = std::sin(sim.latitude) * sim.omega;
  sim.cos_lat = std::cos(sim.latitude);
  sim.sin_lat = std::sin(sim.latitude);
  restart_measure();
}

void scale_omega(double f) {
  const double scaled = sim.omega_sin_lat * f;
  sim.omega = sim.omega * f;
  // Doubling and halving are exact between the smallest normal double and overflow, and
  // the scaled coefficient is then omega * sin(latitude) bit for bit. Below that range
  // omega and the coefficient round separately, and doubling them back up would magnify
  // the gap into a wrong turning rate: there the coefficient is recomputed instead.
  const bool exact = std::isnormal(scaled) && std::isnormal(sim.omega_sin_lat);
  sim.omega_sin_lat =
      exact || !std::isfinite(sim.omega) ? scaled : std::sin(sim.latitude) * sim.omega;
}
