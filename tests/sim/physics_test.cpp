// The model's physics against the exact solution of its linearised equations.
#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>

namespace {

using Complex = std::complex<double>;

// With z = x + i y and Ws = omega sin(latitude), z'' + 2i Ws z' + z = 0. Released from rest
// at z0: z(t) = z0 e^{-i Ws t} (cos wt + i (Ws/w) sin wt), w = sqrt(1 + Ws^2), so the line of
// swing turns at -Ws, clockwise seen from above in the north.
Complex exact(Complex z0, double ws, double t) {
  const double w = std::sqrt(1.0 + ws * ws);
  return z0 * std::polar(1.0, -ws * t) * Complex(std::cos(w * t), ws / w * std::sin(w * t));
}

// L = x vy - y vx + Ws (x^2 + y^2) is a constant of the exact motion.
double momentum() {
  return sim.bob_x * sim.bob_vy - sim.bob_y * sim.bob_vx +
         sim.omega_sin_lat * (sim.bob_x * sim.bob_x + sim.bob_y * sim.bob_y);
}

TEST(Physics, SwingFollowsTheExactSolutionForFourThousandIdleCalls) {
  reset_simulation();
  for (const double latitude : {default_latitude, pi / 2, -pi / 2, -0.3, 0.0}) {
    sim.latitude = latitude;
    apply_latitude();
    restart_pendulum(-1.4, 1.4);
    const Complex z0(sim.bob_x, sim.bob_y);
    const double ws = sim.omega_sin_lat, l0 = momentum(), dt = sim.dt;
    for (int n = 50; n <= 50 * 4000; n += 50) {
      idle();
      // Each sub-step's map has determinant 1 - dt^2/2 per axis: the energy shrinks by
      // (1 - dt^2/2)^n and the amplitude by its square root (1.2 % at t = 100), by design.
      const double shrink = std::pow(1.0 - dt * dt / 2, n);
      // What remains is first order in dt: the scheme's ellipse leans by about dt/4 and the
      // line of swing lags by about Ws dt/4 per unit time (measured 2.4e-3 at the pole at
      // t = 100, 2.5e-4 at the equator). Twice that much is allowed.
      const double swing_tolerance = 2 * std::abs(z0) * (dt / 4 + std::fabs(ws) * dt / 4 * n * dt);
      ASSERT_LE(std::abs(Complex(sim.bob_x, sim.bob_y) - std::sqrt(shrink) * exact(z0, ws, n * dt)),
                swing_tolerance)
          << "latitude " << latitude << ", t = " << n * dt;
      // L is quadratic in the state: it may shrink at most as the energy does, give or take
      // the leaning ellipse's wobble (measured dt/2 of L, allowed dt), and the products'
      // rounding where L0 = 0 (at the equator; 7e-20 where a*b - c*d is fused).
      ASSERT_LE(std::fabs(momentum() - l0), (1.0 - shrink + dt) * std::fabs(l0) + 1e-15)
          << "latitude " << latitude << ", t = " << n * dt;
    }
  }
}

}  // namespace
