// The verbs of tests/data/app/events.txt, and the program's GLUT calls and drawn groups as
// the tests see them.
#include "tests/app/events.h"

#include "app/input.h"
#include "app/menus.h"
#include "app/options.h"
#include "app/startup.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>
#include <fstream>
#include <iterator>
#include <sstream>

std::vector<void (*)(int)> menus;
std::string call_log, frame_text;
int redisplays = 0;
const char* const group_names[] = {"points",     "lines",          "line_loop",    "line_strip",
                                   "triangles",  "triangle_strip", "triangle_fan", "quads",
                                   "quad_strip", "polygon",        "solid_sphere", "wire_sphere",
                                   "text"};
void (*group_begins)(int group) = [](int /*group*/) {};

void apply_event(const std::string& line) {
  std::istringstream in(line);
  std::string verb, rest;
  int a = 0, b = 0;
  std::getline(in >> verb >> std::ws, rest);
  std::istringstream(rest) >> a >> b;
  if (verb == "reset" || verb == "start") reset_simulation();
  if (verb == "start") init_graphics(), create_menus(), reshape(window_width, window_height);
  if (verb == "key") keyboard(static_cast<unsigned char>(rest.at(0)), 0, 0);
  if (verb == "special") special_key(rest == "up" ? GLUT_KEY_PAGE_UP : GLUT_KEY_PAGE_DOWN, 0, 0);
  if (verb == "mouse") mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
  if (verb == "motion") motion(a, b);
  if (verb == "reshape") reshape(a, b);
  if (verb == "menu") menus.at(static_cast<size_t>(a - 1))(b);
  if (verb == "options") {  // as main reads its command line once the menus are made
    std::istringstream line("foucault " + rest);
    std::vector<std::string> words{std::istream_iterator<std::string>(line), {}};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int argc = static_cast<int>(words.size());
    choose_language(&argc, argv.data());
    apply_options(argc, argv.data());
  }
  for (int i = 0; (verb == "idle" || verb == "run") && i < a; ++i) idle();
  for (int i = 0; (verb == "frame" || verb == "run") && i < a; ++i) display();
}

std::vector<std::string> data_lines(const std::string& name) {
  std::ifstream in(FOUCAULT_TEST_DATA "/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  return lines;
}

int glutCreateMenu(void (*callback)(int)) {
  menus.push_back(callback);
  call_log += "glutCreateMenu -> " + std::to_string(menus.size()) + "\n";
  return static_cast<int>(menus.size());
}
void glutAddMenuEntry(const char* label, int value) {
  call_log += "glutAddMenuEntry \"" + std::string(label) + "\" " + std::to_string(value) + "\n";
}
void glutAddSubMenu(const char* label, int menu) {
  call_log += "glutAddSubMenu \"" + std::string(label) + "\" " + std::to_string(menu) + "\n";
}
void glutAttachMenu(int /*button*/) {}
void glutFullScreen() {
  call_log += "glutFullScreen\n";
}
void glutPostRedisplay() {
  ++redisplays;
}

extern "C" {
void __real_glBegin(GLenum mode);
void __real_glRasterPos2i(GLint x, GLint y);
void __real_glutSolidSphere(double radius, GLint slices, GLint stacks);
void __real_glutWireSphere(double radius, GLint slices, GLint stacks);
void __wrap_glBegin(GLenum mode) {
  group_begins(static_cast<int>(mode));
  __real_glBegin(mode);
}
void __wrap_glutSolidSphere(double radius, GLint slices, GLint stacks) {
  group_begins(solid_sphere);
  __real_glutSolidSphere(radius, slices, stacks);
}
void __wrap_glutWireSphere(double radius, GLint slices, GLint stacks) {
  group_begins(wire_sphere);
  __real_glutWireSphere(radius, slices, stacks);
}
void __wrap_glRasterPos2i(GLint x, GLint y) {
  __real_glRasterPos2i(x, y);
  group_begins(text_line);
  frame_text += "\ntext " + std::to_string(x) + " " + std::to_string(y) + " ";
}
}
