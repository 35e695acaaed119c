// Earth, its meridian-and-parallel shell, and the sky sphere.
#include "render/earth.h"

#include "render/graphics.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>

void draw_earth() {
  glPushMatrix();
  // GLUT builds its spheres about z, the Earth's axis: 24 slices put meridians 15 degrees
  // apart, 24 stacks put parallels 7.5 degrees apart.
  material_earth();
  glutSolidSphere(earth_radius, 24, 24);
  material_grid();
  glutWireSphere(earth_radius + earth_radius / 100.0f, 24, 24);
  // The sky alone gets the extra turn, which undoes the Earth's while it turns freely.
  glRotatef(rotation_degrees(sim.sky_angle * 180.0 / pi + 90.0), 0.0f, 0.0f, 1.0f);
  glutWireSphere(4.0f * earth_radius, 12, 12);
  glPopMatrix();
}
