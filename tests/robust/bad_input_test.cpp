// Input a classroom can give the program, taken far past sense on a real window: the
// latitude stepped thousands of times, the rate doubled until it overflows and halved
// below the smallest double, windows of zero size, a frame counter that has run for
// weeks, and the trace allocated again.
#include "app/input.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"
#include "tests/robust/robust_support.h"
#include "tests/sim/console.h"

#include <GL/freeglut.h>
#include <cfloat>
#include <climits>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using BadInput = GlTest;

constexpr int kSmallWidth = 160, kSmallHeight = 120;

// Every vertex of one frame is a number: the frame was drawn, not lost to NaN.
bool frame_is_finite() {
  trace.frame_count = 1;
  size_t vertices = 0, finite = 0;
  for (const FbPrimitive& p : feedback(display)) {
    for (const FbVertex& v : p.vertices) {
      ++vertices;
      finite += std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) ? 1 : 0;
    }
  }
  return vertices > 100 && finite == vertices;
}

size_t count_lines_starting(const std::string& text, const std::string& start) {
  size_t n = 0;
  for (size_t at = 0; at < text.size();) {
    if (text.compare(at, start.size(), start) == 0) ++n;
    const size_t end = text.find('\n', at);
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return n;
}

TEST_F(BadInput, LatitudeSteppedThousandsOfTimesEachWayStaysConsistentAndComesBack) {
  resize_window(kSmallWidth, kSmallHeight);
  quietly(reset_simulation);
  constexpr int kSteps = 5000;  // 250 turns round the globe
  begin_capture();
  for (int key : {'+', '-'}) {
    for (int i = 1; i <= kSteps; ++i) {
      keyboard(static_cast<unsigned char>(key), 0, 0);
      ASSERT_EQ(broken_invariant(), "") << static_cast<char>(key) << " press " << i;
      if (i % 10 == 0) idle_and_frame();
      ASSERT_TRUE(model_has_no_nan()) << static_cast<char>(key) << " press " << i;
    }
  }
  const std::string console = end_capture();
  EXPECT_EQ(count_lines_starting(console, "latitude "), size_t{kSteps});
  EXPECT_EQ(count_lines_starting(console, "-\n"), size_t{kSteps});
  // 10,000 roundings of additions near 1,600 rad leave far less than a microradian.
  EXPECT_NEAR(sim.latitude, default_latitude, 1e-9);
  resize_window(kWindowWidth, kWindowHeight);
  EXPECT_TRUE(frame_is_finite());
}

TEST_F(BadInput, RateDoubledUntilItOverflowsCrashesNothingAndAResetBringsThePictureBack) {
  resize_window(kSmallWidth, kSmallHeight);
  quietly(reset_simulation);
  int presses = 0;
  std::string broken;
  begin_capture();  // gtest reports to standard output: failures are collected for later
  while (std::isfinite(sim.omega) && presses < 2000) {
    keyboard('P', 0, 0);
    ++presses;
    if (broken.empty() && !broken_invariant().empty()) {
      broken = "P press " + std::to_string(presses) + ": " + broken_invariant();
    }
    // From a dozen doublings on the integrator's steps are too long for the Coriolis term
    // and the swing runs away to infinity and NaN: the model's own arithmetic, harmless.
    idle_and_frame();
  }
  // The rate stays overflowed through more presses, idle calls and frames.
  for (int i = 0; i < 50; ++i) {
    keyboard(i % 2 == 0 ? 'P' : 'M', 0, 0);
    idle_and_frame();
  }
  const std::string console = end_capture();
  EXPECT_EQ(broken, "");
  // 0.1 is 1.6 x 2^-4: doubled 1,027 times it is 1.6 x 2^1023, still below the largest
  // double; the next doubling overflows.
  EXPECT_EQ(presses, 1028);
  EXPECT_NE(console.find("Omega=inf\n"), std::string::npos);
  EXPECT_TRUE(std::isinf(sim.omega));
  EXPECT_FALSE(std::isfinite(sim.earth_angle));

  quietly([] { keyboard('z', 0, 0); });
  EXPECT_EQ(sim.omega, default_omega);
  EXPECT_EQ(sim.earth_angle, 0.0) << "an overflowed angle starts again from 0";
  EXPECT_EQ(sim.sky_angle, 0.0);
  EXPECT_EQ(sim.plane_angle, 0.0);
  keyboard('g', 0, 0);
  for (int i = 0; i < 100; ++i) idle_and_frame();
  EXPECT_TRUE(model_has_no_nan());
  EXPECT_GT(sim.earth_angle, 0.0);
  resize_window(kWindowWidth, kWindowHeight);
  EXPECT_TRUE(frame_is_finite());
}

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

TEST_F(BadInput, WindowsOfZeroSizeKeepTheProjectionFiniteAndDrawNothingWrong) {
  struct Size {
    int width, height;
  };
  const Size sizes[] = {{0, 0}, {0, 768}, {1024, 0}, {1, 1}, {5000, 1}, {1, 5000}};
  for (const Size& s : sizes) {
    reshape(s.width, s.height);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    for (double m : projection) EXPECT_TRUE(std::isfinite(m)) << s.width << " x " << s.height;
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], s.width);
    EXPECT_EQ(viewport[3], std::max(s.height, 1)) << "a height of 0 is taken as 1";
    idle_and_frame();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << s.width << " x " << s.height;
  }
  // The smallest window X allows, then the usual one: the picture is whole again.
  resize_window(1, 1);
  idle_and_frame();
  resize_window(kWindowWidth, kWindowHeight);
  EXPECT_TRUE(frame_is_finite());
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
