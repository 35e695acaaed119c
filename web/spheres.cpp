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
// pole (ring 0) to the south pole (ring stacks). Each point is lit and handed over once;
// the strips and loops it belongs to number it.
struct Sphere {
  float radius;
  int slices, stacks;
  CircleTable around{-slices, false}, down{stacks, true};
  std::vector<Vertex> points;  // ring r, meridian j at r * slices + j

  Sphere(float r, int n, int m) : radius(r), slices(n), stacks(m) {
    take_matrices();
    points.reserve(static_cast<size_t>((stacks + 1) * slices));
    for (int ring = 0; ring <= stacks; ++ring) {
      for (int j = 0; j < slices; ++j) {
        // The point of meridian j on ring r; its normal is the unit vector to it.
        float n[3] = {0.0f, 0.0f, ring == 0 ? 1.0f : -1.0f};
        if (ring > 0 && ring < stacks) {
          n[0] = around.cos[j] * down.sin[ring];
          n[1] = around.sin[j] * down.sin[ring];
          n[2] = down.cos[ring];
        }
        const float v[3] = {n[0] * radius, n[1] * radius, n[2] * radius};
        points.push_back(lit_vertex(v, n));
      }
    }
  }
  // The number of meridian j's point on ring r.
  int at(int ring, int j) const { return ring * slices + j % slices; }

  // Seen from outside, a sphere's far half lies behind its near half, as the desktop draws
  // it too, and costs as much to fill: only the triangles that face the eye are kept, those
  // wound counterclockwise on the screen, as GL tells front from back. From inside, or where
  // a corner lies behind the eye, all of them.
  void keep_facing(std::vector<int>& order) const {
    const float* m = page.batch.modelview.m;  // turns and moves only: the centre is its move
    if (m[12] * m[12] + m[13] * m[13] + m[14] * m[14] <= radius * radius) return;
    size_t kept = 0;
    for (size_t t = 0; t + 2 < order.size(); t += 3) {
      const float* a = points[static_cast<size_t>(order[t])].clip;
      const float* b = points[static_cast<size_t>(order[t + 1])].clip;
      const float* c = points[static_cast<size_t>(order[t + 2])].clip;
      // With every w above 0, the determinant of the corners' (x, y, w) has the sign of the
      // triangle's area on the screen.
      const bool ahead = a[3] > 0.0f && b[3] > 0.0f && c[3] > 0.0f;
      const float area = a[0] * (b[1] * c[3] - c[1] * b[3]) - b[0] * (a[1] * c[3] - c[1] * a[3]) +
                         c[0] * (a[1] * b[3] - b[1] * a[3]);
      if (ahead && area <= 0.0f) continue;
      for (size_t k = 0; k < 3; ++k) order[kept++] = order[t + k];
    }
    order.resize(kept);
  }
};

}  // namespace

// One triangle strip per band between two rings, each closed by repeating its first pair.
void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks) {
  if (slices == 0 || stacks < 2) return;
  const Sphere s{static_cast<float>(radius), slices, stacks};
  std::vector<int> strip, order;
  for (int ring = 0; ring < stacks; ++ring) {
    strip.clear();
    for (int j = 0; j <= slices; ++j) {
      strip.push_back(s.at(ring + 1, j));
      strip.push_back(s.at(ring, j));
    }
    assemble(GL_TRIANGLE_STRIP, strip, order);
  }
  if (page.cull_hidden_faces) s.keep_facing(order);
  add_primitives(GL_TRIANGLES, s.points, order);
}

// A line strip per meridian from pole to pole, then a line loop per inner ring.
void glutWireSphere(GLdouble radius, GLint slices, GLint stacks) {
  if (slices == 0 || stacks < 2) return;
  const Sphere s{static_cast<float>(radius), slices, stacks};
  std::vector<int> line, order;
  for (int j = 0; j < slices; ++j) {
    line.clear();
    for (int ring = 0; ring <= stacks; ++ring) line.push_back(s.at(ring, j));
    assemble(GL_LINE_STRIP, line, order);
  }
  for (int ring = 1; ring < stacks; ++ring) {
    line.clear();
    for (int j = 0; j < slices; ++j) line.push_back(s.at(ring, j));
    assemble(GL_LINE_LOOP, line, order);
  }
  add_primitives(GL_LINES, s.points, order);
}
