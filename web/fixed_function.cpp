// OpenGL 1.1's matrices, per-vertex lighting and immediate mode, for the browser. WebGL has
// none of them, so the program's GL calls land here: each vertex is lit by the same equation
// the desktop's driver runs, taken to clip coordinates, and kept in the frame's batch, which
// web/webgl.cpp draws with a handful of calls when the frame ends. The matrices are computed
// in single precision in the order Mesa computes them, so the text lands on the same pixels.
// Calls that WebGL also has (glEnable, glViewport) come here through the linker's --wrap.
// Nothing here calls WebGL itself, so tests/web/colours_test.cpp builds it for this machine.
#include "web/fixed_function.h"

#include "web/vector.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>

extern "C" {
void __real_glEnable(GLenum cap);
void __real_glDisable(GLenum cap);
void __real_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
}

Page page;

namespace {

constexpr float scene_ambient = 0.2f;  // GL_LIGHT_MODEL_AMBIENT's default, never changed

FixedFunction& gl = page.gl;

// a times b, each element summed left to right as Mesa does.
Matrix product(const Matrix& a, const Matrix& b) {
  Matrix p;
  for (int col = 0; col < 16; col += 4) transform(a.m, b.m + col, b.m[col + 3], p.m + col);
  return p;
}

// The lighting equation for a point and a normal in eye coordinates, with the viewer at
// infinity and no attenuation or spot, as this program leaves them.
void shade(const float* eye, const float* normal, float* color) {
  const Material& m = gl.front;
  for (int c = 0; c < 3; ++c) color[c] = m.emission[c] + m.ambient[c] * scene_ambient;
  color[3] = m.diffuse[3];
  for (const Light& light : gl.lights) {
    if (!light.on) continue;
    Vec3 to_light = add(light.position, light.position[3] != 0.0f ? -1.0f : 0.0f, eye);
    normalize(to_light);
    const float diffuse = std::max(dot(normal, to_light), 0.0f);
    // A lamp without a specular part (the sun) adds none: its power is not worth taking.
    float specular = 0.0f;
    if (diffuse > 0.0f && dot(light.specular, light.specular) != 0.0f) {
      Vec3 half = {to_light[0], to_light[1], to_light[2] + 1.0f};
      normalize(half);
      specular = std::pow(std::max(dot(normal, half), 0.0f), m.shininess);
    }
    for (int c = 0; c < 3; ++c) {
      color[c] += light.ambient[c] * m.ambient[c] + diffuse * light.diffuse[c] * m.diffuse[c] +
                  specular * light.specular[c] * m.specular[c];
    }
  }
  for (int c = 0; c < 4; ++c) color[c] = color[c] < 0.0f ? 0.0f : color[c] > 1.0f ? 1.0f : color[c];
}

// The colour at a point (eye coordinates) of a normal in object coordinates. The model-view
// matrix holds only turns and moves here, so it turns normals as it is.
void light_at(const Matrix& modelview, const float* at, const float* normal, float* color) {
  if (!gl.lighting) return std::fill(color, color + 4, 1.0f);  // the current colour, never changed
  float eye_normal[3];
  transform(modelview.m, normal, 0.0f, eye_normal, 3);
  shade(at, eye_normal, color);
}

// Lighting, its lamps and texturing are kept here; WebGL has none of them. The others go on
// to WebGL, and are recorded too, for a restored context (web/webgl.cpp).
void set_capability(GLenum cap, bool on) {
  if (cap == GL_LIGHTING) {
    gl.lighting = on;
  } else if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + light_count) {
    gl.lights[cap - GL_LIGHT0].on = on;
  } else if (cap != GL_TEXTURE_2D) {
    page.enabled[cap] = on;
    (on ? __real_glEnable : __real_glDisable)(cap);
  }
}

// A point in the model-view space of the moment to clip coordinates, as Mesa takes it.
void to_clip(const float* point, float* clip) {
  float eye[4];
  transform(gl.modelview.back().m, point, 1.0f, eye);
  transform(gl.projection.back().m, eye, eye[3], clip);
}

// A clip coordinate to window pixels along x (axis 0) or y (1), in Mesa's order of operations,
// so that the text lands on the same whole pixel.
float to_window(const float* clip, int axis) {
  const float half = gl.viewport[2 + axis] / 2.0f;
  return clip[axis] * (1.0f / clip[3]) * half + (gl.viewport[axis] + half);
}

// The current matrix multiplied on the right, as GL does.
void multiply_current(const Matrix& by) {
  gl.current->back() = product(gl.current->back(), by);
}

}  // namespace

void assemble(GLenum mode, const std::vector<int>& sequence, std::vector<int>& order) {
  const int n = static_cast<int>(sequence.size());
  auto add = [&](int i) { order.push_back(sequence[static_cast<size_t>(i)]); };
  if (mode == GL_LINES || mode == GL_TRIANGLES) {
    order.insert(order.end(), sequence.begin(), sequence.end());
  } else if (mode == GL_LINE_STRIP || mode == GL_LINE_LOOP) {
    for (int i = 1; i < n; ++i) add(i - 1), add(i);
    if (mode == GL_LINE_LOOP && n > 2) add(n - 1), add(0);
  } else if (mode == GL_TRIANGLE_STRIP) {
    for (int i = 2; i < n; ++i) add(i - 2 + i % 2), add(i - 1 - i % 2), add(i);
  } else if (mode == GL_QUADS) {
    for (int i = 3; i < n; i += 4)
      add(i - 3), add(i - 2), add(i), add(i - 2), add(i - 1), add(i);  // as Mesa parts a quad
  } else {  // GL_TRIANGLE_FAN, GL_POLYGON (the program's are convex)
    for (int i = 2; i < n; ++i) add(0), add(i - 1), add(i);
  }
}

void add_primitives(GLenum kind, const std::vector<Vertex>& points, const std::vector<int>& order) {
  Batch& b = page.batch;
  const size_t base = b.vertices.size();
  if (base + points.size() > 65536 || order.empty()) return;
  b.vertices.insert(b.vertices.end(), points.begin(), points.end());
  if (b.runs.empty() || b.runs.back().mode != kind)
    b.runs.push_back({kind, static_cast<int>(b.indices.size()), 0});
  for (const int i : order)
    b.indices.push_back(static_cast<GLushort>(base + static_cast<size_t>(i)));
  b.runs.back().count += static_cast<int>(order.size());
}

void take_matrices() {
  Batch& b = page.batch;
  b.modelview = gl.modelview.back();
  b.mvp = product(gl.projection.back(), b.modelview);
}

void set_color(Vertex& v, const float rgba[4]) {
  for (int c = 0; c < 4; ++c) v.color[c] = static_cast<unsigned char>(rgba[c] * 255.0f + 0.5f);
}

Vertex lit_vertex(const float vertex[3], const float normal[3]) {
  Vertex v;
  float eye[4], color[4];
  transform(page.batch.modelview.m, vertex, 1.0f, eye);
  light_at(page.batch.modelview, eye, normal, color);
  set_color(v, color);
  transform(page.batch.mvp.m, vertex, 1.0f, v.clip);
  return v;
}

extern "C" {

void __wrap_glEnable(GLenum cap) {
  set_capability(cap, true);
}

void __wrap_glDisable(GLenum cap) {
  set_capability(cap, false);
}

void __real_glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void __wrap_glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
  page.clear_color = {red, green, blue, alpha};
  __real_glClearColor(red, green, blue, alpha);
}

void __wrap_glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
  gl.viewport = {x, y, width, height};
  __real_glViewport(x, y, width, height);
}

// Textures are never given an image, so on the desktop they change nothing: nothing to bind.
void __wrap_glBindTexture(GLenum /*target*/, GLuint /*texture*/) {}

// The browser sends the frame's calls on when the loop's call returns; a flush of WebGL's
// own in the middle of the frame only costs time.
void __wrap_glFlush() {}

void glMatrixMode(GLenum mode) {
  gl.current = mode == GL_PROJECTION ? &gl.projection : &gl.modelview;
}

void glLoadIdentity() {
  gl.current->back() = Matrix{};
}

// A full stack, or an empty one, is an error in GL that changes nothing.
void glPushMatrix() {
  if (gl.current->size() < stack_depth) gl.current->push_back(gl.current->back());
}

void glPopMatrix() {
  if (gl.current->size() > 1) gl.current->pop_back();
}

void glMultMatrixf(const GLfloat* m) {
  Matrix by;
  std::memcpy(by.m, m, sizeof by.m);
  multiply_current(by);
}

void glMultMatrixd(const GLdouble* m) {
  Matrix by;
  std::copy(m, m + 16, by.m);  // each rounded to single precision
  multiply_current(by);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
  multiply_current(Matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}});
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z) {
  glTranslatef(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

// About any axis made a unit vector first; about a principal one, as the program always
// turns, Mesa's matrix holds the bare sine and cosine, and a 1 where the axis meets itself.
void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
  const float s = static_cast<float>(std::sin(angle * M_PI / 180.0));
  const float c = static_cast<float>(std::cos(angle * M_PI / 180.0));
  Vec3 axis = {x, y, z};
  if (dot(axis, axis) == 0.0f) return;  // no axis: GL leaves the matrix as it is
  normalize(axis);
  Matrix by;
  for (int col = 0; col < 3; ++col) {
    for (int row = 0; row < 3; ++row) {
      const int other = 3 - row - col;  // the axis neither row nor column names
      const float sine = row == col ? 0.0f : ((col - row + 3) % 3 == 1 ? -s : s) * axis[other];
      by.m[col * 4 + row] = axis[row] * axis[col] * (1.0f - c) + (row == col ? c : sine);
    }
    if (axis[(col + 1) % 3] == 0.0f && axis[(col + 2) % 3] == 0.0f) by.m[col * 5] = 1.0f;
  }
  multiply_current(by);
}

// Positions are taken through the model-view matrix of the moment, as GL does.
void glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  Light& l = gl.lights[light - GL_LIGHT0];
  if (pname == GL_POSITION) {
    transform(gl.modelview.back().m, params, params[3], l.position);
  } else {
    float* field = pname == GL_AMBIENT ? l.ambient : pname == GL_DIFFUSE ? l.diffuse : l.specular;
    std::memcpy(field, params, 4 * sizeof(float));
  }
}

// The program gives the front face's ambient, diffuse, specular, emission and shininess.
void glMaterialfv(GLenum /*face: always GL_FRONT*/, GLenum pname, const GLfloat* params) {
  Material& m = gl.front;
  float* field = pname == GL_AMBIENT    ? m.ambient
                 : pname == GL_DIFFUSE  ? m.diffuse
                 : pname == GL_SPECULAR ? m.specular
                 : pname == GL_EMISSION ? m.emission
                                        : &m.shininess;
  std::memcpy(field, params, (pname == GL_SHININESS ? 1 : 4) * sizeof(float));
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  gl.normal = {x, y, z};
}

void glBegin(GLenum mode) {
  page.batch.begun = mode;
  page.batch.group.clear();
  take_matrices();
}

// The group's vertices in the order given, made lines or triangles as the mode asks.
void glEnd() {
  Batch& b = page.batch;
  if (b.begun == 0) return;
  std::vector<int> sequence(b.group.size()), order;
  std::iota(sequence.begin(), sequence.end(), 0);
  assemble(b.begun, sequence, order);
  const bool lines = b.begun == GL_LINES || b.begun == GL_LINE_STRIP || b.begun == GL_LINE_LOOP;
  add_primitives(lines ? GL_LINES : GL_TRIANGLES, b.group, order);
  b.begun = 0;
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  const float vertex[3] = {x, y, z};
  page.batch.group.push_back(lit_vertex(vertex, gl.normal.data()));
}

void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  glVertex3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

// Texturing is kept off, and on the desktop a texture without an image changes nothing.
void glTexCoord1f(GLfloat /*s*/) {}

// Colours are always interpolated across a primitive, as GL_SMOOTH asks.
void glShadeModel(GLenum /*mode*/) {}

// The raster position: lit like a vertex, projected to window pixels, and invalid (its
// text then skipped) outside the view volume. web/bitmap_text.cpp draws the text there, no
// taller than the window pixels between this row and the next, one unit below.
void glRasterPos2i(GLint x, GLint y) {
  const float point[3] = {static_cast<float>(x), static_cast<float>(y), 0.0f};
  const float below[3] = {point[0], point[1] - 1.0f, 0.0f};
  float clip[4], next[4];
  Raster& r = page.raster;
  // Mesa lights a raster position at its object coordinates, against the lamps' eye
  // coordinates; the desktop's text has that colour, so the page's does too.
  light_at(gl.modelview.back(), point, gl.normal.data(), r.color);
  to_clip(point, clip);
  to_clip(below, next);
  const float w = clip[3];
  r.valid = std::fabs(clip[0]) <= w && std::fabs(clip[1]) <= w && std::fabs(clip[2]) <= w;
  r.x = to_window(clip, 0);
  r.y = to_window(clip, 1);
  r.z = clip[2] * (1.0f / w);
  r.row = std::fabs(r.y - to_window(next, 1));
}

}  // extern "C"
