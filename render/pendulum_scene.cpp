// The pendulum scene at latitude phi: site S = 11 (cos phi, 0, sin phi), up along S,
// north (-sin phi, 0, cos phi), west -y.
#include "render/pendulum_scene.h"

#include "render/frame.h"
#include "render/graphics.h"
#include "sim/sim_state.h"
#include "sim/trace.h"

#include <GL/freeglut.h>

#include <cmath>

namespace {

constexpr GLuint rod_texture = 1;
constexpr GLuint trace_texture = 2;
constexpr GLuint square_texture = 3;

// Moves to the site frame: x south, y east (the Earth frame's y), z up.
void enter_site_frame(float sx, float sz) {
  glTranslatef(sx, 0.0f, sz);
  glRotatef(rotation_degrees(90.0 - sim.latitude * 180.0 / pi), 0.0f, 1.0f, 0.0f);
}

void draw_square() {
  glBindTexture(GL_TEXTURE_2D, square_texture);
  material_slate();
  glBegin(GL_POLYGON);
  glNormal3f(0.0f, 0.0f, 1.0f);
  glTexCoord1f(0.0f);
  glVertex3f(-square_half_side, -square_half_side, square_depth);
  glVertex3f(square_half_side, -square_half_side, square_depth);
  glVertex3f(square_half_side, square_half_side, square_depth);
  glVertex3f(-square_half_side, square_half_side, square_depth);
  glEnd();
}

// Samples are the bob's (north, west) displacement turned by +phi_k; drawn in the site
// frame (x south, y east) turned by -phi, each lands along the current plane of swing.
void draw_corotating(float sx, float sz, double phi) {
  const float turn = rotation_degrees(-phi * 180.0 / pi);
  glPushMatrix();
  enter_site_frame(sx, sz);
  glRotatef(turn, 0.0f, 0.0f, 1.0f);
  glBegin(GL_LINE_STRIP);
  material_red();
  for (int32_t i = trace.trace_start; i < trace.trace_len; ++i) {
    glVertex3d(-trace.trace_x[i], -trace.trace_y[i], trace.trace_z[i]);
  }
  glEnd();
  glPopMatrix();

  glPushMatrix();
  enter_site_frame(sx, sz);
  glRotatef(turn, 0.0f, 0.0f, 1.0f);
  draw_square();
  glPopMatrix();
}

// The trace inherits the material in force: in a full frame, the sky's grid material.
void draw_earth_frame(float sx, float sz) {
  glPushMatrix();
  glTranslatef(sx, 0.0f, sz);
  glBindTexture(GL_TEXTURE_2D, trace_texture);
  glBegin(GL_LINE_STRIP);
  for (int32_t i = trace.trace_start; i < trace.trace_len; ++i) {
    glVertex3d(trace.trace_x[i], trace.trace_y[i], trace.trace_z[i]);
  }
  glEnd();
  glPopMatrix();

  glPushMatrix();
  enter_site_frame(sx, sz);
  draw_square();
  glPopMatrix();
}

// Rod, arm, post and axis: drawn straight in the Earth frame, in the slate material and
// with the upward normal that the square leaves current.
void draw_gallows(float bob_cx, float bob_cy, float bob_cz, float sx, float sz) {
  const float px = static_cast<float>(suspension_factor * sx);
  const float pz = static_cast<float>(suspension_factor * sz);
  glBindTexture(GL_TEXTURE_2D, rod_texture);
  glBegin(GL_LINE_STRIP);
  glVertex3f(bob_cx, bob_cy, bob_cz);
  glVertex3f(px, 0.0f, pz);
  glEnd();

  glBegin(GL_QUADS);
  glVertex3f(px + arm_half_width, 0.0f, pz);
  glVertex3f(px - arm_half_width, 0.0f, pz);
  glVertex3f(px - arm_half_width, arm_length, pz);
  glVertex3f(px + arm_half_width, arm_length, pz);
  glEnd();

  // The post: a triangle from the arm's far end to the Earth's centre, given as a quad
  // whose last two corners coincide; only its outer part shows above the ground.
  glBegin(GL_QUADS);
  glVertex3f(px - arm_half_width, arm_length, pz);
  glVertex3f(px + arm_half_width, arm_length, pz);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glEnd();

  glBindTexture(GL_TEXTURE_2D, rod_texture);
  glBegin(GL_LINE_STRIP);
  glVertex3f(0.0f, 0.0f, -axis_half_length);
  glVertex3f(0.0f, 0.0f, axis_half_length);
  glEnd();
}

}  // namespace

void draw_pendulum(double bob_x, double bob_y, double /*bob_z*/) {
  const float sx = static_cast<float>(site_radius * sim.cos_lat);
  const float sz = static_cast<float>(site_radius * sim.sin_lat);
  const float ex = static_cast<float>(-bob_x * sim.sin_lat);
  const float ey = static_cast<float>(-bob_y);
  const float ez = static_cast<float>(bob_x * sim.cos_lat);
  const double phi = sim.plane_angle * sim.sin_lat;
  const float cx = static_cast<float>(bob_x * std::cos(phi) - bob_y * std::sin(phi));
  const float cy = static_cast<float>(bob_x * std::sin(phi) + bob_y * std::cos(phi));

  sample_trace(ex, ey, ez, cx, cy, view.corotate == 1);

  if (view.corotate == 1) {
    draw_corotating(sx, sz, phi);
  } else {
    draw_earth_frame(sx, sz);
  }

  // The bob's centre: the site plus its Earth-frame offset, each sum rounded to float.
  const float bob_cx = static_cast<float>(static_cast<double>(sx) + ex);
  const float bob_cy = ey;
  const float bob_cz = static_cast<float>(static_cast<double>(sz) + ez);
  draw_gallows(bob_cx, bob_cy, bob_cz, sx, sz);

  glPushMatrix();
  glTranslatef(bob_cx, bob_cy, bob_cz);
  material_red();
  glutSolidSphere(bob_radius, 20, 20);
  glPopMatrix();
}
