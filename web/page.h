// The web layer's state, in one record as the program keeps its own: GLUT's window and its
// handlers, the pointer and the fingers, the GL state the program sets, and the vertices of
// the frame being drawn.
#pragma once

#include <GL/gl.h>
#include <array>
#include <csetjmp>
#include <map>
#include <vector>

// One finger drags as the left button does and, held still, opens the menu; two pinch.
enum class TouchMode { none, drag, pinch, done };
struct Touch {
  TouchMode mode = TouchMode::none;
  double start_time = 0.0;  // ms, when the dragging finger went down
  bool moved = false;       // it has gone farther than a long press allows
  // CSS pixels from the picture: where the finger went down, where it is, and the two
  // fingers' distance that the pinch measures from (0 until they are apart).
  float start_x = 0.0f, start_y = 0.0f, x = 0.0f, y = 0.0f, spread = 0.0f;
};

struct Light {
  bool on = false;
  float ambient[4] = {0, 0, 0, 1}, diffuse[4] = {0, 0, 0, 1}, specular[4] = {0, 0, 0, 1};
  float position[4] = {0, 0, 1, 0};  // in eye coordinates
};

struct Material {
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1};
  float specular[4] = {0, 0, 0, 1}, emission[4] = {0, 0, 0, 1};
  float shininess = 0.0f;
};

constexpr int light_count = 8;
constexpr std::size_t stack_depth = 32;  // GL's least model-view stack, more than the program needs

// A column-major matrix, as GL keeps it.
struct Matrix {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};
// A matrix stack, its top last; it starts with the identity alone.
using MatrixStack = std::vector<Matrix>;

// OpenGL 1.1's state as the program sets it; WebGL keeps only the clear values, the depth
// test and the viewport. Light 0 alone starts with a white diffuse and specular part.
struct FixedFunction {
  bool lighting = false;
  Light lights[light_count] = {{false, {0, 0, 0, 1}, {1, 1, 1, 1}, {1, 1, 1, 1}, {0, 0, 1, 0}}};
  Material front;
  std::array<float, 3> normal = {0.0f, 0.0f, 1.0f};
  MatrixStack modelview{Matrix{}}, projection{Matrix{}};
  MatrixStack* current = &modelview;
  std::array<int, 4> viewport = {0, 0, 0, 0};
};

// The raster position as glRasterPos2i leaves it: window pixels, depth in normalized device
// coordinates, the lit colour, and whether it fell inside the view volume.
struct Raster {
  bool valid = false;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  float row = 0.0f;  // window pixels from this line of text to the next, one unit below
  float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

// A vertex as the graphics card takes it: clip coordinates and the lit colour in bytes, as
// the desktop's window keeps it.
struct Vertex {
  float clip[4];
  unsigned char color[4];
};
// Consecutive lines or triangles drawn with one call: indices first to first + count - 1.
struct Run {
  GLenum mode;
  int first, count;
};
// The frame's lines and triangles, in the order the program draws them: a new run starts
// only where lines give way to triangles or back, so depth ties resolve as on the desktop.
// Each vertex is there once, numbered by 16-bit indices: a frame of this program has some
// ten thousand, and any group that would pass 65,536 is left out.
struct Batch {
  std::vector<Vertex> vertices;
  std::vector<GLushort> indices;
  std::vector<Run> runs;
  // The frame's solid spheres seen from outside, in eye coordinates: centre, and how near
  // their faces come to it (web/spheres.cpp).
  std::vector<std::array<float, 4>> occluders;
  GLenum begun = 0;           // the glBegin mode of the group being given, or 0
  std::vector<Vertex> group;  // its vertices so far
  Matrix modelview, mvp;      // read at glBegin: they cannot change before glEnd
};

struct Page {
  // GLUT's window: the program's handlers and what the next frame does.
  void (*display)() = nullptr;
  void (*reshape)(int, int) = nullptr;
  void (*keyboard)(unsigned char, int, int) = nullptr;
  void (*special)(int, int, int) = nullptr;
  void (*mouse)(int, int, int, int) = nullptr;
  void (*motion)(int, int) = nullptr;
  void (*idle)() = nullptr;
  // A redisplay asked for; the loop begun; the program ended (exit); the graphics context
  // lost, until the browser restores it.
  bool redisplay = true, running = false, ended = false, lost = false;
  std::jmp_buf* escape = nullptr;  // where an exit in a handler goes back to (web/input.h)

  // The picture: the drawing buffer's size, its CSS size, and a glyph pixel's size on screen.
  int width = 0, height = 0, text_scale = 1;
  double css_width = 0.0, css_height = 0.0;

  // The mouse and the fingers.
  int menu_button = -1, held = -1;  // the button that opens the menu; the one held down
  Touch touch;

  // What WebGL keeps of the state the program sets, given again to a restored context
  // (web/webgl.cpp) with gl.viewport; the rest of GL's state lives in gl.
  std::map<GLenum, bool> enabled;  // the capabilities WebGL has, switched on or off
  std::array<float, 4> clear_color = {0.0f, 0.0f, 0.0f, 0.0f};

  FixedFunction gl;
  Raster raster;
  Batch batch;
  bool leave_out_hidden = true;  // what the depth test would hide anyway (web/spheres.cpp)
};

extern Page page;
