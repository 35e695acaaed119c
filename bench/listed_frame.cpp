// The program's frame with its fixed geometry in display lists. Every call that changes
// what is drawn is issued in the same order and with the same values as in
// render/frame.cpp, render/earth.cpp and render/pendulum_scene.cpp; only the way the
// fixed parts reach OpenGL differs.
#include "bench/listed_frame.h"

#include "render/earth.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "render/overlay.h"
#include "render/pendulum_scene.h"
#include "sim/sim_state.h"
#include "sim/trace.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>

namespace {

constexpr GLuint rod_texture = 1;
constexpr GLuint trace_texture = 2;
constexpr GLuint square_texture = 3;

GLuint overlay_list = 0;       // overlay without the help lines
GLuint overlay_help_list = 0;  // overlay with them
GLuint earth_list = 0;         // Earth and its wire shell, with their materials
GLuint sky_list = 0;           // the sky sphere
GLuint square_list = 0;        // the plate, its texture name, material and normal
GLuint axis_list = 0;          // the Earth's axis with its texture name
GLuint bob_list = 0;           // the bob's material and sphere
GLuint gallows_list = 0;       // arm and post: fixed for one latitude
double gallows_latitude = 0.0;
bool gallows_built = false;

bool locate_bob = false;
double bob_screen_x = 0.0;
double bob_screen_y = 0.0;

GLuint compile(void (*draw)()) {
  const GLuint list = glGenLists(1);
  glNewList(list, GL_COMPILE);
  draw();
  glEndList();
  return list;
}

// The overlay with and without its help lines, as the program writes it.
void overlay_without_help() {
  const int32_t saved = view.show_help;
  view.show_help = 0;
  draw_overlay();
  view.show_help = saved;
}

void overlay_with_help() {
  const int32_t saved = view.show_help;
  view.show_help = 1;
  draw_overlay();
  view.show_help = saved;
}

void earth_and_shell() {
  material_earth();
  glutSolidSphere(earth_radius, 24, 24);
  material_grid();
  glutWireSphere(earth_radius + earth_radius / 100.0f, 24, 24);
}

void sky_sphere() {
  glutWireSphere(4.0f * earth_radius, 12, 12);
}

void square() {
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

void axis() {
  glBindTexture(GL_TEXTURE_2D, rod_texture);
  glBegin(GL_LINE_STRIP);
  glVertex3f(0.0f, 0.0f, -axis_half_length);
  glVertex3f(0.0f, 0.0f, axis_half_length);
  glEnd();
}

void bob() {
  material_red();
  glutSolidSphere(bob_radius, 20, 20);
}

// Arm and post at the current latitude; recompiled only when the latitude changes.
void ensure_gallows(float sx, float sz) {
  if (gallows_built && gallows_latitude == sim.latitude) {
    return;
  }
  if (gallows_list == 0) {
    gallows_list = glGenLists(1);
  }
  const float px = static_cast<float>(suspension_factor * sx);
  const float pz = static_cast<float>(suspension_factor * sz);
  glNewList(gallows_list, GL_COMPILE);
  glBegin(GL_QUADS);
  glVertex3f(px + arm_half_width, 0.0f, pz);
  glVertex3f(px - arm_half_width, 0.0f, pz);
  glVertex3f(px - arm_half_width, arm_length, pz);
  glVertex3f(px + arm_half_width, arm_length, pz);
  glEnd();
  glBegin(GL_QUADS);
  glVertex3f(px - arm_half_width, arm_length, pz);
  glVertex3f(px + arm_half_width, arm_length, pz);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glVertex3f(0.0f, 0.0f, 0.0f);
  glEnd();
  glEndList();
  gallows_latitude = sim.latitude;
  gallows_built = true;
}

void enter_site_frame(float sx, float sz) {
  glTranslatef(sx, 0.0f, sz);
  glRotatef(rotation_degrees(90.0 - sim.latitude * 180.0 / pi), 0.0f, 1.0f, 0.0f);
}

void trace_strip(double sign) {
  glBegin(GL_LINE_STRIP);
  for (int32_t i = trace.trace_start; i < trace.trace_len; ++i) {
    glVertex3d(sign * trace.trace_x[i], sign * trace.trace_y[i], trace.trace_z[i]);
  }
  glEnd();
}

void pendulum_listed(double bob_x, double bob_y) {
  const float sx = static_cast<float>(site_radius * sim.cos_lat);
  const float sz = static_cast<float>(site_radius * sim.sin_lat);
  const float ex = static_cast<float>(-bob_x * sim.sin_lat);
  const float ey = static_cast<float>(-bob_y);
  const float ez = static_cast<float>(bob_x * sim.cos_lat);
  const double phi = sim.plane_angle * sim.sin_lat;
  const float cx = static_cast<float>(bob_x * std::cos(phi) - bob_y * std::sin(phi));
  const float cy = static_cast<float>(bob_x * std::sin(phi) + bob_y * std::cos(phi));
  sample_trace(ex, ey, ez, cx, cy, view.corotate == 1);
  ensure_gallows(sx, sz);

  if (view.corotate == 1) {
    const float turn = rotation_degrees(-phi * 180.0 / pi);
    glPushMatrix();
    enter_site_frame(sx, sz);
    glRotatef(turn, 0.0f, 0.0f, 1.0f);
    material_red();
    trace_strip(-1.0);
    glCallList(square_list);
    glPopMatrix();
  } else {
    glPushMatrix();
    glTranslatef(sx, 0.0f, sz);
    glBindTexture(GL_TEXTURE_2D, trace_texture);
    trace_strip(1.0);
    glPopMatrix();
    glPushMatrix();
    enter_site_frame(sx, sz);
    glCallList(square_list);
    glPopMatrix();
  }

  const float bob_cx = static_cast<float>(static_cast<double>(sx) + ex);
  const float bob_cy = ey;
  const float bob_cz = static_cast<float>(static_cast<double>(sz) + ez);
  glBindTexture(GL_TEXTURE_2D, rod_texture);
  glBegin(GL_LINE_STRIP);
  glVertex3f(bob_cx, bob_cy, bob_cz);
  glVertex3f(static_cast<float>(suspension_factor * sx), 0.0f,
             static_cast<float>(suspension_factor * sz));
  glEnd();
  glCallList(gallows_list);
  glCallList(axis_list);

  glPushMatrix();
  glTranslatef(bob_cx, bob_cy, bob_cz);
  if (locate_bob) {
    // Only in the frames that are compared, never in the timed ones.
    GLdouble model[16], projection[16], z;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(0.0, 0.0, 0.0, model, projection, viewport, &bob_screen_x, &bob_screen_y, &z);
  }
  glCallList(bob_list);
  glPopMatrix();
}

void look_from_eye() {
  gluLookAt(view.eye_x, view.eye_y, view.eye_z, view.eye_x + view.look_dx, view.eye_y,
            view.eye_z - view.look_dz, 0.0, 1.0, 0.0);
}

}  // namespace

void build_frame_lists() {
  overlay_list = compile(overlay_without_help);
  overlay_help_list = compile(overlay_with_help);
  earth_list = compile(earth_and_shell);
  sky_list = compile(sky_sphere);
  square_list = compile(square);
  axis_list = compile(axis);
  bob_list = compile(bob);
}

void display_listed() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  const GLuint overlay = view.show_help == 1 ? overlay_help_list : overlay_list;
  if (view.view_free == 1) {
    look_from_eye();
    glCallList(overlay);
    glRotatef(view.view_rot_x, 1.0f, 0.0f, 0.0f);
    glRotatef(view.view_rot_y, 0.0f, 1.0f, 0.0f);
    view.saved_rot_x = view.view_rot_x;
    view.saved_rot_y = view.view_rot_y;
  }
  if (view.view_zoom == 1) {
    view.eye_z = static_cast<float>(25.0 - static_cast<double>(view.view_rot_x) * 10.0 / zoom_pixels);
    look_from_eye();
    glCallList(overlay);
    glRotatef(view.saved_rot_x, 1.0f, 0.0f, 0.0f);
    glRotatef(view.saved_rot_y, 0.0f, 1.0f, 0.0f);
  }
  glRotatef(rotation_degrees(sim.earth_angle * 180.0 / pi), 0.0f, 0.0f, 1.0f);

  place_lamps();

  glPushMatrix();
  glCallList(earth_list);
  glRotatef(rotation_degrees(sim.sky_angle * 180.0 / pi + 90.0), 0.0f, 0.0f, 1.0f);
  glCallList(sky_list);
  glPopMatrix();
  pendulum_listed(sim.bob_x, sim.bob_y);

  glutSwapBuffers();
  glutPostRedisplay();
  glFlush();
}

void locate_bob_on_screen(bool on) { locate_bob = on; }

void last_bob_on_screen(double& x, double& y) {
  x = bob_screen_x;
  y = bob_screen_y;
}
