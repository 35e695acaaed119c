// The globe and the sky: a solid Earth of radius 10 under a wire shell, inside a coarse
// wire sky sphere of radius 40 that turns with sky_angle.
#pragma once

constexpr float earth_radius = 10.0f;

// Expects the camera and the Earth's rotation on the model-view matrix and leaves it as
// it found it; material_grid is in force on return.
void draw_earth();
