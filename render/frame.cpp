// Frame composition: the camera, the Earth's rotation and the sun lamp, then the scene.
#include "render/frame.h"

#include "render/earth.h"
#include "render/graphics.h"
#include "render/overlay.h"
#include "render/pendulum_scene.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <cmath>

ViewState view;

namespace {

void look_from_eye() {
  gluLookAt(view.eye_x, view.eye_y, view.eye_z, view.eye_x + view.look_dx, view.eye_y,
            view.eye_z - view.look_dz, 0.0, 1.0, 0.0);
}

}  // namespace

void place_lamps() {
  light1_position[0] = static_cast<float>(sun_distance * std::cos(sim.sky_angle));
  light1_position[1] = static_cast<float>(sun_distance * std::sin(sim.sky_angle));
  light1_position[2] = static_cast<float>(sun_distance);
  light1_position[3] = 1.0f;
  // Lamp 0 is never switched on: its place is still written every frame, as the program
  // always has, so its state is the same in every frame (the picture records hold it).
  light0_position[0] = 3.0f;
  light0_position[1] = 0.0f;
  light0_position[2] = 3.0f;
  light0_position[3] = 1.0f;
  glLightfv(GL_LIGHT0, GL_POSITION, light0_position);
  glLightfv(GL_LIGHT1, GL_AMBIENT, light1_ambient);
  glLightfv(GL_LIGHT1, GL_POSITION, light1_position);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, light1_diffuse);
  glEnable(GL_LIGHT1);
}

void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  // The overlay is written right after the camera, before any rotation, so dragging
  // never moves the text.
  if (view.view_free == 1) {
    look_from_eye();
    draw_overlay();
    glRotatef(view.view_rot_x, 1.0f, 0.0f, 0.0f);
    glRotatef(view.view_rot_y, 0.0f, 1.0f, 0.0f);
    view.saved_rot_x = view.view_rot_x;
    view.saved_rot_y = view.view_rot_y;
  }
  if (view.view_zoom == 1) {
    // The pointer's height sets the distance: 25 at the top, 15 at 768 pixels, unbounded.
    view.eye_z = static_cast<float>(static_cast<double>(default_eye_z) -
                                    static_cast<double>(view.view_rot_x) * 10.0 / zoom_pixels);
    look_from_eye();
    draw_overlay();
    glRotatef(view.saved_rot_x, 1.0f, 0.0f, 0.0f);
    glRotatef(view.saved_rot_y, 0.0f, 1.0f, 0.0f);
  }
  glRotatef(rotation_degrees(sim.earth_angle * 180.0 / pi), 0.0f, 0.0f, 1.0f);

  place_lamps();

  draw_earth();
  draw_pendulum(sim.bob_x, sim.bob_y, sim.bob_z);

  glutSwapBuffers();
  glutPostRedisplay();
  glFlush();
}
