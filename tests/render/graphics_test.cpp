// Graphics set-up, reshape and the material presets, read back from real OpenGL state.
#include "render/graphics.h"

#include "tests/gl/gl_fixture.h"

#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using GraphicsTest = GlTest;

// OpenGL keeps its matrices in single precision: values read back hold about 7 digits.
constexpr double kMatrixRel = 1e-6;
// The far plane comes from b/(a+1) with a close to -1, which loses three more digits.
constexpr double kFarRel = 1e-3;

// The perspective matrix of gluPerspective: m[0] = f/aspect, m[5] = f with f = cot(fov/2),
// m[10] = (far+near)/(near-far), m[14] = 2 far near/(near-far).
struct Projection {
  double aspect, fov_degrees, near, far;
};

Projection read_projection() {
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  const double f = m[5];
  const double a = m[10], b = m[14];
  return {f / m[0], 2.0 * std::atan(1.0 / f) * 180.0 / 3.141592653589793, b / (a - 1.0),
          b / (a + 1.0)};
}

TEST_F(GraphicsTest, InitLeavesDepthLightingTexturingAndASixtyDegreePerspective) {
  // The fixture reshaped the window; set the graphics up again to see init's projection.
  init_graphics();
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
  EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
  EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
  EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
  EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLfloat clear[4];
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0] + clear[1] + clear[2] + clear[3], 0.0f);
  GLint depth_func = 0;
  glGetIntegerv(GL_DEPTH_FUNC, &depth_func);
  EXPECT_EQ(depth_func, GL_LESS);

  const Projection p = read_projection();
  EXPECT_NEAR(p.aspect, 1.3333333730697632, kMatrixRel * 1.34);
  EXPECT_NEAR(p.fov_degrees, 60.0, kMatrixRel * 60);
  EXPECT_NEAR(p.near, 0.1, kMatrixRel * 0.1);
  EXPECT_NEAR(p.far, 1000.0, kFarRel * 1000);

  GLfloat value[4];
  glGetLightfv(GL_LIGHT1, GL_DIFFUSE, value);
  EXPECT_EQ(value[0] + value[1] + value[2] + value[3], 4.0f);
  glGetLightfv(GL_LIGHT1, GL_SPECULAR, value);
  EXPECT_EQ(value[0] + value[1] + value[2], 0.0f) << "no highlights anywhere";
  glGetLightfv(GL_LIGHT0, GL_AMBIENT, value);
  EXPECT_EQ(value[0] + value[1] + value[2] + value[3], 4.0f);
}

TEST_F(GraphicsTest, ReshapeFollowsTheWindowAndStaysFiniteAtHeightZero) {
  reshape(1600, 900);
  Projection p = read_projection();
  EXPECT_NEAR(p.aspect, 1600.0 / 900.0, kMatrixRel * 1.78);
  EXPECT_NEAR(p.fov_degrees, 60.0, kMatrixRel * 60);
  GLint viewport[4];
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 1600);
  EXPECT_EQ(viewport[3], 900);

  reshape(800, 0);
  GLdouble m[16];
  glGetDoublev(GL_PROJECTION_MATRIX, m);
  for (double v : m) EXPECT_TRUE(std::isfinite(v));
  EXPECT_NEAR(read_projection().aspect, 800.0, kMatrixRel * 800) << "height 0 taken as 1";
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
}

TEST_F(GraphicsTest, EachPresetLeavesItsFiveValuesInForce) {
  struct Preset {
    const char* name;
    void (*apply)();
    GLfloat ambient[4], diffuse[4], specular[4], emission[4], shininess;
  };
  const Preset presets[] = {
      {"red",
       material_red,
       {0.5f, 0, 0, 1},
       {0.5f, 0, 0, 1},
       {0.7f, 0.7f, 0.7f, 0.6f},
       {0, 0, 0, 0},
       28},
      {"slate",
       material_slate,
       {0.105882f, 0.058824f, 0.113725f, 1},
       {0.427451f, 0.470588f, 0.541176f, 1},
       {0.333333f, 0.333333f, 0.521569f, 1},
       {0, 0, 0, 0},
       10},
      {"earth",
       material_earth,
       {0, 0.06f, 0.36f, 1},
       {0, 0.95f, 0.8f, 1},
       {0, 0.3f, 0.5f, 1},
       {0, 0, 0.5f, 1},
       128},
      {"grid",
       material_grid,
       {0, 0.06f, 1, 1},
       {0, 0.45f, 1, 1},
       {0, 0.3f, 1, 1},
       {0, 0, 1, 1},
       128},
  };
  for (const Preset& p : presets) {
    p.apply();
    const std::pair<GLenum, const GLfloat*> rows[] = {{GL_AMBIENT, p.ambient},
                                                      {GL_DIFFUSE, p.diffuse},
                                                      {GL_SPECULAR, p.specular},
                                                      {GL_EMISSION, p.emission}};
    for (const auto& row : rows) {
      GLfloat got[4];
      glGetMaterialfv(GL_FRONT, row.first, got);
      for (int c = 0; c < 4; ++c)
        EXPECT_FLOAT_EQ(got[c], row.second[c]) << p.name << " param " << row.first;
    }
    GLfloat shininess = 0;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, p.shininess) << p.name;
  }
}

}  // namespace
