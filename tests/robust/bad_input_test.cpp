// Input a classroom can give the program, taken far past sense on a real window: the
// rate halved below the smallest double, a frame counter that has run for weeks, and the
// trace allocated again.
#include "app/input.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"
#include "tests/robust/robust_support.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

using BadInput = GlTest;

TEST_F(BadInput, RateHalvedBelowTheNormalDoublesAndDoubledBackKeepsTheCoriolisTermTrue) {
  struct Case {
    int halvings;
    bool omega_restored;  // false once halving has lost omega's bits
  };
  // 0.1 halved 1,018 times is still normal; 1,070 times leaves two or three bits; 1,080
  // times rounds to zero, and doubling zero gives zero.
  const Case cases[] = {{1018, true}, {1060, false}, {1070, false}, {1074, false}, {1080, false}};
  for (const Case& c : cases) {
    quietly(reset_simulation);
    for (int i = 0; i < c.halvings; ++i) {
      keyboard('M', 0, 0);
      ASSERT_EQ(broken_invariant(), "") << c.halvings << " halvings, M press " << i + 1;
    }
    quietly([&] {
      for (int i = 0; i < c.halvings; ++i) keyboard('P', 0, 0);
    });
    EXPECT_EQ(broken_invariant(), "") << c.halvings << " halvings and as many doublings";
    EXPECT_EQ(sim.omega == default_omega, c.omega_restored) << c.halvings << ": " << sim.omega;
    idle_and_frame();
    EXPECT_TRUE(model_has_no_nan()) << c.halvings;
  }
  // Below the smallest double the Earth stands still until the model is reset.
  EXPECT_EQ(sim.omega, 0.0);
  EXPECT_EQ(sim.omega_sin_lat, 0.0);
}

TEST(BadInputTrace, SamplesKeepComingEveryTwelveFramesPastTwoBillionFrames) {
  quietly(reset_simulation);
  // At 2,000 frames a second a 32-bit count runs out after twelve days.
  trace.frame_count = INT32_MAX - 100;
  std::vector<int> sample_frames;
  for (int frame = 1; frame <= 240; ++frame) {
    const int32_t start = trace.trace_start;
    sample_trace(1.0f, 2.0f, 3.0f, 4.0f, 5.0f, false);
    if (trace.trace_start != start) sample_frames.push_back(frame);
  }
  ASSERT_EQ(sample_frames.size(), 20u);
  for (size_t k = 1; k < sample_frames.size(); ++k) {
    EXPECT_EQ(sample_frames[k] - sample_frames[k - 1], 12) << "sample " << k;
  }
  EXPECT_GE(trace.frame_count, 0);
}

TEST(BadInputTrace, AllocatingTheTraceAgainReleasesTheArraysItReplaces) {
  quietly(reset_simulation);
  const size_t before = heap_in_use();
  for (int i = 0; i < 1000; ++i) allocate_trace();
  // Each allocation is three arrays of 101 doubles, 2,424 bytes: kept, they would make
  // 2.4 MB.
  EXPECT_LT(heap_in_use(), before + 16 * 1024);
  for (int32_t i = 0; i <= trace.trace_len; ++i) {
    EXPECT_EQ(trace.trace_x[i] + trace.trace_y[i] + trace.trace_z[i], 0.0);
  }
}

}  // namespace
