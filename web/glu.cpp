// GLU's camera calls for the browser, where there is no GLU: the same matrices, computed as
// GLU computes them, and multiplied onto the current matrix through web/fixed_function.cpp.
#include "web/fixed_function.h"
#include "web/vector.h"

#include <GL/glu.h>
#include <cmath>

// In single precision, as GLU does it: side, up and back as the rows of a turn, then the
// eye moved to the origin.
void gluLookAt(GLdouble eye_x, GLdouble eye_y, GLdouble eye_z, GLdouble center_x, GLdouble center_y,
               GLdouble center_z, GLdouble up_x, GLdouble up_y, GLdouble up_z) {
  Vec3 forward = {static_cast<float>(center_x - eye_x), static_cast<float>(center_y - eye_y),
                  static_cast<float>(center_z - eye_z)};
  const Vec3 up = {static_cast<float>(up_x), static_cast<float>(up_y), static_cast<float>(up_z)};
  normalize(forward);
  Vec3 side = cross(forward, up);
  normalize(side);
  const Vec3 top = cross(side, forward);
  const GLfloat m[16] = {side[0], top[0], -forward[0], 0.0f, side[1], top[1], -forward[1], 0.0f,
                         side[2], top[2], -forward[2], 0.0f, 0.0f,    0.0f,   0.0f,        1.0f};
  glMultMatrixf(m);
  glTranslated(-eye_x, -eye_y, -eye_z);
}

// In double precision, then handed over as GLU hands it; a flat or empty view volume leaves
// the matrix as it is, as GLU does.
void gluPerspective(GLdouble fov_y, GLdouble aspect, GLdouble z_near, GLdouble z_far) {
  const double half = fov_y / 2.0 * M_PI / 180.0, depth = z_far - z_near;
  const double sine = std::sin(half);
  if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return;
  const double cotangent = std::cos(half) / sine;
  GLdouble m[16] = {cotangent / aspect};
  m[5] = cotangent;
  m[10] = -(z_far + z_near) / depth;
  m[11] = -1.0;
  m[14] = -2.0 * z_near * z_far / depth;
  glMultMatrixd(m);
}
