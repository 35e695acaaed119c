// A real GLUT window on Mesa for each test process, and readers for what OpenGL drew:
// state queries, feedback-mode geometry and pixel probes.
#pragma once

#include <GL/gl.h>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

// Opens the window once per process (each test runs in its own process), with the
// graphics set-up and a reshape to the window's size; resets the model quietly.
void open_gl_window();

// Runs f with standard output sent to /dev/null.
void quietly(const std::function<void()>& f);

// One primitive read back in feedback mode (GL_3D_COLOR): window coordinates and colour.
struct FbVertex {
  float x, y, z;
  float r, g, b, a;
};
struct FbPrimitive {
  GLenum token;  // GL_LINE_TOKEN, GL_LINE_RESET_TOKEN, GL_POLYGON_TOKEN, GL_BITMAP_TOKEN, ...
  std::vector<FbVertex> vertices;
};

// Runs draw in feedback mode and returns the primitives it produced.
std::vector<FbPrimitive> feedback(const std::function<void()>& draw);

// Pushes an object-space point through the current model-view and projection matrices
// and viewport, as feedback reports it.
std::array<double, 3> project(double x, double y, double z);

// Mean colour (0..255) of a square of pixels centred on (x, y), window coordinates with
// y up, read from the back buffer (what is drawn and not yet shown).
std::array<double, 3> probe(int x, int y, int half = 2);

// The same, read from the window on the X screen after the frame was swapped: what a
// person sees.
std::array<double, 3> probe_screen(int x, int y, int half = 2);

// The brightest pixel of such a square on the screen: for thin lines and glyphs.
std::array<double, 3> brightest_on_screen(int x, int y, int half);

class GlTest : public testing::Test {
 protected:
  void SetUp() override { open_gl_window(); }
};
