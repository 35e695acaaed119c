// The page's keys, mouse, fingers, size and visibility through Emscripten's html5.h, as GLUT
// would take them from the window system: each reaches the program's handler inside the
// browser's own event. The picture stands at the page's top left, so window coordinates are
// the picture's.
#include "web/input.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <emscripten.h>
#include <emscripten/html5.h>
#include <string_view>
#include <utility>

// web/menu.js, at CSS pixels in the picture; web/layout.js, for the full-screen button.
extern "C" void web_open_menu(double x, double y), web_full_screen_changed(int on);

namespace {

// A finger held still for long_press_ms opens the menu; one that goes still_px farther is
// dragging. Each pinch_step times nearer or farther is a Page Up or Down, most_steps of them
// at most a move. A side of the drawing buffer is most_px at most: no screen has more.
constexpr double long_press_ms = 500.0, most_px = 16384.0;
constexpr float still_px = 10.0f, pinch_step = 1.25f, most_steps = 4.0f;

// CSS pixels in the picture to the drawing buffer's pixels, as the handlers expect them.
int buffer_x(double x) {
  return static_cast<int>(std::floor(x * page.width / page.css_width));
}
int buffer_y(double y) {
  return static_cast<int>(std::floor(y * page.height / page.css_height));
}

void mouse(int button, int state, double x, double y) {
  handle(page.mouse, button, state, buffer_x(x), buffer_y(y));
}

EM_BOOL resized(int, const EmscriptenUiEvent*, void*) {
  fit_picture();
  return EM_FALSE;
}

EM_BOOL full_screen_changed(int, const EmscriptenFullscreenChangeEvent* e, void*) {
  web_full_screen_changed(e->isFullscreen);
  fit_picture();
  return EM_FALSE;
}

EM_BOOL key_down(int, const EmscriptenKeyboardEvent* e, void*) {
  const std::string_view key = e->key;
  const auto c = static_cast<unsigned char>(e->key[0]);
  if (key == "ContextMenu" || (key == "F10" && e->shiftKey)) {
    web_open_menu(page.css_width / 2.0, page.css_height / 2.0);
  } else if (key == "PageUp" || key == "PageDown") {
    handle(page.special, key == "PageUp" ? GLUT_KEY_PAGE_UP : GLUT_KEY_PAGE_DOWN, 0, 0);
  } else if (key.size() == 1 && c >= ' ' && c <= '~' && !e->ctrlKey && !e->altKey && !e->metaKey) {
    handle(page.keyboard, c, 0, 0);  // the program's key handlers take no notice of the pointer
    return c != ' ';                 // a space still presses the button it falls on
  } else {
    return EM_FALSE;
  }
  return EM_TRUE;
}

// The menu's button opens the menu; another is held down on the picture until it is let go,
// anywhere; only then does the pointer's motion reach the program.
EM_BOOL mouse_event(int type, const EmscriptenMouseEvent* e, void*) {
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && e->button == page.menu_button) {
    web_open_menu(e->clientX, e->clientY);
    return EM_TRUE;
  }
  if (type == EMSCRIPTEN_EVENT_MOUSEDOWN && page.held < 0) {
    page.held = e->button;
    mouse(e->button, GLUT_DOWN, e->clientX, e->clientY);
  } else if (type == EMSCRIPTEN_EVENT_MOUSEMOVE && page.held >= 0) {
    handle(page.motion, buffer_x(e->clientX), buffer_y(e->clientY));
  } else if (type == EMSCRIPTEN_EVENT_MOUSEUP && e->button == page.held) {
    mouse(std::exchange(page.held, -1), GLUT_UP, e->clientX, e->clientY);
  }
  return EM_FALSE;
}

void end_drag() {
  Touch& t = page.touch;
  if (t.mode == TouchMode::drag) mouse(GLUT_LEFT_BUTTON, GLUT_UP, t.x, t.y);
  t.mode = TouchMode::done;
}

// A Page Up for each 1.25 times farther apart the fingers are, a Page Down for each 1.25
// times nearer. Fingers at one point give nothing to measure from, nor does a move that
// sends the most: the pinch then measures from where the fingers are.
void pinch(float spread) {
  float& from = page.touch.spread;
  const float steps = std::log(spread / from) / std::log(pinch_step);  // from 0: not finite
  const float sent = from > 0.0f ? std::clamp(std::trunc(steps), -most_steps, most_steps) : 0.0f;
  const int key = sent > 0.0f ? GLUT_KEY_PAGE_UP : GLUT_KEY_PAGE_DOWN;
  for (int i = 0; i < std::fabs(sent); ++i) handle(page.special, key, 0, 0);
  from = from > 0.0f && std::fabs(sent) < most_steps ? from * std::pow(pinch_step, sent) : spread;
}

// One finger drags as the left button does, and held still opens the menu; two fingers
// pinch the camera nearer or farther by Page Up and Page Down. Any other touch ends what
// was going on and waits until every finger is lifted. No touch scrolls, zooms or leaves.
EM_BOOL touched(int type, const EmscriptenTouchEvent* e, void*) {
  Touch& t = page.touch;
  const bool lifted = type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL;
  float x[2] = {0.0f, 0.0f}, y[2] = {0.0f, 0.0f};  // where the first two fingers down are
  int fingers = 0;
  for (int i = 0; i < e->numTouches; ++i) {
    const EmscriptenTouchPoint& p = e->touches[i];
    if (lifted && p.isChanged) continue;
    const int n = std::min(fingers++, 1);
    x[n] = static_cast<float>(p.targetX);
    y[n] = static_cast<float>(p.targetY);
  }
  const float spread = fingers == 2 ? std::hypot(x[1] - x[0], y[1] - y[0]) : 0.0f;
  if (type == EMSCRIPTEN_EVENT_TOUCHSTART && fingers == 1 && t.mode == TouchMode::none) {
    t = Touch{TouchMode::drag, emscripten_get_now(), false, x[0], y[0], x[0], y[0]};
    mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, t.x, t.y);
  } else if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
    const bool two = fingers == 2 && t.mode != TouchMode::done;
    end_drag();
    t.mode = two ? TouchMode::pinch : TouchMode::done;
    t.spread = spread;
  } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE && t.mode == TouchMode::drag && fingers > 0) {
    t.x = x[0];
    t.y = y[0];
    t.moved = t.moved || std::hypot(t.x - t.start_x, t.y - t.start_y) >= still_px;
    handle(page.motion, buffer_x(t.x), buffer_y(t.y));
  } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE && t.mode == TouchMode::pinch && fingers == 2) {
    pinch(spread);
  } else if (lifted) {
    end_drag();
    t.mode = fingers > 0 ? TouchMode::done : TouchMode::none;
  }
  return type != EMSCRIPTEN_EVENT_TOUCHCANCEL;  // the system's cancel cannot be refused
}

// A hidden page gets no more events: what a button or a finger was doing ends there.
EM_BOOL visibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
  if (!e->hidden) return EM_FALSE;
  if (page.held >= 0) mouse(std::exchange(page.held, -1), GLUT_UP, 0.0, 0.0);
  end_drag();
  page.touch.mode = TouchMode::none;
  return EM_FALSE;
}

}  // namespace

// The drawing buffer follows the picture's CSS size times the pixel ratio; a glyph's pixel
// becomes a square of the ratio rounded, so the text keeps its shapes at a legible size.
// Before the loop runs there is no reshape handler yet: glutMainLoop gives the size then.
void fit_picture() {
  double w = 0.0, h = 0.0;
  emscripten_get_element_css_size("#canvas", &w, &h);
  const double ratio = emscripten_get_device_pixel_ratio();
  const int width = static_cast<int>(std::lround(std::clamp(w * ratio, 1.0, most_px)));
  const int height = static_cast<int>(std::lround(std::clamp(h * ratio, 1.0, most_px)));
  page.css_width = std::max(w, 1.0);
  page.css_height = std::max(h, 1.0);
  page.text_scale = std::max(1, static_cast<int>(std::lround(ratio)));
  if (width != page.width || height != page.height) {
    page.width = width;
    page.height = height;
    emscripten_set_canvas_element_size("#canvas", width, height);
    if (page.running) handle(page.reshape, width, height);
  }
}

void check_long_press() {
  const Touch& t = page.touch;
  if (t.mode == TouchMode::drag && !t.moved &&
      emscripten_get_now() >= t.start_time + long_press_ms) {
    end_drag();
    web_open_menu(t.x, t.y);
  }
}

void listen_to_page() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, key_down);
  emscripten_set_mousedown_callback("#canvas", nullptr, EM_FALSE, mouse_event);
  emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, mouse_event);
  emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, mouse_event);
  emscripten_set_touchstart_callback("#canvas", nullptr, EM_FALSE, touched);
  emscripten_set_touchmove_callback("#canvas", nullptr, EM_FALSE, touched);
  emscripten_set_touchend_callback("#canvas", nullptr, EM_FALSE, touched);
  emscripten_set_touchcancel_callback("#canvas", nullptr, EM_FALSE, touched);
  emscripten_set_resize_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, resized);
  emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                           full_screen_changed);
  emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, visibility);
  fit_picture();
}
