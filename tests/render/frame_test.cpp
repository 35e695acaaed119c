// One frame as display() composes it: the camera, the sun lamp in the Earth frame, the
// zoom camera, and what a person sees in the pixels.
#include "render/frame.h"

#include "render/graphics.h"
#include "sim/sim_state.h"
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using FrameTest = GlTest;

// Single-precision matrices and positions: values near 30 hold about 1e-5.
constexpr double kFloatTol = 1e-4;

std::array<double, 16> modelview() {
  std::array<double, 16> m{};
  glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
  return m;
}

void expect_matrix_near(const std::array<double, 16>& got, const std::array<double, 16>& want) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], kFloatTol) << "element " << i;
}

TEST_F(FrameTest, DefaultCameraLooksDownOnThePoleFromTwentyFive) {
  display();
  // The eye at (0, 0, 25) looking down -z with +y up is a plain translation by -25.
  expect_matrix_near(modelview(), {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -25, 1});
  EXPECT_EQ(view.saved_rot_x, 0.0f);
  EXPECT_EQ(view.eye_z, 25.0f);
}

TEST_F(FrameTest, SunStaysPutOnScreenWhileTheEarthTurnsAndCirclesWhenItIsFixed) {
  // Light positions come back in eye coordinates. With earth + sky constant the sun's
  // eye position is (30, 0, 30) less the camera's 25 in z, whatever the Earth's turn.
  for (double earth : {0.0, 0.3, 1.7, 4.0, -2.5}) {
    sim.earth_angle = earth;
    sim.sky_angle = -earth;
    display();
    GLfloat sun[4];
    glGetLightfv(GL_LIGHT1, GL_POSITION, sun);
    EXPECT_NEAR(sun[0], 30.0, kFloatTol) << earth;
    EXPECT_NEAR(sun[1], 0.0, kFloatTol) << earth;
    EXPECT_NEAR(sun[2], 5.0, kFloatTol) << earth;
    EXPECT_EQ(sun[3], 1.0f);
  }
  // Earth held at 0.5 while the sky turns to -1.5: the sun stands at azimuth -1.
  sim.earth_angle = 0.5;
  sim.sky_angle = -1.5;
  display();
  GLfloat sun[4];
  glGetLightfv(GL_LIGHT1, GL_POSITION, sun);
  EXPECT_NEAR(sun[0], 30.0 * std::cos(-1.0), kFloatTol);
  EXPECT_NEAR(sun[1], 30.0 * std::sin(-1.0), kFloatTol);
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
}

TEST_F(FrameTest, ZoomCameraTakesItsDistanceFromThePointerAndKeepsTheFrozenTurn) {
  view.view_rot_x = 30.0f;
  view.view_rot_y = 40.0f;
  display();  // free mode: freezes (30, 40)
  view.view_free = 0;
  view.view_zoom = 1;
  struct Case {
    float pointer_y;
    float eye_z;
  };
  for (const Case c : {Case{0.0f, 25.0f}, Case{384.0f, 20.0f}, Case{768.0f, 15.0f},
                       Case{-768.0f, 35.0f}, Case{1536.0f, 5.0f}}) {
    view.view_rot_x = c.pointer_y;
    view.view_rot_y = 123.0f;  // ignored in zoom mode
    view.eye_z = 99.0f;        // overwritten at every zoom frame
    display();
    EXPECT_FLOAT_EQ(view.eye_z, c.eye_z) << c.pointer_y;
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -c.eye_z);
    glRotatef(30.0f, 1, 0, 0);
    glRotatef(40.0f, 0, 1, 0);
    const std::array<double, 16> want = modelview();
    glPopMatrix();
    expect_matrix_near(modelview(), want);
  }
  EXPECT_EQ(view.saved_rot_x, 30.0f);
  EXPECT_EQ(view.saved_rot_y, 40.0f);
}

struct Places {
  std::array<double, 3> bob, earth, text, sky;
};

// Window positions of the bob, a point of the Earth near the pole between meridians, the
// start of the instruction line, and a point on the sky's equator.
Places places() {
  Places p{};
  const double sx = 11.0 * sim.cos_lat, sz = 11.0 * sim.sin_lat;
  p.bob = project(sx - sim.bob_x * sim.sin_lat, -sim.bob_y, sz + sim.bob_x * sim.cos_lat);
  p.earth = project(0.9, 0.1, 9.95);
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -25.0f);
  p.text = project(-18.0, 14.0, 0.0);
  glPopMatrix();
  // The sky's wire cage crosses the left of the screen, outside the Earth.
  p.sky = {60.0, kWindowHeight / 2.0, 0.0};
  return p;
}

TEST_F(FrameTest, LitPictureShowsARedBobTheEarthsColourAndRedText) {
  display();
  const Places at = places();
  const std::array<double, 3> bob =
      probe_screen(static_cast<int>(at.bob[0]), static_cast<int>(at.bob[1]), 1);
  EXPECT_GT(bob[0], 120) << "bob";
  EXPECT_LT(bob[1], 40) << "bob";
  EXPECT_LT(bob[2], 40) << "bob";
  // Near the pole the Earth faces the sun at about 56 degrees: emission, ambient and
  // diffuse give about (0, 153, 255).
  const std::array<double, 3> earth =
      probe_screen(static_cast<int>(at.earth[0]), static_cast<int>(at.earth[1]), 0);
  EXPECT_LT(earth[0], 20) << "earth";
  EXPECT_NEAR(earth[1], 153, 25) << "earth";
  EXPECT_GT(earth[2], 230) << "earth";
  const std::array<double, 3> text =
      brightest_on_screen(static_cast<int>(at.text[0]) + 20, static_cast<int>(at.text[1]) + 4, 5);
  EXPECT_GT(text[0], 120) << "text";
  EXPECT_LT(text[1], 40) << "text";
  const std::array<double, 3> sky =
      brightest_on_screen(static_cast<int>(at.sky[0]), static_cast<int>(at.sky[1]), 40);
  EXPECT_LT(sky[0], 40) << "sky";
  EXPECT_GT(sky[2], 200) << "sky";
}

TEST_F(FrameTest, UnlitPictureIsWhite) {
  glDisable(GL_LIGHTING);
  display();
  const Places at = places();
  const auto white = [](const std::array<double, 3>& c, const char* what) {
    for (double v : c) EXPECT_GT(v, 240) << what;
  };
  white(probe_screen(static_cast<int>(at.bob[0]), static_cast<int>(at.bob[1]), 1), "bob");
  white(probe_screen(static_cast<int>(at.earth[0]), static_cast<int>(at.earth[1]), 0), "earth");
  white(brightest_on_screen(static_cast<int>(at.text[0]) + 20, static_cast<int>(at.text[1]) + 4, 5),
        "text");
  white(brightest_on_screen(static_cast<int>(at.sky[0]), static_cast<int>(at.sky[1]), 40), "sky");
}

}  // namespace
