// The program's frame drawn from display lists: the same picture as display(), with all
// fixed geometry (Earth, shell, sky, bob sphere, plate, gallows, axis, overlay text)
// compiled once and only the moving parts (camera, turns, lamps, trace, rod) issued per
// frame. The fastest this renderer draws this picture: the yardstick for display().
#pragma once

// Compiles the lists; needs the program's graphics set-up on the current context.
void build_frame_lists();

// One frame like display(), swap and next-frame request included. Takes the frame's
// trace sample like the program, so both leave the model in the same state.
void display_listed();

// While on, each listed frame also notes where the bob's centre lands on screen.
void locate_bob_on_screen(bool on);

// Window position (x, y up, pixels) of the bob's centre in the last frame that noted it.
void last_bob_on_screen(double& x, double& y);
