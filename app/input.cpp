// The key table, Page Up and Page Down, and the mouse.
#include "app/input.h"

#include "app/startup.h"
#include "render/frame.h"
#include "render/texts.h"
#include "sim/sim_state.h"
#include "sim/trace.h"

#include <GL/freeglut.h>

#include <cstdio>

namespace {

// The bob swings on under the new latitude; only its trace starts afresh.
void step_latitude(double step) {
  sim.latitude += step;
  if (step > 0.0) {
    std::printf(tr("latitude %lf \n"), sim.latitude * 180.0 / pi);
  }
  apply_latitude();
  clear_trace();
}

void toggle_lighting() {
  if (view.lighting_on == 1) {
    glDisable(GL_LIGHTING);
    view.lighting_on = 0;
  } else {
    glEnable(GL_LIGHTING);
    view.lighting_on = 1;
  }
}

}  // namespace

void keyboard(unsigned char key, int /*x*/, int /*y*/) {
  switch (key) {
    case '+':
      std::printf("+\n");
      step_latitude(latitude_step);
      break;
    case '-':
      std::printf("-\n");
      step_latitude(-latitude_step);
      break;
    case 'P':
      scale_omega(2.0);
      std::printf("Omega=%lf\n", sim.omega);
      break;
    case 'M':
      scale_omega(0.5);
      break;
    case 'g':
      sim.running = 1;
      break;
    case 'p':
      sim.running = 0;
      break;
    case 'z':
      reset_simulation();
      sim.running = 0;
      break;
    case 'R':
      sim.earth_fixed = sim.earth_fixed == 1 ? 0 : 1;
      break;
    case 'l':
      toggle_lighting();
      break;
    case 'r':
      view.view_free = 1;
      view.view_zoom = 0;
      break;
    case 't':
      view.view_free = 0;
      view.view_zoom = 1;
      view.view_rot_y = 0.0f;
      view.view_rot_x = 0.0f;
      break;
    case 'F':
      glutFullScreen();
      break;
    case 'Q':
      quit_program();
    default:
      break;
  }
}

void special_key(int key, int /*x*/, int /*y*/) {
  if (key == GLUT_KEY_PAGE_UP) {
    view.eye_z -= eye_step;
  } else if (key == GLUT_KEY_PAGE_DOWN) {
    view.eye_z += eye_step;
  }
}

void mouse(int /*button*/, int /*state*/, int /*x*/, int /*y*/) { glutPostRedisplay(); }

void motion(int x, int y) {
  view.view_rot_y = static_cast<float>(x);
  view.view_rot_x = static_cast<float>(y);
}
