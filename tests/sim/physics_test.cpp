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
// swing turns at -Ws, clockwise seen from above in the north; and L = x vy - y vx +
// Ws (x^2 + y^2), Ws |z0|^2 for a release from rest, is a constant of the motion.
TEST(Physics, SwingFollowsTheExactSolutionForFourThousandIdleCalls) {
  reset_simulation();
  for (const double latitude : {default_latitude, pi / 2, -pi / 2, -0.3, 0.0}) {
    sim.latitude = latitude;
    apply_latitude();
    restart_pendulum(-1.4, 1.4);
    const Complex z0(sim.bob_x, sim.bob_y);
    const double ws = sim.omega_sin_lat, w = std::sqrt(1.0 + ws * ws), dt = sim.dt;
    const double l0 = ws * std::norm(z0);
    for (int n = 50; n <= 50 * 4000; n += 50) {
      idle();
      const Complex z(sim.bob_x, sim.bob_y), v(sim.bob_vx, sim.bob_vy);
      const Complex exact = z0 * std::polar(1.0, -ws * n * dt) *
                            Complex(std::cos(w * n * dt), ws / w * std::sin(w * n * dt));
      // Each sub-step's map has determinant 1 - dt^2/2 per axis: the energy shrinks by
      // (1 - dt^2/2)^n and the amplitude by its square root (1.2 % at t = 100), by design.
      const double shrink = std::pow(1.0 - dt * dt / 2, n);
      // What remains is first order in dt: the scheme's ellipse leans by about dt/4 and the
      // line of swing lags by about Ws dt/4 per unit time (measured 2.4e-3 at the pole at
      // t = 100, 2.5e-4 at the equator). Twice that much is allowed.
      const double swing_tolerance = 2 * std::abs(z0) * (dt / 4 + std::fabs(ws) * dt / 4 * n * dt);
      ASSERT_LE(std::abs(z - std::sqrt(shrink) * exact), swing_tolerance)
          << "latitude " << latitude << ", t = " << n * dt;
      // L is quadratic in the state: it may shrink at most as the energy does, give or take
      // the leaning ellipse's wobble (measured dt/2 of L, allowed dt), and the products'
      // rounding where L0 = 0 (at the equator; 7e-20 where a*b - c*d is fused).
      ASSERT_LE(std::fabs((std::conj(z) * v).imag() + ws * std::norm(z) - l0),
                (1.0 - shrink + dt) * std::fabs(l0) + 1e-15)
          << "latitude " << latitude << ", t = " << n * dt;
    }
  }
}

}  // namespace
