// GLUT's window, event loop and handlers for the page, on Emscripten's documented interfaces:
// the WebGL context through html5_webgl.h, the loop through emscripten_set_main_loop. The
// page's events (web/input.cpp) reach the program's handlers here, one at a time, as
// freeglut's loop hands them over; a handler that ends the program (Q) ends it here.
#include "web/input.h"
#include "web/page.h"
#include "web/webgl.h"

#include "render/graphics.h"

#include <GL/freeglut.h>
#include <csetjmp>
#include <emscripten.h>
#include <emscripten/html5.h>

extern "C" {
// web/layout.js
void web_frame();
void web_stop();
void web_fail_webgl();
void web_full_screen();
void web_context_lost(int lost);
// web/menu.js
void web_attach_menu();
}

namespace {

void dispatch(const Event& e) {
  switch (e.kind) {
    case EventKind::key:
      if (page.keyboard != nullptr)
        page.keyboard(static_cast<unsigned char>(e.a), page.pointer_x, page.pointer_y);
      break;
    case EventKind::special:
      if (page.special != nullptr) page.special(e.a, page.pointer_x, page.pointer_y);
      break;
    case EventKind::mouse:
      page.pointer_x = e.c;
      page.pointer_y = e.d;
      if (page.mouse != nullptr) page.mouse(e.a, e.b, e.c, e.d);
      break;
    case EventKind::motion:
      page.pointer_x = e.a;
      page.pointer_y = e.b;
      if (page.motion != nullptr) page.motion(e.a, e.b);
      break;
    case EventKind::reshape:
      if (page.reshape != nullptr) page.reshape(e.a, e.b);
      break;
    case EventKind::menu:
      e.menu(e.a);
      break;
  }
}

// As freeglut's loop does: the events, the display handler when a redisplay is asked for,
// then the idle one. While the context is lost the picture and the pendulum wait.
void frame() {
  web_frame();
  deliver_events();
  check_long_press();
  if (page.lost || page.ended) return;
  if (page.redisplay && page.display != nullptr) {
    page.redisplay = false;
    page.display();
  }
  if (page.idle != nullptr) page.idle();
}

// preventDefault (the true returned) tells the browser that the page will restore it.
EM_BOOL context_lost(int, const void*, void*) {
  page.lost = true;
  web_context_lost(1);
  return EM_TRUE;
}

// A restored context is a new one: the WebGL objects are made again and the program's
// graphics set-up runs again, under the identity model-view it expects; a reshape follows,
// as after the window was made, at the picture's size of now. Lighting is the pupil's to switch
// ('l'), not the context's: it stays as it was, and so does everything in the model and the camera.
EM_BOOL context_restored(int, const void*, void*) {
  make_gl_objects();
  const bool lighting = page.gl.lighting;
  glMatrixMode(GL_MODELVIEW);
  page.gl.modelview.top = 0;
  glLoadIdentity();
  init_graphics();
  page.gl.lighting = lighting;
  page.lost = false;
  page.width = page.height = 0;  // so that the reshape comes, whether the size changed or not
  fit_picture();
  page.redisplay = true;
  web_context_lost(0);
  return EM_TRUE;
}

}  // namespace

// Each event is handed over inside the browser's own (a page may go full screen only there),
// so an exit in a handler (Q) must end there too: it comes back to the setjmp below.
void deliver_events() {
  std::jmp_buf here;
  std::jmp_buf* const outer = page.escape;
  if (setjmp(here) == 0) {
    page.escape = &here;
    while (!page.events.empty()) {
      const Event e = page.events.front();
      page.events.erase(page.events.begin());
      dispatch(e);
    }
  }
  page.escape = outer;
}

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
  const EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context =
      emscripten_webgl_create_context("#canvas", &attributes);
  if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
    web_fail_webgl();
    emscripten_exit_with_live_runtime();
  }
  make_gl_objects();
  emscripten_set_webglcontextlost_callback("#canvas", nullptr, EM_FALSE, context_lost);
  emscripten_set_webglcontextrestored_callback("#canvas", nullptr, EM_FALSE, context_restored);
  listen_to_page();
  return 1;
}

// The page goes full screen only when asked, from a handler (F) or by its own button: the
// program's request at start-up is the desktop's, and a page may not make it.
void glutFullScreen() {
  if (page.running) web_full_screen();
}
void glutDisplayFunc(void (*callback)()) {
  page.display = callback;
}
void glutReshapeFunc(void (*callback)(int, int)) {
  page.reshape = callback;
}
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) {
  page.keyboard = callback;
}
void glutSpecialFunc(void (*callback)(int, int, int)) {
  page.special = callback;
}
void glutMouseFunc(void (*callback)(int, int, int, int)) {
  page.mouse = callback;
}
void glutMotionFunc(void (*callback)(int, int)) {
  page.motion = callback;
}
void glutIdleFunc(void (*callback)()) {
  page.idle = callback;
}
void glutPostRedisplay() {
  page.redisplay = true;
}
void glutAttachMenu(int button) {
  page.menu_button = button;
  web_attach_menu();
}

// The frame's batch goes to the card; the browser shows it when the loop's call returns.
void glutSwapBuffers() {
  draw_batch();
}

// One frame per display refresh; never returns to main. From here on, events reach the
// handlers as they come (web/input.cpp).
void glutMainLoop() {
  page.running = true;
  emscripten_set_main_loop(frame, 0, true);
}

extern "C" {

// The key bar and the menu (web/input.js, web/menu.js) hand their events over here.
void web_key(int key) {
  queue({EventKind::key, key});
}
void web_special(int key) {
  queue({EventKind::special, key});
}
void web_menu_choice(void (*callback)(int), int value) {
  Event e{EventKind::menu, value};
  e.menu = callback;
  queue(e);
}

// A page cannot end: the program's exit stops the loop and the page's events, and the page
// keeps its last picture, with a way to start again (web/layout.js). Called from a handler,
// it goes back to where the events are handed over, and the browser's event ends as usual.
void __wrap_exit(int /*status*/) {
  page.ended = true;
  page.events.clear();
  emscripten_cancel_main_loop();
  emscripten_html5_remove_all_event_listeners();
  web_stop();
  if (page.escape != nullptr) std::longjmp(*page.escape, 1);
  emscripten_exit_with_live_runtime();
}

}  // extern "C"
