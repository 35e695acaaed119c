// The camera record and the display handler that composes every frame.
#pragma once

#include "render/graphics.h"

#include <cstdint>

constexpr float default_eye_z = 25.0f;  // from the Earth's centre: 15 above the surface

// Camera modes: free rotation (the mouse turns the scene) or zoom (the orientation is
// frozen and the pointer's height sets the distance). Exactly one of the two flags is 1.
struct ViewState {
  int32_t view_free = 1;
  int32_t view_zoom = 0;
  float view_rot_x = 0.0f;   // degrees about x; in zoom mode the distance input
  float view_rot_y = 0.0f;   // degrees about y
  float saved_rot_x = 0.0f;  // orientation frozen at the last free-mode frame
  float saved_rot_y = 0.0f;
  float eye_x = 0.0f;
  float eye_y = 0.0f;
  float eye_z = default_eye_z;
  float look_dx = 0.0f;
  float look_dz = 1.0f;     // the eye looks towards -z
  int32_t corotate = 0;     // draw the plate and trace turning with the plane of swing
  int32_t show_help = 0;    // show the overlay's help lines
  int32_t lighting_on = 1;  // mirrors GL_LIGHTING
  int32_t projector = 0;    // 1: the overlay larger and brighter, for the back of a classroom
};

extern ViewState view;

constexpr double zoom_pixels = window_height;  // pointer travel from distance 25 to 15
constexpr double sun_distance = 30.0;  // sun lamp at (30 cos, 30 sin, 30) in the Earth frame

// Places the sun (lamp 1) and lamp 0 under the current model-view matrix, which holds the
// Earth frame: the sun stands at azimuth earth_angle + sky_angle on screen, still while
// the Earth turns freely.
void place_lamps();

// The display handler: camera, overlay, the Earth's turn, the sun, Earth and sky, the
// pendulum; then swaps and asks for the next frame at once.
void display();
