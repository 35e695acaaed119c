// GLU's camera calls for the browser, where there is no GLU: the same matrices, computed as
// GLU computes them, and multiplied onto the current matrix through web/fixed_function.cpp.
#include "web/fixed_function.h"

#include <GL/glu.h>
#include <cmath>

namespace {

void cross(const float* a, const float* b, float* out) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

// In single precision, as GLU does it: side, up and back as the rows of a turn, then the
// eye moved to the origin.
void gluLookAt(GLdouble eye_x, GLdouble eye_y, GLdouble eye_z, GLdouble center_x, GLdouble center_y,
               GLdouble center_z, GLdouble up_x, GLdouble up_y, GLdouble up_z) {
  float forward[3] = {static_cast<float>(center_x - eye_x), static_cast<float>(center_y - eye_y),
                      static_cast<float>(center_z - eye_z)};
  float up[3] = {static_cast<float>(up_x), static_cast<float>(up_y), static_cast<float>(up_z)};
  float side[3];
  normalize(forward);
  cross(forward, up, side);
  normalize(side);
  cross(side, forward, up);
  const GLfloat m[16] = {side[0], up[0], -forward[0], 0.0f, side[1], up[1], -forward[1], 0.0f,
                         side[2], up[2], -forward[2], 0.0f, 0.0f,    0.0f,  0.0f,        1.0f};
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
  const GLdouble m[16] = {cotangent / aspect,
                          0.0,
                          0.0,
                          0.0,
                          0.0,
                          cotangent,
                          0.0,
                          0.0,
                          0.0,
                          0.0,
                          -(z_far + z_near) / depth,
                          -1.0,
                          0.0,
                          0.0,
                          -2.0 * z_near * z_far / depth,
                          0.0};
  glMultMatrixd(m);
}
