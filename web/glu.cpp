// gluLookAt for the browser: Emscripten's own hands the matrix to its helper in the place of
// the eye and leaves the model-view matrix unchanged, so the camera would sit in the Earth.
#include "web/fixed_function.h"

#include <GL/glu.h>

namespace {

void cross(const float* a, const float* b, float* out) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

// As GLU does it, in single precision: side, up and back as the rows of a turn, then the
// eye moved to the origin.
void gluLookAt(GLdouble eye_x, GLdouble eye_y, GLdouble eye_z, GLdouble center_x,
               GLdouble center_y, GLdouble center_z, GLdouble up_x, GLdouble up_y, GLdouble up_z) {
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
