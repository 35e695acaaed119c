// The picture after days of accumulated angles, which must be the picture of the same
// angles a turn less, on a real window.
#include "app/menus.h"
#include "render/frame.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"
#include "tests/robust/robust_support.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using LongRun = GlTest;

// Every vertex the frame produces, in window coordinates, in drawing order.
std::vector<FbVertex> frame_vertices() {
  trace.frame_count = 1;  // no trace sample in either frame
  std::vector<FbVertex> all;
  for (const FbPrimitive& p : feedback(display)) {
    all.insert(all.end(), p.vertices.begin(), p.vertices.end());
  }
  return all;
}

// Largest distance in pixels between two frames' corresponding vertices.
double largest_shift(const std::vector<FbVertex>& a, const std::vector<FbVertex>& b) {
  EXPECT_EQ(a.size(), b.size());
  double shift = 0.0;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
    shift = std::max(shift, std::hypot(double{a[i].x} - b[i].x, double{a[i].y} - b[i].y));
  }
  return shift;
}

TEST_F(LongRun, AfterDaysOfTurningTheFrameIsTheFrameOfTheSameAnglesATurnLess) {
  resize_window(kWindowWidth, kWindowHeight);
  // At the pole sin_lat is 1, so a whole turn of plane_angle is a whole turn of the plate.
  quietly([] { menu_latitude(1); });
  view.view_rot_x = 336.0f;  // three-quarters north: every turn shows on screen
  view.view_rot_y = 675.0f;
  sim.bob_x = 1.5;
  sim.bob_y = -0.75;
  const double earth = 1.25, sky = -2.5, plane = 0.75;
  // 60 frames a second with one idle call each turn the Earth 0.15 rad a second: 12,960
  // rad a day. 125,664 rad is ten days of that, 2e6 rad half a year.
  for (int corotate = 0; corotate <= 1; ++corotate) {
    for (double turns : {20000.0, 318310.0}) {
      view.corotate = corotate;
      sim.earth_angle = earth;
      sim.sky_angle = sky;
      sim.plane_angle = plane;
      const std::vector<FbVertex> fresh = frame_vertices();
      sim.earth_angle = earth + 2.0 * pi * turns;
      sim.sky_angle = sky - 2.0 * pi * turns;
      sim.plane_angle = plane + 2.0 * pi * turns;
      const std::vector<FbVertex> later = frame_vertices();
      ASSERT_GT(fresh.size(), 1000u);
      // Single-precision rounding of angles below 360 degrees moves a point by far less
      // than a hundredth of a pixel; at 7 million degrees a float is 0.5 degree coarse.
      EXPECT_LT(largest_shift(fresh, later), 0.05)
          << turns << " turns later, corotate " << corotate;
    }
  }
}

TEST_F(LongRun, HugeButFiniteAnglesStillDrawAFiniteEarth) {
  for (double angle : {1e30, 1e300, -1e305}) {
    sim.earth_angle = angle;
    sim.sky_angle = -angle;
    sim.plane_angle = angle;
    view.corotate = 1;
    size_t finite = 0, vertices = 0;
    for (const FbVertex& v : frame_vertices()) {
      ++vertices;
      finite += std::isfinite(v.x) && std::isfinite(v.y) ? 1 : 0;
    }
    EXPECT_GT(vertices, 1000u) << angle;
    EXPECT_EQ(finite, vertices) << angle;
  }
  sim.earth_angle = sim.sky_angle = sim.plane_angle = 0.0;
}

}  // namespace
