// The program's window as every program that opens it asks for it: the benchmark, the bare
// comparison program and the tests open the same one.
#pragma once

constexpr const char* window_title = "Pendule de Foucault OXA 2003/3004 ~ ~ ~ ~ ~ ~ ~";

// Hands the command line to glutInit, then opens the double-buffered RGB window with a depth
// buffer, window_width x window_height at (0, 0), titled window_title. Returns its GLUT id.
int open_window(int* argc, char** argv);
