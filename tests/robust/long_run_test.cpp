// Long runs on a real window: a classroom session of idle calls and frames, in which the
// angles keep growing, nothing turns to NaN and memory stays put, and the picture after
// days of accumulated angles, which must be the picture of the same angles a turn less.
#include "app/input.h"
#include "app/menus.h"
#include "render/frame.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"
#include "tests/robust/robust_support.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr int kSmallWidth = 160, kSmallHeight = 120;
constexpr int kIdleCalls = 100000;
constexpr int kIdleCallsPerFrame = 8;
constexpr int kIdleCallsPerRound = 10000;
// The driver's heap in use follows what is on screen (the help lines alone take 700 KB
// while they show) and moves in 64 KB blocks, so memory is compared at the end of each
// round, when the class has put everything back as it was. Anything allocated per frame
// or per idle call would still pass this slack within a few rounds: 1,250 frames a round
// of even 8 bytes make 10 KB a round, 90 KB over the run.
constexpr size_t kHeapSlack = 64 * 1024;
// Resident memory also counts the driver's threads and pages touched late.
constexpr size_t kResidentSlack = 8 * 1024 * 1024;

int ignore_command(const char* /*command*/) { return 0; }

class LongRun : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    resize_window(kSmallWidth, kSmallHeight);
    run_command = ignore_command;
  }
  void TearDown() override { run_command = std::system; }
};

// What a class does halfway through a round: help, the co-rotating frame and lighting
// switched, the pendulum moved and released, the view turned. None of it stops the angles.
void mid_round(int round) {
  menu_main(12);
  menu_rotation(3);
  keyboard('l', 0, 0);
  menu_latitude(1 + round % 5);
  menu_view(1 + round % 3);
  motion(round * 37 % 640, round * 53 % 480);
}

// And at its end: the switches back as they were, another release.
void end_round(int round) {
  menu_main(12);
  menu_rotation(3);
  keyboard('l', 0, 0);
  static const int releases[] = {7, 8, 11};
  menu_main(releases[round % 3]);
}

TEST_F(LongRun, AHundredThousandIdleCallsWithFramesGrowTheAnglesWithoutNaNOrMemory) {
  quietly([] {
    // One round's switches beforehand, so that the driver has met every state.
    for (int i = 1; i <= 2000; ++i) {
      idle_and_frame();
      if (i == 1000) mid_round(0);
    }
    end_round(0);
    display();
  });
  std::vector<size_t> heap{heap_in_use()};
  std::vector<size_t> resident{resident_bytes()};
  int frames = 0;
  quietly([&] {
    for (int i = 1; i <= kIdleCalls; ++i) {
      const double earth = sim.earth_angle, sky = sim.sky_angle, plane = sim.plane_angle;
      const double time = sim.sim_time;
      idle();
      if (i % kIdleCallsPerFrame == 0) {
        display();
        ++frames;
      }
      ASSERT_GT(sim.earth_angle, earth) << "idle call " << i;
      ASSERT_LT(sim.sky_angle, sky) << "idle call " << i;
      ASSERT_GT(sim.plane_angle, plane) << "idle call " << i;
      ASSERT_GT(sim.sim_time, time) << "idle call " << i;
      ASSERT_TRUE(model_has_no_nan()) << "idle call " << i;
      ASSERT_LE(std::hypot(sim.bob_x, sim.bob_y), 2.0 + 1e-9) << "the swing only loses energy";
      const int round = i / kIdleCallsPerRound;
      if (i % kIdleCallsPerRound == kIdleCallsPerRound / 2) mid_round(round);
      if (i % kIdleCallsPerRound == 0) {
        end_round(round);
        display();
        heap.push_back(heap_in_use());
        resident.push_back(resident_bytes());
      }
    }
  });
  std::printf("%d idle calls, %d frames, sim_time %.3f, earth_angle %.6f rad\n", kIdleCalls,
              frames, sim.sim_time, sim.earth_angle);
  for (size_t k = 0; k < heap.size(); ++k) {
    std::printf("after round %zu: heap %zu bytes, resident %zu bytes\n", k, heap[k],
                resident[k]);
    EXPECT_LE(heap[k], heap[0] + kHeapSlack) << "round " << k;
    EXPECT_LE(resident[k], resident[0] + kResidentSlack) << "round " << k;
  }
  EXPECT_EQ(broken_invariant(), "");
}

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
