// The graphics card's side of the page: the WebGL objects that draw the frame's batch.
#pragma once

// Makes the shaders, the program and the buffers, binds them for good, and gives WebGL the
// state the program set; once when the window is made and again when a lost context comes back.
void make_gl_objects();
