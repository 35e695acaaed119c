// One real GLUT window on Mesa per test process, a small language of user events, and
// text dumps of what the program holds and draws, compared with files under tests/data.
#pragma once

#include <string>
#include <vector>

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

// Opens the window once per process with the graphics set-up, resets the model quietly
// and builds the menus (recorded, not shown: see the wrappers in the source).
void open_gl_window();

// Runs one event line and returns what it printed on the console:
//   key C | special up|down | mouse | motion X Y | reshape W H | idle N | frame N
//   run N (N times an idle call then a frame) | menu Label|Sub label (blanks at the ends
//   of a label may be left out)
std::string apply_event(const std::string& line);

// The three records, one "name=value" word per field; doubles round-trip exactly.
std::string dump_records();

// The GL state a frame relies on, then the frame drawn in feedback mode: one line per
// primitive (window coordinates, depth and lit colour of each vertex) and one per text.
std::string dump_frame();

// The text that the calls since the last take made of the menu tree and the commands run.
std::string take_call_log();

// Compares text with tests/data/<name>: byte for byte, or with numbers that may differ
// by tolerance. FOUCAULT_REGEN=1 writes the file instead.
void expect_data(const std::string& name, const std::string& text, double tolerance = 0.0);

// The data file's lines, without blank lines and '#' comments.
std::vector<std::string> data_lines(const std::string& name);
