// Three-vectors and column-major 4x4 transforms for the page's geometry, in single precision
// and summed in the order Mesa sums them. Any indexable of three floats will do.
#pragma once

#include <array>
#include <cmath>

using Vec3 = std::array<float, 3>;

template <class A, class B>
float dot(const A& a, const B& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

template <class A, class B>
Vec3 cross(const A& a, const B& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// a + s b: with s = -1 the difference, with a zero a a scaled b.
template <class A, class B>
Vec3 add(const A& a, float s, const B& b) {
  return {a[0] + s * b[0], a[1] + s * b[1], a[2] + s * b[2]};
}

// Scales v to unit length; the zero vector stays as it is.
template <class V>
void normalize(V& v) {
  const float length = std::sqrt(dot(v, v));
  for (int i = 0; i < 3 && length > 0.0f; ++i) v[i] /= length;
}

// The first `rows` elements of m times (in, w): w = 0 turns a direction, w = 1 moves a point.
template <class V>
void transform(const float* m, const V& in, float w, float* out, int rows = 4) {
  for (int i = 0; i < rows; ++i)
    out[i] = m[i] * in[0] + m[4 + i] * in[1] + m[8 + i] * in[2] + m[12 + i] * w;
}
