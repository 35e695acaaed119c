// OpenGL 1.1's per-vertex lighting and the immediate-mode calls around it, for the browser.
// Emscripten's emulation draws nothing with its own lighting on, and turns every primitive
// black once GL_TEXTURE_2D is on without an image; so both stay off in the emulation, and
// each vertex reaches it already coloured by the same equation the desktop's driver runs.
// The wrappers stand in for the GL names through the linker's --wrap (see scripts/web.sh).
#include "web/fixed_function.h"

#include <GL/freeglut.h>

#include <cmath>
#include <cstring>

extern "C" {
void __real_glBegin(GLenum mode);
void __real_glEnable(GLenum cap);
void __real_glDisable(GLenum cap);
void __real_glVertex3f(GLfloat x, GLfloat y, GLfloat z);
}

Raster raster;

namespace {

constexpr int light_count = 8;
constexpr float scene_ambient = 0.2f;  // GL_LIGHT_MODEL_AMBIENT's default, never changed

struct Light {
  bool on = false;
  float ambient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float diffuse[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float position[4] = {0.0f, 0.0f, 1.0f, 0.0f};  // in eye coordinates
};

struct Material {
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float emission[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float shininess = 0.0f;
};

// Light 0 alone starts with a white diffuse and specular part.
struct FixedFunction {
  bool lighting = false;
  Light lights[light_count] = {{false, {0, 0, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 1, 0}}};
  Material front;
  float normal[3] = {0.0f, 0.0f, 1.0f};
  float modelview[16] = {};  // read at glBegin: it cannot change before glEnd
} ff;

float dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

void read_modelview() { glGetFloatv(GL_MODELVIEW_MATRIX, ff.modelview); }

// Column-major, as GL keeps it; w = 0 turns a direction, w = 1 moves a point.
void transform(const float* in, float w, float* out) {
  const float* m = ff.modelview;
  for (int i = 0; i < 4; ++i) {
    out[i] = m[i] * in[0] + m[4 + i] * in[1] + m[8 + i] * in[2] + m[12 + i] * w;
  }
}

// The lighting equation for a point and a normal in eye coordinates, with the viewer at
// infinity and no attenuation or spot, as this program leaves them.
void shade(const float* eye, const float* normal, float* color) {
  const Material& m = ff.front;
  for (int c = 0; c < 3; ++c) color[c] = m.emission[c] + m.ambient[c] * scene_ambient;
  color[3] = m.diffuse[3];
  for (const Light& light : ff.lights) {
    if (!light.on) continue;
    float to_light[3];
    for (int i = 0; i < 3; ++i) {
      to_light[i] = light.position[i] - (light.position[3] != 0.0f ? eye[i] : 0.0f);
    }
    normalize(to_light);
    const float diffuse = std::fmax(dot(normal, to_light), 0.0f);
    float half[3] = {to_light[0], to_light[1], to_light[2] + 1.0f};
    normalize(half);
    const float specular =
        diffuse > 0.0f ? std::pow(std::fmax(dot(normal, half), 0.0f), m.shininess) : 0.0f;
    for (int c = 0; c < 3; ++c) {
      color[c] += light.ambient[c] * m.ambient[c] + diffuse * light.diffuse[c] * m.diffuse[c] +
                  specular * light.specular[c] * m.specular[c];
    }
  }
  for (int c = 0; c < 4; ++c) color[c] = std::fmin(std::fmax(color[c], 0.0f), 1.0f);
}

// The colour at a point (eye coordinates) of a normal in object coordinates. The model-view
// matrix holds only turns and moves here, so it turns normals as it is.
void light_at(const float* at, const float* normal, float* color) {
  if (!ff.lighting) {
    for (int c = 0; c < 4; ++c) color[c] = 1.0f;  // the current colour, never changed
    return;
  }
  float eye_normal[4];
  transform(normal, 0.0f, eye_normal);
  shade(at, eye_normal, color);
}

// Lighting, its lamps and texturing are kept here and never reach the emulation.
bool keep_capability(GLenum cap, bool on) {
  if (cap == GL_LIGHTING) {
    ff.lighting = on;
  } else if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + light_count) {
    ff.lights[cap - GL_LIGHT0].on = on;
  } else {
    return cap == GL_TEXTURE_2D;
  }
  return true;
}

float* material_field(GLenum pname) {
  switch (pname) {
    case GL_AMBIENT: return ff.front.ambient;
    case GL_DIFFUSE: return ff.front.diffuse;
    case GL_SPECULAR: return ff.front.specular;
    case GL_EMISSION: return ff.front.emission;
    default: return nullptr;
  }
}

}  // namespace

void normalize(float* v) {
  const float length = std::sqrt(dot(v, v));
  if (length > 0.0f) {
    for (int i = 0; i < 3; ++i) v[i] /= length;
  }
}

void lit_vertex(const float vertex[3], const float normal[3]) {
  float eye[4], color[4];
  transform(vertex, 1.0f, eye);
  light_at(eye, normal, color);
  glColor4f(color[0], color[1], color[2], color[3]);
  __real_glVertex3f(vertex[0], vertex[1], vertex[2]);
}

extern "C" {

void __wrap_glEnable(GLenum cap) {
  if (!keep_capability(cap, true)) __real_glEnable(cap);
}

void __wrap_glDisable(GLenum cap) {
  if (!keep_capability(cap, false)) __real_glDisable(cap);
}

// Positions are taken through the model-view matrix of the moment, as GL does.
void __wrap_glLightfv(GLenum light, GLenum pname, const GLfloat* params) {
  Light& l = ff.lights[light - GL_LIGHT0];
  if (pname == GL_POSITION) {
    read_modelview();
    transform(params, params[3], l.position);
  } else {
    float* field = pname == GL_AMBIENT ? l.ambient : pname == GL_DIFFUSE ? l.diffuse : l.specular;
    std::memcpy(field, params, 4 * sizeof(float));
  }
}

// The emulation throws on GL_EMISSION; here it is simply the first term of the equation.
void __wrap_glMaterialfv(GLenum /*face: always GL_FRONT*/, GLenum pname, const GLfloat* params) {
  if (pname == GL_SHININESS) {
    ff.front.shininess = params[0];
  } else if (float* field = material_field(pname)) {
    std::memcpy(field, params, 4 * sizeof(float));
  }
}

void __wrap_glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
  ff.normal[0] = x;
  ff.normal[1] = y;
  ff.normal[2] = z;
}

// The emulation has no GL_POLYGON; the program's polygons are convex, so a fan draws them.
void __wrap_glBegin(GLenum mode) {
  read_modelview();
  __real_glBegin(mode == GL_POLYGON ? GL_TRIANGLE_FAN : mode);
}

void __wrap_glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
  const float vertex[3] = {x, y, z};
  lit_vertex(vertex, ff.normal);
}

void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  __wrap_glVertex3f(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

// Texturing stays off, and on the desktop a texture without an image changes nothing.
void glTexCoord1f(GLfloat /*s*/) {}

// The emulation always interpolates colours, as GL_SMOOTH asks.
void __wrap_glShadeModel(GLenum /*mode*/) {}

// The raster position: lit like a vertex, projected to window pixels, and invalid (its
// text then skipped) outside the view volume. web/bitmap_text.cpp draws the text there.
void glRasterPos2i(GLint x, GLint y) {
  read_modelview();
  const float point[3] = {static_cast<float>(x), static_cast<float>(y), 0.0f};
  float eye[4], color[4], projection[16], clip[4];
  GLint viewport[4];
  transform(point, 1.0f, eye);
  // Mesa lights a raster position at its object coordinates, against the lamps' eye
  // coordinates; the desktop's text has that colour, so the page's does too.
  light_at(point, ff.normal, color);
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  for (int i = 0; i < 4; ++i) {
    clip[i] = projection[i] * eye[0] + projection[4 + i] * eye[1] + projection[8 + i] * eye[2] +
              projection[12 + i] * eye[3];
  }
  const float w = clip[3];
  raster.valid = std::fabs(clip[0]) <= w && std::fabs(clip[1]) <= w && std::fabs(clip[2]) <= w;
  // In Mesa's order of operations, so that the text lands on the same whole pixel.
  const float inverse_w = 1.0f / w;
  const float half_width = viewport[2] / 2.0f, half_height = viewport[3] / 2.0f;
  raster.x = clip[0] * inverse_w * half_width + (viewport[0] + half_width);
  raster.y = clip[1] * inverse_w * half_height + (viewport[1] + half_height);
  raster.z = clip[2] * inverse_w;
  std::memcpy(raster.color, color, sizeof raster.color);
}

}  // extern "C"
