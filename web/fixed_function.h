// The web layer's own fixed-function lighting, shared by the immediate-mode wrappers and
// the spheres.
#pragma once

// Hands one vertex (object coordinates) with its normal to the emulation, coloured by
// OpenGL 1.1's lighting equation while lighting is on, white otherwise.
void lit_vertex(const float vertex[3], const float normal[3]);

// Scales a 3-vector to unit length; the zero vector stays as it is.
void normalize(float* v);

// The raster position as glRasterPos2i leaves it: window pixels, depth in normalized device
// coordinates, the lit colour, and whether it fell inside the view volume.
struct Raster {
  bool valid = false;
  float x = 0.0f, y = 0.0f, z = 0.0f;
  float color[3] = {1.0f, 1.0f, 1.0f};
};
extern Raster raster;
