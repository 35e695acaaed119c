// GLUT's window, event loop and handlers for the page, on Emscripten's documented interfaces:
// the WebGL context through html5_webgl.h, the loop through emscripten_set_main_loop. The
// page's events reach the program's handlers through web/input.cpp; an exit in one (Q) ends
// the program here.
#include "web/input.h"
#include "web/page.h"
#include "web/webgl.h"

#include <GL/freeglut.h>
#include <csetjmp>
#include <emscripten.h>
#include <emscripten/html5.h>
#include <utility>

// The page's JavaScript: web/layout.js, then web/menu.js.
extern "C" {
void web_frame(), web_stop(), web_fail_webgl(), web_full_screen(), web_context_lost(int lost);
void web_attach_menu();
}

namespace {

// As freeglut's loop does: the display handler when a redisplay is asked for, then the idle
// one. While the context is lost the picture and the pendulum wait.
void frame() {
  web_frame();
  check_long_press();
  if (page.lost || page.ended) return;
  if (std::exchange(page.redisplay, false)) handle(page.display);
  handle(page.idle);
}

// Lost, the context waits for the browser to restore it (the true returned, preventDefault,
// asks for that). Restored, it is a new one: its WebGL objects and the state WebGL keeps are
// made again (web/webgl.cpp); the model, the camera and the lighting stay as they were.
EM_BOOL context_changed(int type, const void*, void*) {
  page.lost = type == EMSCRIPTEN_EVENT_WEBGLCONTEXTLOST;
  if (!page.lost) make_gl_objects();
  page.redisplay = true;
  web_context_lost(page.lost);
  return EM_TRUE;
}

}  // namespace

// The page has one window that fills the browser's: its mode (RGB, double-buffered, with
// depth), size and position are the page's.
void glutInit(int* /*argc*/, char** /*argv*/) {}
void glutInitDisplayMode(unsigned int /*mode*/) {}
void glutInitWindowSize(int /*width*/, int /*height*/) {}
void glutInitWindowPosition(int /*x*/, int /*y*/) {}

// WebGL with a depth buffer and no antialiasing: the desktop's window has none, and the
// text's pixels must fall where the desktop's do. Opaque: the page behind it is black.
int glutCreateWindow(const char* /*title*/) {
  EmscriptenWebGLContextAttributes attributes;
  emscripten_webgl_init_context_attributes(&attributes);
  attributes.alpha = EM_FALSE;
  attributes.antialias = EM_FALSE;
  const auto context = emscripten_webgl_create_context("#canvas", &attributes);
  if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
    web_fail_webgl();
    emscripten_exit_with_live_runtime();
  }
  make_gl_objects();
  emscripten_set_webglcontextlost_callback("#canvas", nullptr, EM_FALSE, context_changed);
  emscripten_set_webglcontextrestored_callback("#canvas", nullptr, EM_FALSE, context_changed);
  listen_to_page();
  return 1;
}

// The page goes full screen only when asked, from a handler (F) or by its own button: the
// program's request at start-up is the desktop's, and a page may not make it.
void glutFullScreen() {
  if (page.running) web_full_screen();
}
// The program's handlers, each kept in the page's record by its GLUT call.
#define KEEP_HANDLER(setter, field)             \
  void setter(decltype(Page::field) callback) { \
    page.field = callback;                      \
  }
KEEP_HANDLER(glutDisplayFunc, display)
KEEP_HANDLER(glutReshapeFunc, reshape)
KEEP_HANDLER(glutKeyboardFunc, keyboard)
KEEP_HANDLER(glutSpecialFunc, special)
KEEP_HANDLER(glutMouseFunc, mouse)
KEEP_HANDLER(glutMotionFunc, motion)
KEEP_HANDLER(glutIdleFunc, idle)
#undef KEEP_HANDLER

void glutPostRedisplay() {
  page.redisplay = true;
}
void glutAttachMenu(int button) {
  page.menu_button = button;
  web_attach_menu();
}

// One frame per display refresh; never returns to main. The reshape handler hears the
// picture's size first, and from here on events reach the handlers as they come.
void glutMainLoop() {
  page.running = true;
  handle(page.reshape, page.width, page.height);
  emscripten_set_main_loop(frame, 0, true);
}

extern "C" {

// A menu choice (web/menu.js) reaches the program inside the click or key that made it.
void web_menu_choice(void (*callback)(int), int value) {
  handle(callback, value);
}

// A page cannot end: the program's exit stops the loop and the page's events, and the page
// keeps its last picture, with a way to start again (web/layout.js). Called from a handler,
// it goes back to where the handler was called, and the browser's event ends as usual.
void __wrap_exit(int /*status*/) {
  page.ended = true;
  emscripten_cancel_main_loop();
  emscripten_html5_remove_all_event_listeners();
  web_stop();
  if (page.escape != nullptr) std::longjmp(*page.escape, 1);
  emscripten_exit_with_live_runtime();
}

}  // extern "C"
