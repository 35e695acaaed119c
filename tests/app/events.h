// The program's handlers driven by the verbs of tests/data/app/events.txt, for the tests that
// play it on the desktop's OpenGL (program_test.cpp) and on the web layer's (colours_test.cpp).
#pragma once

#include <string>
#include <vector>

// The menu callbacks by menu number, in the order create_menus makes them; each test takes
// them from glutCreateMenu.
extern std::vector<void (*)(int)> menus;

// Runs one event: key C | special up|down | mouse | motion X Y | reshape W H | idle N |
// frame N | run N (N idle calls, then N frames) | menu M V (the callback of menu number M
// with value V) | reset (the model, as at start-up).
void apply_event(const std::string& line);

// The lines of tests/data/NAME, but for blank ones and comments.
std::vector<std::string> data_lines(const std::string& name);
