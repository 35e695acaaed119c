// The plane of swing read from the bob's motion between idle calls, and its samples.
#include "sim/measure.h"

#include "sim/sim_state.h"

#include <cmath>
#include <complex>

Measure measure;

namespace {

using Complex = std::complex<double>;

// Keeps the bob's present state as the start of the next idle call's stretch.
void keep_state() {
  measure.time = sim.sim_time, measure.plane_angle = sim.plane_angle;
  measure.x = sim.bob_x, measure.y = sim.bob_y, measure.vx = sim.bob_vx, measure.vy = sim.bob_vy;
  measure.radial = sim.bob_x * sim.bob_vx + sim.bob_y * sim.bob_vy;
}

// The bob's place z and velocity v at u (0 to 1) of the latest idle call, on the cubic with
// the call's first and last places and velocities: within 1.2e-6 of the model's sub-steps
// (swinging 2 from the centre at eight times the default rate), though the model's velocity
// runs half a sub-step behind its place.
void interpolate(double u, Complex& z, Complex& v) {
  const Measure& m = measure;
  const double h = sim.sim_time - m.time;
  const Complex z0(m.x, m.y), v0(m.vx, m.vy), z1(sim.bob_x, sim.bob_y), v1(sim.bob_vx, sim.bob_vy);
  z = (2 * u * u * u - 3 * u * u + 1) * z0 + (u * u * u - 2 * u * u + u) * h * v0 +
      (3 * u * u - 2 * u * u * u) * z1 + (u * u * u - u * u) * h * v1;
  v = (6 * u * u - 6 * u) / h * (z0 - z1) + (3 * u * u - 4 * u + 1) * v0 + (3 * u * u - 2 * u) * v1;
}

}  // namespace

void restart_measure() {
  // In the frame turning at -Ws the bob runs round a fixed ellipse, w = A cos w't + B sin w't
  // with A = z and B = (z' + i Ws z) / w', w' = sqrt(1 + Ws^2); its major axis lies along
  // arg(A^2 + B^2) / 2. Released at rest, that is the release's own direction.
  const Complex z(sim.bob_x, sim.bob_y), v(sim.bob_vx, sim.bob_vy);
  const double ws = sim.omega_sin_lat;
  const Complex b = (v + Complex(0.0, ws) * z) / std::sqrt(1.0 + ws * ws);
  keep_state();
  measure.start_direction = measure.direction = 0.5 * std::arg(z * z + b * b);
  measure.start_plane_angle = sim.plane_angle;
  ++measure.releases;
  measure.samples = 0;
  measure.last = {};
}

bool listen_to_samples(void (*listener)(const MeasureSample&)) {
  for (auto& slot : measure.listeners) {
    if (slot == nullptr) {
      slot = listener;
      return true;
    }
  }
  return false;
}

void measure_advance() {
  Measure& m = measure;
  const double radial = sim.bob_x * sim.bob_vx + sim.bob_y * sim.bob_vy;
  // The distance's extremes are a quarter swing apart, fifty idle calls or more: one at most.
  if ((radial > 0.0) == (m.radial > 0.0)) {
    keep_state();
    return;
  }
  // Where the cubic's radial rate changes sign, by halving the stretch to a rounding's width.
  double lo = 0.0, hi = 1.0;
  Complex z, v;
  for (int i = 0; i < 52; ++i) {
    const double mid = (lo + hi) / 2;
    interpolate(mid, z, v);
    const bool before = (z.real() * v.real() + z.imag() * v.imag() > 0.0) == (m.radial > 0.0);
    (before ? lo : hi) = mid;
  }
  interpolate(lo, z, v);
  const bool farthest = m.radial > 0.0;
  // The line through the centre, taken modulo a half turn, on the branch nearest the last.
  m.direction += std::remainder(std::arg(farthest ? z : v) - m.direction, pi);
  if (farthest) {
    const double turns =
        (m.plane_angle + lo * (sim.plane_angle - m.plane_angle) - m.start_plane_angle) / (2 * pi);
    // Angles from north towards west grow anticlockwise seen from above: the plane's turn in
    // the northern sense is their fall.
    m.last = {m.time + lo * (sim.sim_time - m.time),
              turns,
              z.real(),
              z.imag(),
              (m.start_direction - m.direction) * 180.0 / pi,
              360.0 * sim.sin_lat * turns};
    ++m.samples;
    for (auto* listener : m.listeners) {
      if (listener != nullptr) listener(m.last);
    }
  }
  keep_state();
}
