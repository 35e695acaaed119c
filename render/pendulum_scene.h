// The pendulum at its site: trace, square plate, rod, gallows, the Earth's axis and the
// bob, in the Earth frame or with the plate and trace turning with the plane of swing.
#pragma once

constexpr double site_radius = 11.0;  // the site stands 1 unit above the surface
constexpr float bob_radius = 0.5f;
constexpr double suspension_factor = 1.3;  // suspension point 3.3 above the site
constexpr float square_half_side = 2.0f;
constexpr float square_depth = -0.1f;  // the plate lies 0.1 below the bob's centre
constexpr float arm_half_width = 0.05f;
constexpr float arm_length = 4.0f;
constexpr float axis_half_length = 40.0f;  // pole to pole of the sky sphere

// Takes this frame's trace sample, then draws. bob_x points north, bob_y west; bob_z has
// no effect (the bob stays at the height of the site). Expects the Earth frame on the
// model-view matrix and leaves it unchanged; material_red is in force on return.
void draw_pendulum(double bob_x, double bob_y, double bob_z);
