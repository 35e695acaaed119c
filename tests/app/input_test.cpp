// The key table, Page Up and Page Down, the mouse and drags on a real window: what each
// handler changes in the three shared records, what it prints, and what it leaves alone.
#include "app/input.h"

#include "render/frame.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/app/records.h"
#include "tests/gl/gl_fixture.h"
#include "tests/sim/console.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using InputTest = GlTest;

// The latitude's sines and the trace emptied, as the latitude keys leave them.
void relatituded(Records& r, double latitude) {
  r.s.latitude = latitude;
  r.s.sin_lat = std::sin(latitude);
  r.s.cos_lat = std::cos(latitude);
  r.s.omega_sin_lat = std::sin(latitude) * r.s.omega;
  cleared(r);
}

// Sets the bob swinging, turns the angles and the camera and fills the trace, so that a
// stray reset, restart or clear shows.
void stir() {
  sim.sim_time = 12.25;
  sim.earth_angle = 0.5;
  sim.plane_angle = 0.125;
  sim.bob_x = 1.25;
  sim.bob_y = -0.5;
  sim.bob_vx = 0.75;
  sim.bob_vy = 0.375;
  view.view_rot_x = 30.0f;
  view.view_rot_y = 40.0f;
  view.saved_rot_x = 10.0f;
  view.eye_z = 35.0f;
  trace.trace_start = 40;
  for (int i = 0; i <= trace.trace_len; ++i) {
    trace.trace_x[i] = trace.trace_y[i] = trace.trace_z[i] = i + 1;
  }
}

std::string press(unsigned char key) {
  begin_capture();
  keyboard(key, 0, 0);
  return end_capture();
}

TEST_F(InputTest, LatitudeKeysStepEighteenDegreesPastThePoleAndKeepTheBobSwinging) {
  // Seven presses of + from 50 degrees, then two of -, which prints only its key.
  int previous = 50;
  for (int degrees : {68, 86, 104, 122, 140, 158, 176, 158, 140}) {
    const bool up = degrees > previous;
    previous = degrees;
    stir();
    Records want;
    take(want);
    EXPECT_EQ(press(up ? '+' : '-'),
              up ? "+\nlatitude " + std::to_string(degrees) + ".000000 \n" : "-\n");
    relatituded(want, want.s.latitude + (up ? 0.3141592653589793 : -0.3141592653589793));
    expect_records(want, std::to_string(degrees));
  }
}

TEST_F(InputTest, FlagKeysSetOnlyTheirFlagAndFullScreenChangesNoRecord) {
  const struct {
    unsigned char key;
    int32_t SimState::*flag;
    int32_t before, after;
  } cases[] = {
      {'g', &SimState::running, 0, 1},     {'g', &SimState::running, 1, 1},
      {'p', &SimState::running, 1, 0},     {'p', &SimState::running, 0, 0},
      {'R', &SimState::earth_fixed, 0, 1}, {'R', &SimState::earth_fixed, 1, 0},
      {'R', &SimState::earth_fixed, 2, 1},
  };
  stir();
  for (const auto& c : cases) {
    sim.*c.flag = c.before;
    Records want;
    take(want);
    const std::string what(1, static_cast<char>(c.key));
    EXPECT_EQ(press(c.key), "") << what;
    want.s.*c.flag = c.after;
    expect_records(want, what + " from " + std::to_string(c.before));
  }
  Records want;
  take(want);
  EXPECT_EQ(press('F'), "");
  expect_records(want, "F");
}

TEST_F(InputTest, RateKeysUndoEachOtherExactlyAndOnlyPSpeaks) {
  stir();
  Records want;
  take(want);
  for (const char* printed : {"Omega=0.200000\n", "Omega=0.400000\n", "Omega=0.800000\n"}) {
    EXPECT_EQ(press('P'), printed);
  }
  EXPECT_EQ(sim.omega_sin_lat, want.s.omega_sin_lat * 8);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(press('M'), "");
  expect_records(want, "P P P M M M");
  EXPECT_EQ(press('M'), "");
  EXPECT_EQ(sim.omega, 0.05);
  EXPECT_EQ(sim.omega_sin_lat, want.s.omega_sin_lat / 2);
}

TEST_F(InputTest, TZoomsWithBothAnglesZeroAndRFreesTheCameraKeepingThem) {
  stir();
  Records want;
  take(want);
  EXPECT_EQ(press('t'), "");
  want.v.view_free = 0;
  want.v.view_zoom = 1;
  want.v.view_rot_x = want.v.view_rot_y = 0.0f;
  expect_records(want, "t");
  EXPECT_EQ(press('r'), "");
  want.v.view_free = 1;
  want.v.view_zoom = 0;
  expect_records(want, "t then r");
  // A drag in the zoom mode writes both angles too: after r the view turns to it.
  keyboard('t', 0, 0);
  motion(70, 90);
  EXPECT_EQ(press('r'), "");
  EXPECT_EQ(view.view_rot_y, 70.0f);
  EXPECT_EQ(view.view_rot_x, 90.0f);
}

TEST_F(InputTest, ZResetsTheModelAndPausesButKeepsCameraAndTime) {
  stir();
  sim.latitude = -1.0;
  sim.omega = 0.4;
  sim.dt = 0.01;
  sim.earth_fixed = 1;
  keyboard('t', 0, 0);
  Records want;
  take(want);
  EXPECT_EQ(press('z'), kResetConsole);
  want.s.omega = default_omega;
  want.s.dt = default_dt;
  relatituded(want, default_latitude);
  want.s.bob_x = -2.0;
  want.s.bob_y = want.s.bob_vx = want.s.bob_vy = 0.0;
  want.s.running = 0;
  expect_records(want, "z");
}

TEST_F(InputTest, LTogglesLightingAndItsFlagTogetherAndLeavesTheLamps) {
  ASSERT_TRUE(glIsEnabled(GL_LIGHTING));
  ASSERT_EQ(view.lighting_on, 1);
  for (int on : {0, 1, 0}) {
    Records want;
    take(want);
    EXPECT_EQ(press('l'), "");
    want.v.lighting_on = on;
    expect_records(want, "l");
    EXPECT_EQ(glIsEnabled(GL_LIGHTING), on == 1 ? GL_TRUE : GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  }
}

TEST_F(InputTest, KeysOutsideTheTablesDoNothing) {
  stir();
  Records want;
  take(want);
  const std::string handled = "+-PMgpzRlrtFQ";
  for (int key = 0; key < 256; ++key) {
    if (handled.find(static_cast<char>(key)) != std::string::npos) continue;
    EXPECT_EQ(press(static_cast<unsigned char>(key)), "") << "key " << key;
    expect_records(want, "key " + std::to_string(key));
  }
  for (int key : {GLUT_KEY_LEFT, GLUT_KEY_UP, GLUT_KEY_RIGHT, GLUT_KEY_DOWN, GLUT_KEY_F1,
                  GLUT_KEY_F12, GLUT_KEY_HOME, GLUT_KEY_END, GLUT_KEY_INSERT}) {
    begin_capture();
    special_key(key, 10, 10);
    EXPECT_EQ(end_capture(), "") << "special key " << key;
    expect_records(want, "special key " + std::to_string(key));
  }
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(InputTest, QPrintsTimeContactAndFarewellThenExitsWithZero) {
  // The child runs this test afresh and finds the parent's file through the environment.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (std::getenv("FOUCAULT_QUIT_LOG") == nullptr) {
    char name[] = "/tmp/foucault-quit-XXXXXX";
    close(mkstemp(name));
    setenv("FOUCAULT_QUIT_LOG", name, 1);
  }
  const std::string path = std::getenv("FOUCAULT_QUIT_LOG");
  sim.sim_time = 3.25;
  quietly([] { keyboard('z', 0, 0); });  // simulated time runs on across z
  EXPECT_EXIT(
      {
        std::freopen(path.c_str(), "w", stdout);
        keyboard('Q', 0, 0);
      },
      testing::ExitedWithCode(0), "");
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  std::remove(path.c_str());
  // The contact line, whatever its address, ends with a blank.
  const std::string out = text.str(), tail = " \noxa vous dit au revoir !\n";
  EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3) << out;
  EXPECT_EQ(out.rfind("t=3.250000\n", 0), 0u) << out;
  ASSERT_GT(out.size(), 11 + tail.size()) << out;
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
}

TEST_F(InputTest, PageKeysMoveTheFreeCameraByFiveButTheZoomFrameOverrulesThem) {
  stir();
  view.eye_z = default_eye_z;
  Records want;
  take(want);
  for (float z : {20.0f, 15.0f, 10.0f, 5.0f, 0.0f, -5.0f}) {
    special_key(GLUT_KEY_PAGE_UP, 0, 0);
    want.v.eye_z = z;
    expect_records(want, "Page Up to " + std::to_string(z));
  }
  for (int i = 0; i < 3; ++i) special_key(GLUT_KEY_PAGE_DOWN, 0, 0);
  EXPECT_EQ(view.eye_z, 10.0f);

  keyboard('t', 0, 0);
  for (int key : {GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN}) {
    for (int y : {0, 300, 1000}) {
      motion(0, y);
      special_key(key, 0, 0);
      display();
      EXPECT_EQ(view.eye_z, static_cast<float>(25.0 - y * 10.0 / 768.0)) << key << " at " << y;
    }
  }
}

TEST_F(InputTest, DragSetsBothAnglesToThePointerInEitherMode) {
  const int points[][2] = {{0, 0}, {360, 768}, {-5, 1000000}, {1023, -1}, {17, 42}};
  for (int zoom : {0, 1}) {
    for (const auto& p : points) {
      stir();
      view.view_free = 1 - zoom;
      view.view_zoom = zoom;
      Records want;
      take(want);
      motion(p[0], p[1]);
      want.v.view_rot_y = static_cast<float>(p[0]);
      want.v.view_rot_x = static_cast<float>(p[1]);
      expect_records(want, std::to_string(p[0]) + "," + std::to_string(p[1]));
    }
  }
}

TEST_F(InputTest, OnlyTheMouseButtonsAskForARedrawAndTheyChangeNothing) {
  stir();
  Records want;
  take(want);
  for (int button : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
    for (int state : {GLUT_DOWN, GLUT_UP}) {
      begin_capture();
      EXPECT_TRUE(posts_redisplay([&] { mouse(button, state, 512, 384); }));
      EXPECT_EQ(end_capture(), "");
      expect_records(want, "button " + std::to_string(button));
    }
  }
  EXPECT_FALSE(posts_redisplay([] { motion(100, 200); }));
  for (int key : {GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN}) {
    EXPECT_FALSE(posts_redisplay([&] { special_key(key, 0, 0); })) << key;
  }
  for (unsigned char key : std::string("+-PMgpzRlrt")) {
    bool posted = true;
    quietly([&] { posted = posts_redisplay([&] { keyboard(key, 0, 0); }); });
    EXPECT_FALSE(posted) << key;
  }
}

}  // namespace
