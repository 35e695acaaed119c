// glutSolidSphere and glutWireSphere, missing from Emscripten's GLUT: the same points,
// normals and strips as freeglut's, in single precision as freeglut computes them.
#include "web/fixed_function.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
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
  std::vector<Vertex> points;             // ring r, meridian j at r * slices + j
  std::vector<std::array<float, 3>> eye;  // the same points in eye coordinates

  Sphere(float r, int n, int m) : radius(r), slices(n), stacks(m) {
    take_matrices();
    const float* mv = page.batch.modelview.m;
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
        eye.push_back({});
        for (int i = 0; i < 3; ++i)
          eye.back()[i] = mv[i] * v[0] + mv[4 + i] * v[1] + mv[8 + i] * v[2] + mv[12 + i];
      }
    }
  }
  // The number of meridian j's point on ring r.
  int at(int ring, int j) const { return ring * slices + j % slices; }
  const float* centre() const { return page.batch.modelview.m + 12; }  // turns and moves only
  bool seen_from_outside() const {
    const float* c = centre();
    return c[0] * c[0] + c[1] * c[1] + c[2] * c[2] > radius * radius;
  }

  // How near the drawn sphere's faces come to its centre: the least distance from the
  // centre to the plane of a band's face (all the faces of a band are alike).
  float inner_radius() const {
    float least = radius;
    for (int ring = 0; ring < stacks; ++ring) {
      const bool last = ring + 1 == stacks;  // ends at the south pole, a single point
      const auto& a = eye[static_cast<size_t>(at(ring, 0))];
      const auto& b = eye[static_cast<size_t>(at(last ? ring : ring + 1, last ? 1 : 0))];
      const auto& c = eye[static_cast<size_t>(at(ring + 1, last ? 0 : 1))];
      float u[3], v[3], n[3], to_a[3];
      for (int i = 0; i < 3; ++i)
        u[i] = b[i] - a[i], v[i] = c[i] - a[i], to_a[i] = a[i] - centre()[i];
      for (int i = 0; i < 3; ++i)
        n[i] = u[(i + 1) % 3] * v[(i + 2) % 3] - u[(i + 2) % 3] * v[(i + 1) % 3];
      const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      if (length > 0.0f)
        least =
            std::min(least, std::fabs(n[0] * to_a[0] + n[1] * to_a[1] + n[2] * to_a[2]) / length);
    }
    return least;
  }

  // Seen from outside, a sphere's far half lies behind its near half, as the desktop draws
  // it too, and costs as much to fill: only the triangles that face the eye are kept, those
  // wound counterclockwise on the screen, as GL tells front from back. From inside, or where
  // a corner lies behind the eye, all of them.
  void keep_facing(std::vector<int>& order) const {
    if (!seen_from_outside()) return;
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
  if (page.leave_out_hidden) s.keep_facing(order);
  add_primitives(GL_TRIANGLES, s.points, order);
  // A later line wholly behind it from the eye is hidden by it, as the depth test would find.
  if (page.leave_out_hidden && s.seen_from_outside()) {
    page.batch.occluders.push_back({s.centre()[0], s.centre()[1], s.centre()[2], s.inner_radius()});
  }
}

namespace {

// The frame's solid spheres drawn so far whose ball the sight line from the eye (the origin)
// to a point crosses, one bit each (the first 32).
uint32_t spheres_in_front(const std::array<float, 3>& p) {
  const float reach = p[0] * p[0] + p[1] * p[1] + p[2] * p[2];
  uint32_t in_front = 0;
  for (size_t k = 0; k < page.batch.occluders.size() && k < 32; ++k) {
    const auto& o = page.batch.occluders[k];
    // The sight line's point nearest the sphere's centre.
    const float t = std::clamp((p[0] * o[0] + p[1] * o[1] + p[2] * o[2]) / reach, 0.0f, 1.0f);
    const float d[3] = {t * p[0] - o[0], t * p[1] - o[1], t * p[2] - o[2]};
    if (d[0] * d[0] + d[1] * d[1] + d[2] * d[2] < o[3] * o[3]) in_front |= 1u << k;
  }
  return in_front;
}

}  // namespace

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
  // A segment whose two ends are behind the same solid sphere drawn before is wholly behind
  // it (what a ball hides from a point is convex), and its filling costs as much as a visible
  // one's: it is left out. Ends behind two different spheres may show their middle between
  // them, and are kept. The spheres' inner radius keeps this true of their faces, not only of
  // the round spheres.
  if (page.leave_out_hidden && !page.batch.occluders.empty()) {
    std::vector<uint32_t> behind(s.eye.size());
    for (size_t i = 0; i < behind.size(); ++i) behind[i] = spheres_in_front(s.eye[i]);
    size_t kept = 0;
    for (size_t t = 0; t + 1 < order.size(); t += 2) {
      if (behind[static_cast<size_t>(order[t])] & behind[static_cast<size_t>(order[t + 1])])
        continue;
      order[kept++] = order[t];
      order[kept++] = order[t + 1];
    }
    order.resize(kept);
  }
  add_primitives(GL_LINES, s.points, order);
}
