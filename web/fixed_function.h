// OpenGL 1.1's fixed function for the browser, which WebGL lacks: the matrix stacks, the
// per-vertex lighting and glBegin/glEnd, gathered into the frame's batch (web/page.h).
#pragma once

#include "web/page.h"

#include <vector>

// Takes the matrices of the moment for the vertices that follow, as glBegin does.
void take_matrices();

// A vertex (object coordinates) with its normal, in clip coordinates, coloured by OpenGL
// 1.1's lighting equation while lighting is on, white otherwise.
Vertex lit_vertex(const float vertex[3], const float normal[3]);

// Appends to `order` the primitives that a glBegin mode makes of a sequence of vertex
// numbers: lines or triangles, two or three numbers each, as GL parts them.
void assemble(GLenum mode, const std::vector<int>& sequence, std::vector<int>& order);

// Appends vertices to the batch, each once, and lines or triangles (kind) between them:
// `order` holds their numbers in `points`, two or three a primitive.
void add_primitives(GLenum kind, const std::vector<Vertex>& points, const std::vector<int>& order);

// A colour from 0 to 1 into the vertex, rounded to bytes as GL rounds it.
void set_color(Vertex& v, const float rgba[4]);
