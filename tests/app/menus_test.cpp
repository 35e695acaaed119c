// The right-button menus on a real window: every entry's effect on the three shared
// records and the console, the help command, and values that no entry carries.
#include "app/menus.h"

#include "render/frame.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/app/records.h"
#include "tests/gl/gl_fixture.h"
#include "tests/sim/console.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The bob released at rest from (x, y), its trace emptied.
void restarted(Records& r, double x, double y) {
  r.s.bob_x = x;
  r.s.bob_y = y;
  r.s.bob_vx = r.s.bob_vy = 0.0;
  cleared(r);
}

// Moves everything a menu might touch away from its start value: a swinging bob at an
// odd latitude and rate, paused on a fixed Earth, a zoomed and turned camera, corotation,
// help shown, lighting off and a full trace.
void stir() {
  sim.sim_time = 12.25;
  sim.earth_angle = 0.5;
  sim.plane_angle = 0.125;
  sim.latitude = -1.0;
  sim.omega = 0.4;
  apply_latitude();
  sim.dt = 0.01;
  sim.bob_x = 1.25;
  sim.bob_y = -0.5;
  sim.bob_vx = 0.75;
  sim.bob_vy = 0.375;
  sim.running = 0;
  sim.earth_fixed = 1;
  view.view_free = 0;
  view.view_zoom = 1;
  view.view_rot_x = 30.0f;
  view.view_rot_y = 40.0f;
  view.saved_rot_x = 10.0f;
  view.eye_x = 1.0f;
  view.eye_y = 2.0f;
  view.eye_z = 35.0f;
  view.look_dx = 0.5f;
  view.look_dz = 0.25f;
  view.corotate = view.show_help = 1;
  view.lighting_on = 0;
  glDisable(GL_LIGHTING);
  trace.trace_start = 40;
  for (int i = 0; i <= trace.trace_len; ++i) {
    trace.trace_x[i] = trace.trace_y[i] = trace.trace_z[i] = i + 1;
  }
}

// Chooses an entry; returns what it printed and notes whether it asked for a redisplay.
std::string choose(void (*callback)(int), int value, bool* redisplay = nullptr) {
  begin_capture();
  const bool posted = posts_redisplay([&] { callback(value); });
  if (redisplay != nullptr) *redisplay = posted;
  return end_capture();
}

std::vector<std::string> commands;

// Stands in for the shell: records the command and writes straight to the console's
// descriptor, as a real command would.
int record_command(const char* command) {
  commands.push_back(command);
  return write(STDOUT_FILENO, "(shell)\n", 8) == 8 ? 0 : 1;
}

class MenusTest : public GlTest {
 protected:
  void SetUp() override {
    GlTest::SetUp();
    run_command = record_command;
  }
  void TearDown() override { run_command = saved_; }
  int (*saved_)(const char*) = run_command;
};

TEST_F(MenusTest, FullResetRestoresModelTimeAndCameraButNotFlagsOrAngles) {
  stir();
  Records want;
  take(want);
  bool redisplay = false;
  EXPECT_EQ(choose(menu_main, 3, &redisplay), kResetConsole);
  EXPECT_TRUE(redisplay);
  want.s.sim_time = 0.0;
  want.s.latitude = default_latitude;
  want.s.omega = default_omega;
  want.s.dt = default_dt;
  want.s.sin_lat = std::sin(default_latitude);
  want.s.cos_lat = std::cos(default_latitude);
  want.s.omega_sin_lat = std::sin(default_latitude) * default_omega;
  restarted(want, -2.0, 0.0);
  want.v.view_free = 1;
  want.v.view_zoom = 0;
  want.v.eye_x = want.v.eye_y = 0.0f;
  want.v.eye_z = 25.0f;
  want.v.look_dz = 1.0f;
  want.v.look_dx = 0.0f;
  want.v.view_rot_x = want.v.view_rot_y = 0.0f;
  expect_records(want, "menu_main 3");
  EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(MenusTest, ReleasesRestartTheBobAndKeepItsRunFlag) {
  const struct {
    int value;
    double x, y;
  } releases[] = {{7, -2.0, 0.0}, {8, 0.0, 2.0}, {11, -1.4, 1.4}};
  for (int running : {0, 1}) {
    for (const auto& r : releases) {
      stir();
      sim.running = running;
      Records want;
      take(want);
      EXPECT_EQ(choose(menu_main, r.value), "") << r.value;
      restarted(want, r.x, r.y);
      expect_records(want, "menu_main " + std::to_string(r.value));
    }
  }
}

TEST_F(MenusTest, HelpTogglesTheLinesAndRunsTheCommandAfterPrintingThePath) {
  const struct { int before, after; } toggles[] = {{0, 1}, {1, 0}, {7, 0}};
  for (const auto& t : toggles) {
    commands.clear();
    view.show_help = t.before;
    Records want;
    take(want);
    // The path is on the console before anything the command writes.
    EXPECT_EQ(choose(menu_main, 12), "help.sh\n(shell)\n");
    EXPECT_EQ(commands, std::vector<std::string>{"open ./help.html  with Safari"});
    want.v.show_help = t.after;
    expect_records(want, "help from " + std::to_string(t.before));
  }
}

TEST_F(MenusTest, ViewpointsSetBothAnglesInEitherCameraMode) {
  const struct {
    int value;
    float rot_y, rot_x;
  } viewpoints[] = {{1, 0.0f, 0.0f}, {2, -90.0f, 0.0f}, {3, 675.0f, 336.0f}};
  for (int zoom : {0, 1}) {
    for (const auto& p : viewpoints) {
      stir();
      view.view_free = 1 - zoom;
      view.view_zoom = zoom;
      Records want;
      take(want);
      bool redisplay = false;
      EXPECT_EQ(choose(menu_view, p.value, &redisplay), "");
      EXPECT_TRUE(redisplay) << p.value;
      want.v.view_rot_y = p.rot_y;
      want.v.view_rot_x = p.rot_x;
      expect_records(want, "menu_view " + std::to_string(p.value));
    }
  }
}

TEST_F(MenusTest, LatitudesMoveThePendulumAndRestartItFromTheSouth) {
  const double latitudes[] = {1.5707963267948966, 0.7853981633974483, 0.0, -0.7853981633974483,
                              -1.5707963267948966};
  double coefficient[5];
  for (int value = 1; value <= 5; ++value) {
    stir();
    Records want;
    take(want);
    EXPECT_EQ(choose(menu_latitude, value), "") << value;
    const double lat = latitudes[value - 1];
    want.s.latitude = lat;
    want.s.sin_lat = std::sin(lat);
    want.s.cos_lat = std::cos(lat);
    want.s.omega_sin_lat = std::sin(lat) * want.s.omega;
    restarted(want, -2.0, 0.0);
    expect_records(want, "menu_latitude " + std::to_string(value));
    coefficient[value - 1] = sim.omega_sin_lat;
  }
  // The plane stands still on the equator and turns the other way in the south.
  EXPECT_EQ(coefficient[0], 0.4);
  EXPECT_EQ(coefficient[2], 0.0);
  EXPECT_EQ(coefficient[4], -coefficient[0]);
  EXPECT_EQ(coefficient[3], -coefficient[1]);
}

TEST_F(MenusTest, RotationEntriesSetTheFrameToggleCorotationAndScaleTheRate) {
  const struct {
    int value;
    int32_t before, after;
  } flags[] = {{1, 0, 1}, {1, 1, 1}, {2, 1, 0}, {2, 0, 0}, {3, 0, 1}, {3, 1, 0}, {3, 5, 1}};
  for (const auto& f : flags) {
    stir();
    int32_t& flag = f.value == 3 ? view.corotate : sim.earth_fixed;
    flag = f.before;
    Records want;
    take(want);
    bool redisplay = true;
    EXPECT_EQ(choose(menu_rotation, f.value, &redisplay), "");
    EXPECT_FALSE(redisplay);
    if (f.value == 3) {
      want.v.corotate = f.after;
      cleared(want);
    } else {
      want.s.earth_fixed = f.after;
    }
    expect_records(
        want, "menu_rotation " + std::to_string(f.value) + " from " + std::to_string(f.before));
  }
  for (const auto& rate : {std::make_pair(4, 2.0), std::make_pair(5, 0.5)}) {
    stir();
    Records want;
    take(want);
    EXPECT_EQ(choose(menu_rotation, rate.first), "");
    want.s.omega *= rate.second;
    want.s.omega_sin_lat *= rate.second;
    expect_records(want, "menu_rotation " + std::to_string(rate.first));
  }
}

TEST_F(MenusTest, ValuesThatNoEntryCarriesDoNothing) {
  const struct {
    const char* name;
    void (*callback)(int);
    std::vector<int> values;
  } menus[] = {
      {"menu_main", menu_main, {-5, 0, 1, 2, 4, 5, 6, 9, 10, 13, 20}},
      {"menu_view", menu_view, {-5, 0, 4, 5, 7, 8, 11, 12}},
      {"menu_latitude", menu_latitude, {-5, 0, 6, 7, 8, 11, 12}},
      {"menu_rotation", menu_rotation, {-5, 0, 6, 7, 8, 11, 12}},
  };
  stir();
  Records want;
  take(want);
  commands.clear();
  for (const auto& m : menus) {
    for (int value : m.values) {
      EXPECT_EQ(choose(m.callback, value), "") << m.name << " " << value;
      expect_records(want, m.name + (" " + std::to_string(value)));
    }
  }
  EXPECT_TRUE(commands.empty());
}

TEST_F(MenusTest, CreateMenusBuildsTheTreeAndDisturbsNothing) {
  stir();
  Records want;
  take(want);
  begin_capture();
  create_menus();
  EXPECT_EQ(end_capture(), "");
  expect_records(want, "create_menus");
  // The main menu is current, made last, with its six items; the four submenus come
  // first: observer, releases, latitudes, rotation.
  const int main_menu = glutGetMenu();
  ASSERT_NE(main_menu, 0);
  EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 6);
  const int items[] = {3, 3, 5, 5};
  for (int i = 0; i < 4; ++i) {
    glutSetMenu(main_menu - 4 + i);
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), items[i]) << "menu " << i + 1;
  }
}

}  // namespace
