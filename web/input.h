// The page's input through Emscripten's html5.h: keys, the mouse, fingers, and the picture's
// size, each handed to the program's handler inside the browser's own event.
#pragma once

#include "web/page.h"

#include <csetjmp>

// Listens to the page's events and fits the drawing buffer to the picture's size.
void listen_to_page();

// Fits the drawing buffer to the picture's size; once the loop runs, the program's reshape
// handler hears of a change at once.
void fit_picture();

// Once a frame: a finger held still for long enough opens the menu where it is.
void check_long_press();

// Calls one of the program's handlers, if it has one yet. An exit there (Q) comes back here
// (web/glut.cpp), so that the browser's event ends as usual.
template <typename... Params, typename... Args>
void handle(void (*handler)(Params...), Args... args) {
  if (handler == nullptr || page.ended) return;
  std::jmp_buf here;
  page.escape = &here;
  if (setjmp(here) == 0) handler(args...);
  page.escape = nullptr;
}
