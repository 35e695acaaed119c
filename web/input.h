// The page's input through Emscripten's html5.h: keys, the mouse, fingers, and the picture's
// size. Each becomes an event for the program's handlers at the start of the next frame.
#pragma once

#include "web/page.h"

// Listens to the page's events and fits the drawing buffer to the picture's size.
void listen_to_page();

// Fits the drawing buffer to the picture's size, and tells the program when it changes.
void fit_picture();

// Queues an event for the next frame.
void queue(const Event& event);

// Once a frame: a finger held still for long enough opens the menu where it is.
void check_long_press();
