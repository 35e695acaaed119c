// The pendulum scene read back in feedback mode: where the trace, the plate, the rod, the
// gallows, the axis and the bob land, in the Earth frame and turning with the plane.
#include "render/pendulum_scene.h"

#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using PendulumSceneTest = GlTest;

// Feedback reports window coordinates in single precision; 0.05 pixel separates a
// correct vertex from any misplaced one by orders of magnitude.
constexpr double kPixelTol = 0.05;

struct Vec {
  double x, y, z;
};
Vec operator+(Vec a, Vec b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec operator*(double k, Vec a) {
  return {k * a.x, k * a.y, k * a.z};
}

// The site's axes in the Earth frame, from the latitude alone.
struct Site {
  Vec origin, south, east, up;
};

Site site() {
  const double s = sim.sin_lat, c = sim.cos_lat;
  return {{static_cast<float>(11.0 * c), 0.0, static_cast<float>(11.0 * s)},
          {s, 0.0, -c},
          {0.0, 1.0, 0.0},
          {c, 0.0, s}};
}

// A point given in the site's (south, east, up) axes, turned by angle about up.
Vec on_site(const Site& st, double south, double east, double up, double angle = 0.0) {
  const double s = south * std::cos(angle) - east * std::sin(angle);
  const double e = south * std::sin(angle) + east * std::cos(angle);
  return st.origin + s * st.south + e * st.east + up * st.up;
}

// A camera that sees the whole scene obliquely, so no plate is seen edge-on.
void oblique_camera() {
  reshape(kWindowWidth, kWindowHeight);
  glLoadIdentity();
  gluLookAt(60.0, -90.0, 50.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0);
}

// The feedback stream cut into runs: a line strip (Mesa reports each of its segments as
// a line token, so a strip is a chain of segments that meet), or polygons grouped until
// the next line.
struct Segment {
  bool lines;
  std::vector<FbVertex> vertices;
};

bool same_point(const FbVertex& a, const FbVertex& b) {
  return std::fabs(a.x - b.x) < 1e-4 && std::fabs(a.y - b.y) < 1e-4 && std::fabs(a.z - b.z) < 1e-6;
}

std::vector<Segment> runs_of(const std::vector<FbPrimitive>& prims) {
  std::vector<Segment> runs;
  for (const FbPrimitive& p : prims) {
    const bool line = p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN;
    const bool continues = line && !runs.empty() && runs.back().lines && p.token == GL_LINE_TOKEN &&
                           same_point(runs.back().vertices.back(), p.vertices[0]);
    if (continues) {
      runs.back().vertices.push_back(p.vertices[1]);
    } else if (line) {
      runs.push_back({true, p.vertices});
    } else if (!runs.empty() && !runs.back().lines) {
      runs.back().vertices.insert(runs.back().vertices.end(), p.vertices.begin(), p.vertices.end());
    } else {
      runs.push_back({false, p.vertices});
    }
  }
  return runs;
}

void expect_at(const FbVertex& v, Vec p, const char* what) {
  const std::array<double, 3> w = project(p.x, p.y, p.z);
  EXPECT_NEAR(v.x, w[0], kPixelTol) << what;
  EXPECT_NEAR(v.y, w[1], kPixelTol) << what;
}

// True when some vertex of the run projects onto p.
bool has_vertex(const Segment& run, Vec p) {
  const std::array<double, 3> w = project(p.x, p.y, p.z);
  for (const FbVertex& v : run.vertices) {
    if (std::fabs(v.x - w[0]) < kPixelTol && std::fabs(v.y - w[1]) < kPixelTol) return true;
  }
  return false;
}

TEST_F(PendulumSceneTest, EveryPartLandsWhereTheSiteAndTheModelPutItAtAnyLatitude) {
  constexpr double kPi = 3.141592653589793;
  struct Case {
    double latitude;
    int corotate;
    double plane_angle;
  };
  const Case cases[] = {
      {0.8726646259971648, 0, 0.9},
      {0.8726646259971648, 1, 0.9},
      {0.0, 0, 0.9},
      {0.0, 1, 0.9},
      {kPi / 2, 1, 0.4},
      {-kPi / 2, 1, 0.4},
      {-kPi / 4, 0, 2.0},
      {-kPi / 4, 1, 2.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "latitude " << c.latitude << " corotate " << c.corotate);
    sim.latitude = c.latitude;
    apply_latitude();
    sim.plane_angle = c.plane_angle;
    view.corotate = c.corotate;
    const double bob_x = 1.2, bob_y = -0.7;
    clear_trace();
    trace.trace_start = 95;
    for (int i = 0; i <= trace.trace_len; ++i) {
      trace.trace_x[i] = 0.1 * i - 9.0;
      trace.trace_y[i] = 0.5 - 0.03 * i;
      trace.trace_z[i] = c.corotate ? 0.0 : 0.02 * i;
    }
    trace.frame_count = 0;  // this frame takes no sample
    oblique_camera();
    const std::vector<Segment> runs = runs_of(feedback([&] { draw_pendulum(bob_x, bob_y, 7.0); }));
    ASSERT_EQ(runs.size(), 6u) << "trace, plate, rod, arm and post, axis, bob";

    const Site st = site();
    const double phi = c.plane_angle * sim.sin_lat;
    // Trace: entries 95..98 only, never 0 nor the staging slot.
    ASSERT_EQ(runs[0].vertices.size(), 5u);
    for (int i = 95; i < 100; ++i) {
      const Vec at = c.corotate
                         ? on_site(st, -trace.trace_x[i], -trace.trace_y[i], trace.trace_z[i], -phi)
                         : st.origin + Vec{trace.trace_x[i], trace.trace_y[i], trace.trace_z[i]};
      expect_at(runs[0].vertices[static_cast<size_t>(i - 95)], at, "trace");
    }
    // Plate: half side 2, 0.1 below the bob's height, turned by -phi when co-rotating.
    const double turn = c.corotate ? -phi : 0.0;
    for (const auto& corner : {std::pair{-2.0, -2.0}, {2.0, -2.0}, {2.0, 2.0}, {-2.0, 2.0}}) {
      EXPECT_TRUE(has_vertex(runs[1], on_site(st, corner.first, corner.second, -0.1, turn)))
          << "plate corner " << corner.first << ", " << corner.second;
    }
    // Rod from the bob's centre (site plus the Earth-frame offset) to 1.3 times the site.
    const Vec bob = st.origin + Vec{-bob_x * sim.sin_lat, -bob_y, bob_x * sim.cos_lat};
    const Vec top = 1.3 * st.origin;
    ASSERT_EQ(runs[2].vertices.size(), 2u);
    expect_at(runs[2].vertices[0], bob, "rod at the bob");
    expect_at(runs[2].vertices[1], top, "rod at the suspension");
    for (Vec corner : {top + Vec{0.05, 0, 0}, top + Vec{-0.05, 0, 0}, top + Vec{-0.05, 4, 0},
                       top + Vec{0.05, 4, 0}, Vec{0, 0, 0}}) {
      EXPECT_TRUE(has_vertex(runs[3], corner)) << "gallows " << corner.x << " " << corner.y;
    }
    ASSERT_EQ(runs[4].vertices.size(), 2u);
    expect_at(runs[4].vertices[0], {0, 0, -40}, "axis south");
    expect_at(runs[4].vertices[1], {0, 0, 40}, "axis north");
    // The bob sphere's silhouette is centred on the bob (perspective moves it a little).
    double sx = 0, sy = 0;
    for (const FbVertex& v : runs[5].vertices) sx += v.x, sy += v.y;
    const std::array<double, 3> centre = project(bob.x, bob.y, bob.z);
    EXPECT_NEAR(sx / runs[5].vertices.size(), centre[0], 1.0);
    EXPECT_NEAR(sy / runs[5].vertices.size(), centre[1], 1.0);
  }
}

// Runs the model and the pendulum drawing together for some frames, with the idle
// calls that fall between frames.
void run_frames(int frames) {
  for (int f = 0; f < frames; ++f) {
    idle();
    feedback([] { draw_pendulum(sim.bob_x, sim.bob_y, sim.bob_z); });
  }
}

// Largest distance (scene units) of a shown sample from the line through the site along
// the current plane of swing, which has turned by -phi from north-south. Vertices are
// unprojected back into the scene.
double spread_from_current_plane(const Segment& trace_run) {
  const Site st = site();
  const double phi = sim.plane_angle * sim.sin_lat;
  // Across the plane: (sin phi, cos phi) in (north, west), with north = -south, west = -east.
  const Vec across = (-std::sin(phi)) * st.south + (-std::cos(phi)) * st.east;
  GLdouble model[16], proj[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, proj);
  glGetIntegerv(GL_VIEWPORT, viewport);
  double worst = 0.0;
  for (const FbVertex& v : trace_run.vertices) {
    GLdouble px, py, pz;
    gluUnProject(v.x, v.y, v.z, model, proj, viewport, &px, &py, &pz);
    const double d = (px - st.origin.x) * across.x + (py - st.origin.y) * across.y +
                     (pz - st.origin.z) * across.z;
    worst = std::fmax(worst, std::fabs(d));
  }
  return worst;
}

// From above the site, so the trace's plane faces the camera.
void camera_above_site() {
  const Site st = site();
  const Vec eye = st.origin + 12.0 * st.up;
  const Vec north = -1.0 * st.south;
  reshape(kWindowWidth, kWindowHeight);
  glLoadIdentity();
  gluLookAt(eye.x, eye.y, eye.z, st.origin.x, st.origin.y, st.origin.z, north.x, north.y, north.z);
}

TEST_F(PendulumSceneTest, CoRotatingSamplesLieAlongTheCurrentPlaneWhileEarthFrameOnesFanOut) {
  // The swing is a thin ellipse whose minor semi-axis is a Ws/w (0.153 for a = 2 at 50
  // degrees), so every sample of a truly co-rotating trace stays that close to the line;
  // depth read back in single precision adds about 0.01.
  const double bound = 2.0 * sim.omega_sin_lat + 0.01;
  view.corotate = 1;
  clear_trace();
  run_frames(12 * 99);
  camera_above_site();
  std::vector<Segment> runs =
      runs_of(feedback([] { draw_pendulum(sim.bob_x, sim.bob_y, sim.bob_z); }));
  ASSERT_EQ(runs[0].vertices.size(), 99u);
  EXPECT_LE(spread_from_current_plane(runs[0]), bound);
  // The plate has turned by -phi with the plane: its first corner (2 north, 2 west
  // before turning) follows it.
  const Site st = site();
  const double phi = sim.plane_angle * sim.sin_lat;
  EXPECT_TRUE(has_vertex(runs[1], on_site(st, -2.0, -2.0, -0.1, -phi)));

  view.corotate = 0;
  clear_trace();
  run_frames(12 * 99);
  camera_above_site();
  runs = runs_of(feedback([] { draw_pendulum(sim.bob_x, sim.bob_y, sim.bob_z); }));
  ASSERT_EQ(runs[0].vertices.size(), 99u);
  EXPECT_GT(spread_from_current_plane(runs[0]), 1.0) << "the Earth-frame trace fans out";
}

TEST_F(PendulumSceneTest, AtTheEquatorBothModesPlaceTheTraceAlikeInTheirOwnColours) {
  sim.latitude = 0.0;
  apply_latitude();
  sim.plane_angle = 1.3;  // phi = plane_angle * sin 0 = 0
  std::vector<FbVertex> strips[2];
  for (int mode = 0; mode < 2; ++mode) {
    view.corotate = mode;
    restart_pendulum(-2.0, 0.0);
    sim.bob_vy = 0.3;  // a swing with some width, so the trace is not one line
    trace.frame_count = 0;
    oblique_camera();
    for (int f = 0; f < 12 * 20; ++f) {
      idle();
      material_grid();  // what the Earth and sky leave in force in a full frame
      const std::vector<FbPrimitive> prims =
          feedback([] { draw_pendulum(sim.bob_x, sim.bob_y, 0.0); });
      if (f == 12 * 20 - 1) strips[mode] = runs_of(prims)[0].vertices;
    }
    sim.sim_time = 0.0;
  }
  ASSERT_EQ(strips[0].size(), 20u);
  ASSERT_EQ(strips[1].size(), 20u);
  for (size_t i = 0; i < 20; ++i) {
    EXPECT_NEAR(strips[0][i].x, strips[1][i].x, kPixelTol) << i;
    EXPECT_NEAR(strips[0][i].y, strips[1][i].y, kPixelTol) << i;
  }
  EXPECT_GT(strips[0][0].b, 0.9f) << "Earth frame: the grid's blue";
  EXPECT_LT(strips[0][0].r, 0.1f);
  EXPECT_GT(strips[1][0].r, 0.5f) << "co-rotating: red";
  EXPECT_LT(strips[1][0].b, 0.1f);
}

TEST_F(PendulumSceneTest, AFullFrameTraceShowsNinetyNineSamplesAndNoneAfterAClear) {
  for (int f = 0; f < 12 * 99; ++f) {
    idle();
    display();
  }
  std::vector<Segment> runs = runs_of(feedback([] { draw_pendulum(sim.bob_x, sim.bob_y, 0.0); }));
  EXPECT_EQ(runs[0].vertices.size(), 99u);
  EXPECT_EQ(trace.trace_start, 1);
  clear_trace();
  runs = runs_of(feedback([] { draw_pendulum(sim.bob_x, sim.bob_y, 0.0); }));
  EXPECT_FALSE(runs[0].lines) << "no trace line: the plate comes first";
}

}  // namespace
