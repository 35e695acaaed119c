// What start-up owns besides main: the language of the command line, the directory prefix
// of the help path and the quit sequence of the Q key.
#pragma once

// Prefix for the help path; empty for the whole run (the help is looked for in the
// folder the program was started from).
extern char base_dir[256];

// Prints the simulated time, a contact line and the farewell, then ends with status 0.
[[noreturn]] void quit_program();

// Takes "--lang CODE" or "--lang=CODE" out of the command line (before glutInit reads it) and
// chooses that language for every text, the model's console included. An unknown or missing
// code is named on one console line with the known ones, and the texts stay the default.
void choose_language(int* argc, char** argv);
