// The verbs of tests/data/app/events.txt.
#include "tests/app/events.h"

#include "app/input.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>
#include <fstream>
#include <sstream>

std::vector<void (*)(int)> menus;

void apply_event(const std::string& line) {
  std::istringstream in(line);
  std::string verb, rest;
  int a = 0, b = 0;
  std::getline(in >> verb >> std::ws, rest);
  std::istringstream(rest) >> a >> b;
  if (verb == "reset") reset_simulation();
  if (verb == "key") keyboard(static_cast<unsigned char>(rest.at(0)), 0, 0);
  if (verb == "special") special_key(rest == "up" ? GLUT_KEY_PAGE_UP : GLUT_KEY_PAGE_DOWN, 0, 0);
  if (verb == "mouse") mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
  if (verb == "motion") motion(a, b);
  if (verb == "reshape") reshape(a, b);
  if (verb == "menu") menus.at(static_cast<size_t>(a - 1))(b);
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
