// Keyboard and mouse handlers. They change the shared records and never draw; the next
// frame shows what they did.
#pragma once

#include "sim/sim_state.h"

constexpr double latitude_step = radians(18.0);  // + and -
constexpr float eye_step = 5.0f;                 // Page Up / Page Down

void keyboard(unsigned char key, int x, int y);
void special_key(int key, int x, int y);
void mouse(int button, int state, int x, int y);
// Sets the view angles to the pointer's position in pixels, taken as degrees.
void motion(int x, int y);
