// The graphics card's side of the page: the WebGL objects that draw the frame's batch.
#pragma once

// Makes the shaders, the program and the vertex buffer, and binds them for good; once when
// the window is made and again when a lost context comes back.
void make_gl_objects();

// Draws the frame's batch, a call per run, and empties it.
void draw_batch();
