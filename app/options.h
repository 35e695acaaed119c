// The start-up options: "--name value" or "--name=value" on the command line, the words the
// page makes from its address ("?name=value&..."). Each gives the state that its menu entry
// or key gives after start-up, and prints nothing.
#pragma once

#include <string>

// What an option asks for that no menu entry holds.
struct Options {
  std::string csv_path;  // --csv FILE: the file the measurements are written to; "" for none
};

extern Options options;

// With "--help" on the command line, prints the options in the chosen language and ends with
// status 0. Call it before glutInit: it needs no window.
void help_option(int argc, char** argv);

// Reads the options of argv and applies them, in a fixed order (latitude or place, release,
// view, earth, corotate, rate, camera, help-lines, projector), once the model is reset and
// the menus are made. A bad name or value prints one line, in the chosen language, naming the
// option and what it takes, and is left out; of an option given twice the last holds. Words
// that do not begin with "--" are glutInit's (-display, -geometry) and are left alone.
void apply_options(int argc, char** argv);

// The options that give the present state, as an address's query without its "?":
// "latitude=68&release=south&view=pole&earth=turning&...&lang=de". The latitude and the rate
// to nine digits; the release and the view where they are one of the menu's, and the language
// where one is chosen.
std::string option_words();
