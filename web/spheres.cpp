// glutSolidSphere and glutWireSphere, missing from Emscripten's GLUT: the same points,
// normals and strips as freeglut's, in single precision as freeglut computes them.
#include "web/fixed_function.h"

#include <GL/freeglut.h>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Sines and cosines at n steps round the circle (half of it when half is set); a
// negative n goes the other way. Entry |n| closes the circle.
struct CircleTable {
  std::vector<float> sin, cos;
  CircleTable(int n, bool half) : sin(std::abs(n) + 1, 0.0f), cos(std::abs(n) + 1, 1.0f) {
    const int size = std::abs(n);
    const float angle = (half ? 1 : 2) * static_cast<float>(M_PI) / static_cast<float>(n);
    for (int i = 1; i < size; ++i) {
      sin[i] = static_cast<float>(std::sin(static_cast<double>(angle * i)));
      cos[i] = static_cast<float>(std::cos(static_cast<double>(angle * i)));
    }
    sin[size] = half ? 0.0f : sin[0];
    cos[size] = half ? -1.0f : cos[0];
  }
};

// Meridians (slices) run clockwise about z seen from +z; rings (stacks) from the north
// pole (ring 0) to the south pole (ring stacks).
struct Sphere {
  float radius;
  int slices, stacks;
  CircleTable around{-slices, false}, down{stacks, true};

  // The point of meridian j on ring r; its normal is the unit vector to it.
  void vertex(int ring, int j) const {
    float n[3] = {0.0f, 0.0f, ring == 0 ? 1.0f : -1.0f};
    if (ring > 0 && ring < stacks) {
      j %= slices;
      n[0] = around.cos[j] * down.sin[ring];
      n[1] = around.sin[j] * down.sin[ring];
      n[2] = down.cos[ring];
    }
    const float v[3] = {n[0] * radius, n[1] * radius, n[2] * radius};
    lit_vertex(v, n);
  }
};

}  // namespace

// One triangle strip per band between two rings, each closed by repeating its first pair.
void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks) {
  if (slices == 0 || stacks < 2) return;
  const Sphere s{static_cast<float>(radius), slices, stacks};
  for (int ring = 0; ring < stacks; ++ring) {
    glBegin(GL_TRIANGLE_STRIP);
    for (int j = 0; j <= slices; ++j) {
      s.vertex(ring + 1, j);
      s.vertex(ring, j);
    }
    glEnd();
  }
}

// A line strip per meridian from pole to pole, then a line loop per inner ring.
void glutWireSphere(GLdouble radius, GLint slices, GLint stacks) {
  if (slices == 0 || stacks < 2) return;
  const Sphere s{static_cast<float>(radius), slices, stacks};
  for (int j = 0; j < slices; ++j) {
    glBegin(GL_LINE_STRIP);
    for (int ring = 0; ring <= stacks; ++ring) s.vertex(ring, j);
    glEnd();
  }
  for (int ring = 1; ring < stacks; ++ring) {
    glBegin(GL_LINE_LOOP);
    for (int j = 0; j < slices; ++j) s.vertex(ring, j);
    glEnd();
  }
}
