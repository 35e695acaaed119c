// The program's handlers driven by the verbs of tests/data/app/events.txt, and its GLUT calls
// and drawn groups as the tests see them, for the tests that play it on the desktop's OpenGL
// (program_test.cpp) and on the web layer's (colours_test.cpp). freeglut's menu, full-screen
// and redisplay calls are stood in for here; glBegin, the GLUT spheres and glRasterPos2i are
// wrapped at link time (-Wl,--wrap=...).
#pragma once

#include <string>
#include <vector>

// The menu callbacks by menu number, in the order create_menus makes them.
extern std::vector<void (*)(int)> menus;

// The GLUT calls since the last take: menus made, entries added, full screen asked, each a
// line, and the redisplays asked, counted. The text lines written since the last clear:
// each "\ntext X Y " (glRasterPos2i's place) and the test's record of the characters.
extern std::string call_log, frame_text;
extern int redisplays;

// The drawn groups by number: a glBegin mode, then a GLUT sphere or a line of text. Where each
// begins, the wrapped calls give group_begins its number (a line of text once its raster
// position is set).
extern const char* const group_names[];
constexpr int solid_sphere = 10, wire_sphere = 11, text_line = 12;
extern void (*group_begins)(int group);

// Runs one event: key C | special up|down | mouse | motion X Y | reshape W H | idle N |
// frame N | run N (N idle calls, then N frames) | menu M V (the callback of menu number M
// with value V) | reset (the model, as at start-up) | start (the program as main starts it
// once its window is open: the model, the graphics, the menus and the first reshape) |
// options WORDS (the command line's words after the program's name, read as main reads them).
void apply_event(const std::string& line);

// The lines of tests/data/NAME, but for blank ones and comments.
std::vector<std::string> data_lines(const std::string& name);
