// GLUT's window, event loop and handlers for the page, on Emscripten's documented interfaces:
// the GL context through its EGL, the loop through emscripten_set_main_loop, the end through
// emscripten_exit_with_live_runtime. The page's events (web/glut_web.js) reach the program's
// handlers through the web_ functions below.
#include <EGL/egl.h>
#include <GL/freeglut.h>
#include <emscripten.h>

extern int text_scale;  // web/bitmap_text.cpp

extern "C" {
// web/glut_web.js
void web_frame();
void web_stop();
void web_fail_webgl();
void web_full_screen();
}

namespace {

struct Window {
  void (*display)() = nullptr;
  void (*reshape)(int, int) = nullptr;
  void (*keyboard)(unsigned char, int, int) = nullptr;
  void (*special)(int, int, int) = nullptr;
  void (*mouse)(int, int, int, int) = nullptr;
  void (*motion)(int, int) = nullptr;
  void (*idle)() = nullptr;
  bool redisplay = true;
  int x = 0, y = 0;  // the pointer, which the key handlers are given
} window;

// As freeglut's loop does: the display handler when a redisplay is asked for, then the idle one.
void frame() {
  web_frame();
  if (window.redisplay && window.display != nullptr) {
    window.redisplay = false;
    window.display();
  }
  if (window.idle != nullptr) window.idle();
}

}  // namespace

// The page has one window that fills the browser's: its mode (RGB, double-buffered, with
// depth), size and position are the page's.
void glutInit(int* /*argc*/, char** /*argv*/) {}
void glutInitDisplayMode(unsigned int /*mode*/) {}
void glutInitWindowSize(int /*width*/, int /*height*/) {}
void glutInitWindowPosition(int /*x*/, int /*y*/) {}

// WebGL with a depth buffer and no antialiasing: the desktop's window has none, and the
// text's pixels must fall where the desktop's do.
int glutCreateWindow(const char* /*title*/) {
  const EGLint config_attributes[] = {EGL_DEPTH_SIZE, 24, EGL_SAMPLES, 0, EGL_NONE};
  const EGLint context_attributes[] = {EGL_CONTEXT_CLIENT_VERSION, 2, EGL_NONE};
  EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
  EGLConfig config;
  EGLint configs = 0;
  eglInitialize(display, nullptr, nullptr);
  eglChooseConfig(display, config_attributes, &config, 1, &configs);
  EGLSurface surface = eglCreateWindowSurface(display, config, 0, nullptr);
  EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
  if (context == EGL_NO_CONTEXT || eglMakeCurrent(display, surface, surface, context) != EGL_TRUE) {
    web_fail_webgl();
    emscripten_exit_with_live_runtime();
  }
  return 1;
}

void glutFullScreen() { web_full_screen(); }
void glutDisplayFunc(void (*callback)()) { window.display = callback; }
void glutReshapeFunc(void (*callback)(int, int)) { window.reshape = callback; }
void glutKeyboardFunc(void (*callback)(unsigned char, int, int)) { window.keyboard = callback; }
void glutSpecialFunc(void (*callback)(int, int, int)) { window.special = callback; }
void glutMouseFunc(void (*callback)(int, int, int, int)) { window.mouse = callback; }
void glutMotionFunc(void (*callback)(int, int)) { window.motion = callback; }
void glutIdleFunc(void (*callback)()) { window.idle = callback; }
void glutPostRedisplay() { window.redisplay = true; }
// The browser shows the frame when the loop's call returns.
void glutSwapBuffers() {}

// One frame per display refresh; never returns to main.
void glutMainLoop() { emscripten_set_main_loop(frame, 0, true); }

extern "C" {

void web_keyboard(int key) {
  if (window.keyboard != nullptr) {
    window.keyboard(static_cast<unsigned char>(key), window.x, window.y);
  }
}

void web_special(int key) {
  if (window.special != nullptr) window.special(key, window.x, window.y);
}

void web_mouse(int button, int state, int x, int y) {
  window.x = x;
  window.y = y;
  if (window.mouse != nullptr) window.mouse(button, state, x, y);
}

void web_motion(int x, int y) {
  window.x = x;
  window.y = y;
  if (window.motion != nullptr) window.motion(x, y);
}

// The drawing buffer's new size, and the size of a glyph's pixel on this screen.
void web_reshape(int width, int height, int scale) {
  text_scale = scale;
  if (window.reshape != nullptr) window.reshape(width, height);
}

void web_menu_choice(void (*callback)(int), int value) { callback(value); }

// A page cannot end: the program's exit stops the loop, and the page keeps its last picture.
void __wrap_exit(int /*status*/) {
  emscripten_cancel_main_loop();
  web_stop();
  emscripten_exit_with_live_runtime();
}

}  // extern "C"
