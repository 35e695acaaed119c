// glutSolidSphere and glutWireSphere, missing from Emscripten's GLUT: the same points,
// normals and strips as freeglut's, in single precision as freeglut computes them.
#include "web/fixed_function.h"
#include "web/vector.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Keeps those of the primitives in `order`, `corners` numbers each, whose numbers `keep` takes.
template <class Keep>
void keep_only(std::vector<int>& order, size_t corners, Keep keep) {
  size_t kept = 0;
  for (size_t t = 0; t + corners <= order.size(); t += corners) {
    if (!keep(&order[t])) continue;
    for (size_t k = 0; k < corners; ++k) order[kept++] = order[t + k];
  }
  order.resize(kept);
}

// Sines and cosines at n steps round the circle (half of it when half is set); a
// negative n goes the other way. Entry |n| closes the circle: (0, 1) as entry 0, or (0, -1)
// for the half.
struct CircleTable {
  std::vector<float> sin, cos;
  CircleTable(int n, bool half) : sin(std::abs(n) + 1, 0.0f), cos(std::abs(n) + 1, 1.0f) {
    const int size = std::abs(n);
    const float angle = (half ? 1 : 2) * static_cast<float>(M_PI) / static_cast<float>(n);
    for (int i = 1; i < size; ++i) {
      sin[i] = static_cast<float>(std::sin(static_cast<double>(angle * i)));
      cos[i] = static_cast<float>(std::cos(static_cast<double>(angle * i)));
    }
    if (half) cos[size] = -1.0f;
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
  std::vector<Vec3> eye;       // the same points in eye coordinates
  // Every point beyond the near plane: the drawn sphere is convex, so the plane cuts none of
  // it. A sphere that it cuts shows its far faces through the cut, as does one round the eye.
  bool whole = true;

  Sphere(float r, int n, int m) : radius(r), slices(n), stacks(m) {
    take_matrices();
    for (int ring = 0; ring <= stacks; ++ring) {
      for (int j = 0; j < slices; ++j) {
        // The point of meridian j on ring r; its normal is the unit vector to it.
        const float n[3] = {around.cos[j] * down.sin[ring], around.sin[j] * down.sin[ring],
                            down.cos[ring]};
        const float v[3] = {n[0] * radius, n[1] * radius, n[2] * radius};
        points.push_back(lit_vertex(v, n));
        eye.emplace_back();
        transform(page.batch.modelview.m, v, 1.0f, eye.back().data(), 3);
        whole = whole && points.back().clip[2] > -points.back().clip[3];
      }
    }
  }
  // The number of meridian j's point on ring r.
  int at(int ring, int j) const { return ring * slices + j % slices; }
  const Vec3& eye_at(int ring, int j) const { return eye[static_cast<size_t>(at(ring, j))]; }
  const float* centre() const { return page.batch.modelview.m + 12; }  // turns and moves only

  // How near the drawn sphere's faces come to its centre: the least distance from the
  // centre to the plane of a band's face (all the faces of a band are alike).
  float inner_radius() const {
    float least = radius;
    for (int ring = 0; ring < stacks; ++ring) {
      const bool last = ring + 1 == stacks;  // ends at the south pole, a single point
      const Vec3& a = eye_at(ring, 0);
      const Vec3 n = cross(add(eye_at(last ? ring : ring + 1, last ? 1 : 0), -1.0f, a),
                           add(eye_at(ring + 1, last ? 0 : 1), -1.0f, a));
      const float length = std::sqrt(dot(n, n));
      if (length > 0.0f)
        least = std::min(least, std::fabs(dot(n, add(a, -1.0f, centre()))) / length);
    }
    return least;
  }

  // Whole, a sphere's far half lies behind its near half, as the desktop draws it too, and
  // costs as much to fill: only the triangles that face the eye are kept, those wound
  // counterclockwise on the screen, as GL tells front from back.
  void keep_facing(std::vector<int>& order) const {
    if (!whole) return;
    keep_only(order, 3, [this](const int* t) {
      // Beyond the near plane every w is above 0, and the determinant of the corners'
      // (x, y, w) has the sign of the triangle's area on the screen.
      const auto xyw = [this](int i) {
        const float* c = points[static_cast<size_t>(i)].clip;
        return Vec3{c[0], c[1], c[3]};
      };
      return dot(xyw(t[0]), cross(xyw(t[1]), xyw(t[2]))) > 0.0f;
    });
  }
};

// The frame's solid spheres drawn so far whose ball the sight line from the eye (the origin)
// to a point crosses, one bit each (the first 32).
uint32_t spheres_in_front(const Vec3& p) {
  uint32_t in_front = 0;
  for (size_t k = 0; k < page.batch.occluders.size() && k < 32; ++k) {
    const auto& o = page.batch.occluders[k];
    // The sight line's point nearest the sphere's centre.
    const Vec3 d = add(o, -std::clamp(dot(p, o) / dot(p, p), 0.0f, 1.0f), p);
    if (dot(d, d) < o[3] * o[3]) in_front |= 1u << k;
  }
  return in_front;
}

}  // namespace

// One triangle strip per band between two rings, each closed by repeating its first pair.
void glutSolidSphere(GLdouble radius, GLint slices, GLint stacks) {
  if (slices == 0 || stacks < 2) return;
  const Sphere s{static_cast<float>(radius), slices, stacks};
  std::vector<int> strip, order;
  for (int ring = 0; ring < stacks; ++ring) {
    strip.clear();
    for (int j = 0; j <= slices; ++j) strip.insert(strip.end(), {s.at(ring + 1, j), s.at(ring, j)});
    assemble(GL_TRIANGLE_STRIP, strip, order);
  }
  if (page.leave_out_hidden) s.keep_facing(order);
  add_primitives(GL_TRIANGLES, s.points, order);
  // A later line wholly behind it from the eye is hidden by it, as the depth test would find.
  if (page.leave_out_hidden && s.whole) {
    page.batch.occluders.push_back({s.centre()[0], s.centre()[1], s.centre()[2], s.inner_radius()});
  }
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
  // A segment whose two ends are behind the same solid sphere drawn before is wholly behind
  // it (what a ball hides from a point is convex), and its filling costs as much as a visible
  // one's: it is left out. Ends behind two different spheres may show their middle between
  // them, and are kept. The spheres' inner radius keeps this true of their faces, not only of
  // the round spheres; a sphere that the near plane cuts hides none.
  if (page.leave_out_hidden && !page.batch.occluders.empty()) {
    std::vector<uint32_t> behind;
    for (const Vec3& p : s.eye) behind.push_back(spheres_in_front(p));
    keep_only(order, 2, [&behind](const int* t) {
      return (behind[static_cast<size_t>(t[0])] & behind[static_cast<size_t>(t[1])]) == 0;
    });
  }
  add_primitives(GL_LINES, s.points, order);
}
