// The right-button menu tree and its four callbacks.
#pragma once

// The help entry's command, handed to the host's command interpreter, with "" and "" for the
// default texts' help.html, or "." and the language's code for help.LANG.html.
constexpr const char* help_command = "open ./help%s%s.html  with Safari";

// Runs a shell command and waits for it; std::system unless a test replaces it.
extern int (*run_command)(const char* command);

// Builds the observer, release, latitude, rotation and main menus, in that order, and
// attaches the main menu to the right button of the current window.
void create_menus();

// Moves the pendulum to latitude (radians) and releases it from the south, as each entry of
// the latitude menu does.
void move_pendulum(double latitude);

// Callbacks; a value that no entry carries does nothing.
void menu_main(int value);      // full reset, releases, help
void menu_view(int value);      // observer's viewpoints

// The observer's viewpoints, as menu_view's values 1 to 3 set them: from above the north pole,
// from the equator's plane, and from three-quarters north.
struct Viewpoint {
  float rot_y;
  float rot_x;
};
constexpr Viewpoint viewpoints[] = {{0.0f, 0.0f}, {-90.0f, 0.0f}, {675.0f, 336.0f}};
void menu_latitude(int value);  // the five latitudes
void menu_rotation(int value);  // Earth or sky fixed, co-rotating frame, rate
