// Graphics set-up, the reshape handler, the lamps and the material presets.
#include "render/graphics.h"

#include <GL/glu.h>

#include <cmath>

GLfloat light0_ambient[4] = {1.0f, 1.0f, 1.0f, 1.0f};
GLfloat light0_diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
GLfloat light0_position[4] = {10.0f, 15.0f, -5.0f, 1.0f};
GLfloat light1_ambient[4] = {1.0f, 1.0f, 1.0f, 1.0f};
GLfloat light1_diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
GLfloat light1_position[4] = {10.0f, 15.0f, 5.0f, 1.0f};

namespace {

struct Material {
  GLfloat ambient[4];
  GLfloat diffuse[4];
  GLfloat emission[4];
  GLfloat specular[4];
  GLfloat shininess[1];
};

const Material red = {
    {0.5f, 0.0f, 0.0f, 1.0f}, {0.5f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 0.0f},
    {0.7f, 0.7f, 0.7f, 0.6f}, {28.0f}};
// The red material glowing: its emission alone gives red 0.4 over the 0.6 that the lamp's and
// the scene's ambient light give, and green and blue 0.3.
const Material projector_text = {
    {0.5f, 0.0f, 0.0f, 1.0f}, {0.5f, 0.0f, 0.0f, 1.0f}, {0.4f, 0.3f, 0.3f, 1.0f},
    {0.7f, 0.7f, 0.7f, 0.6f}, {28.0f}};
const Material slate = {{0.105882f, 0.058824f, 0.113725f, 1.0f},
                        {0.427451f, 0.470588f, 0.541176f, 1.0f},
                        {0.0f, 0.0f, 0.0f, 0.0f},
                        {0.333333f, 0.333333f, 0.521569f, 1.0f},
                        {10.0f}};
const Material earth = {
    {0.0f, 0.06f, 0.36f, 1.0f}, {0.0f, 0.95f, 0.8f, 1.0f}, {0.0f, 0.0f, 0.5f, 1.0f},
    {0.0f, 0.3f, 0.5f, 1.0f}, {128.0f}};
const Material grid = {
    {0.0f, 0.06f, 1.0f, 1.0f}, {0.0f, 0.45f, 1.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f},
    {0.0f, 0.3f, 1.0f, 1.0f}, {128.0f}};

void apply(const Material& m) {
  glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
  glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
  glMaterialfv(GL_FRONT, GL_EMISSION, m.emission);
  glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
  glMaterialfv(GL_FRONT, GL_SHININESS, m.shininess);
}

}  // namespace

void init_graphics() {
  // Texturing is on, but no image is ever given, so it changes no fragment.
  glEnable(GL_TEXTURE_2D);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClearDepth(1.0);
  glDepthFunc(GL_LESS);
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glFrontFace(GL_CCW);
  // Culling is never enabled, so this mode changes nothing on screen: it is kept so that the
  // graphics state stays the one the program has always had (the picture records hold it).
  glCullFace(GL_FRONT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  // The window asked for at start-up, until the first reshape; its aspect in single precision.
  gluPerspective(field_of_view,
                 static_cast<float>(window_width) / static_cast<float>(window_height), near_plane,
                 far_plane);
  // Model-view is still the context's identity: these positions are in eye coordinates.
  glMatrixMode(GL_MODELVIEW);
  glLightfv(GL_LIGHT0, GL_AMBIENT, light0_ambient);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, light0_diffuse);
  glLightfv(GL_LIGHT0, GL_POSITION, light0_position);
  glLightfv(GL_LIGHT1, GL_AMBIENT, light1_ambient);
  glLightfv(GL_LIGHT1, GL_DIFFUSE, light1_diffuse);
  glLightfv(GL_LIGHT1, GL_POSITION, light1_position);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT1);
}

void reshape(int width, int height) {
  if (height == 0) {
    height = 1;
  }
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(field_of_view, static_cast<double>(width) / static_cast<double>(height),
                 near_plane, far_plane);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

float rotation_degrees(double degrees) {
  // fmod is exact, and leaves an angle below 360 degrees unchanged.
  return static_cast<float>(std::fmod(degrees, 360.0));
}

void material_red() { apply(red); }
void material_slate() { apply(slate); }
void material_earth() { apply(earth); }
void material_grid() { apply(grid); }
void material_projector_text() { apply(projector_text); }
