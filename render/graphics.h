// Graphics state every frame relies on: clear values, depth test, projection, the two
// lamps (only lamp 1, the sun, is ever on) and the four material presets.
#pragma once

#include <GL/gl.h>

// Light parameters handed to glLightfv; positions are homogeneous with w = 1 (point lamps).
extern GLfloat light0_ambient[4];
extern GLfloat light0_diffuse[4];
extern GLfloat light0_position[4];
extern GLfloat light1_ambient[4];
extern GLfloat light1_diffuse[4];
extern GLfloat light1_position[4];

// The window asked for at start-up, before it goes full screen.
constexpr int window_width = 1024;
constexpr int window_height = 768;

constexpr double field_of_view = 60.0;  // vertical, degrees
constexpr double near_plane = 0.1;
constexpr double far_plane = 1000.0;

// Once, right after the window exists: depth test, lighting with lamp 1, and the projection
// of the window asked for, until the first reshape.
void init_graphics();

// The reshape handler: viewport and projection follow the window; a height of 0 (a
// minimised window) is taken as 1 so the projection stays finite.
void reshape(int width, int height);

// An angle in degrees as glRotatef takes it: reduced modulo 360 in double precision first,
// so that the angles that grow for the whole run keep their fraction of a degree when
// rounded to single precision (and a huge one still gives a finite turn).
float rotation_degrees(double degrees);

// Front-face materials; one of them is in force whenever something is drawn.
void material_red();    // the bob, the co-rotating trace, the text
void material_slate();  // the square, rod, gallows and axis
void material_earth();  // the solid Earth
void material_grid();   // the wire shell, the sky, the Earth-frame trace
// The projector's text: (1, 0.3, 0.3) lit however its normal lies (red saturates, green and
// blue are its glow alone), 6.4:1 on black where the red text's (0.65, 0, 0) is 2.6:1.
void material_projector_text();
