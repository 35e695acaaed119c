// The page's input through Emscripten's html5.h: keys, the mouse, fingers, and the picture's
// size. Each becomes an event for the program's handlers.
#pragma once

#include "web/page.h"

// Listens to the page's events and fits the drawing buffer to the picture's size.
void listen_to_page();

// Fits the drawing buffer to the picture's size, and tells the program when it changes.
void fit_picture();

// Hands an event to the program's handlers: at once once the loop runs, inside the browser's
// event; before that, at the first frame, when the handlers are there.
void queue(const Event& event);

// Hands the queued events to the program's handlers (web/glut.cpp).
void deliver_events();

// Once a frame: a finger held still for long enough opens the menu where it is.
void check_long_press();
