// OpenGL 1.1's fixed function for the browser, which WebGL lacks: the matrix stacks, the
// per-vertex lighting and glBegin/glEnd, gathered into the frame's batch (web/page.h).
#pragma once

#include "web/page.h"

// Hands one vertex (object coordinates) with its normal to the group being given, coloured
// by OpenGL 1.1's lighting equation while lighting is on, white otherwise.
void lit_vertex(const float vertex[3], const float normal[3]);

// Appends vertices, already in clip coordinates, to the batch as lines or triangles.
void add_vertices(GLenum mode, const Vertex* vertices, int count);

// Scales a 3-vector to unit length; the zero vector stays as it is.
void normalize(float* v);

// The matrix on top of the current stack, and it multiplied on the right, as GL does.
Matrix& current_matrix();
void multiply_current(const Matrix& by);
