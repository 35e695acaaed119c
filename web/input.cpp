// The page's keys, mouse, fingers, size and visibility through Emscripten's html5.h, as GLUT
// would take them from the window system: each becomes an event for the program's handlers,
// handed over before the browser's event ends. The picture stands at the page's top left,
// so window coordinates are the picture's.
#include "web/input.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <emscripten.h>
#include <emscripten/html5.h>

extern "C" {
void web_open_menu(double x, double y);  // web/menu.js, at CSS pixels in the picture
void web_listen_to_bar();                // web/input.js: the key bar
void web_full_screen_changed(int on);    // web/layout.js: the full-screen button
}

namespace {

constexpr double long_press_ms = 500.0;
constexpr float still_px = 10.0f;    // a finger that goes farther is dragging, not pressing
constexpr float pinch_step = 1.25f;  // each 1.25 times nearer or farther is a Page Up or Down

// CSS pixels in the picture to the drawing buffer's pixels, as the handlers expect them.
int buffer_x(double x) {
  return static_cast<int>(std::floor(x * page.width / page.css_width));
}
int buffer_y(double y) {
  return static_cast<int>(std::floor(y * page.height / page.css_height));
}

void queue_mouse(int button, int state, double x, double y) {
  queue({EventKind::mouse, button, state, buffer_x(x), buffer_y(y)});
}

}  // namespace

// The drawing buffer follows the picture's CSS size times the pixel ratio; a glyph's pixel
// becomes a square of the ratio rounded, so the text keeps its shapes at a legible size.
void fit_picture() {
  double w = 0.0, h = 0.0;
  emscripten_get_element_css_size("#canvas", &w, &h);
  const double ratio = emscripten_get_device_pixel_ratio();
  const int width = std::max(1, static_cast<int>(std::lround(w * ratio)));
  const int height = std::max(1, static_cast<int>(std::lround(h * ratio)));
  page.css_width = std::max(w, 1.0);
  page.css_height = std::max(h, 1.0);
  page.text_scale = std::max(1, static_cast<int>(std::lround(ratio)));
  if (width != page.width || height != page.height) {
    page.width = width;
    page.height = height;
    emscripten_set_canvas_element_size("#canvas", width, height);
    queue({EventKind::reshape, width, height});
  }
}

namespace {

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
  const char* key = e->key;
  if (std::strcmp(key, "ContextMenu") == 0 || (std::strcmp(key, "F10") == 0 && e->shiftKey)) {
    web_open_menu(page.css_width / 2.0, page.css_height / 2.0);
    return EM_TRUE;
  }
  if (std::strcmp(key, "PageUp") == 0 || std::strcmp(key, "PageDown") == 0) {
    queue({EventKind::special, key[4] == 'U' ? GLUT_KEY_PAGE_UP : GLUT_KEY_PAGE_DOWN});
    return EM_TRUE;
  }
  const auto c = static_cast<unsigned char>(key[0]);
  if (key[1] != '\0' || c < ' ' || c > '~' || e->ctrlKey || e->altKey || e->metaKey) {
    return EM_FALSE;
  }
  queue({EventKind::key, c});
  return c != ' ';  // a space still presses the button it falls on
}

// The menu's button opens the menu; another is held down until it is let go, anywhere.
EM_BOOL mouse_down(int, const EmscriptenMouseEvent* e, void*) {
  if (e->button == page.menu_button) {
    web_open_menu(e->targetX, e->targetY);
    return EM_TRUE;
  }
  if (page.held < 0) {
    page.held = e->button;
    queue_mouse(e->button, GLUT_DOWN, e->targetX, e->targetY);
  }
  return EM_FALSE;
}

EM_BOOL mouse_moved(int type, const EmscriptenMouseEvent* e, void*) {
  if (type == EMSCRIPTEN_EVENT_MOUSEMOVE && page.held >= 0) {
    queue({EventKind::motion, buffer_x(e->clientX), buffer_y(e->clientY)});
  } else if (type == EMSCRIPTEN_EVENT_MOUSEUP && e->button == page.held) {
    queue_mouse(page.held, GLUT_UP, e->clientX, e->clientY);
    page.held = -1;
  }
  return EM_FALSE;
}

void end_drag() {
  Touch& t = page.touch;
  if (t.mode == TouchMode::drag) queue_mouse(GLUT_LEFT_BUTTON, GLUT_UP, t.x, t.y);
  t.mode = TouchMode::done;
}

// One finger drags as the left button does, and held still opens the menu; two fingers
// pinch the camera nearer or farther by Page Up and Page Down. Any other touch ends what
// was going on and waits until every finger is lifted. No touch scrolls, zooms or leaves.
EM_BOOL touched(int type, const EmscriptenTouchEvent* e, void*) {
  Touch& t = page.touch;
  const bool lifted = type == EMSCRIPTEN_EVENT_TOUCHEND || type == EMSCRIPTEN_EVENT_TOUCHCANCEL;
  const EmscriptenTouchPoint* down[2] = {nullptr, nullptr};
  int fingers = 0;
  for (int i = 0; i < e->numTouches; ++i) {
    const EmscriptenTouchPoint& p = e->touches[i];
    if (lifted && p.isChanged) continue;
    if (fingers < 2) down[fingers] = &p;
    ++fingers;
  }
  const float spread = fingers == 2
                           ? std::hypot(static_cast<float>(down[0]->targetX - down[1]->targetX),
                                        static_cast<float>(down[0]->targetY - down[1]->targetY))
                           : 0.0f;
  if (type == EMSCRIPTEN_EVENT_TOUCHSTART && fingers == 1 && t.mode == TouchMode::none) {
    t = Touch{TouchMode::drag, emscripten_get_now(), false};
    t.start_x = t.x = static_cast<float>(down[0]->targetX);
    t.start_y = t.y = static_cast<float>(down[0]->targetY);
    queue_mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, t.x, t.y);
  } else if (type == EMSCRIPTEN_EVENT_TOUCHSTART) {
    const bool pinch = fingers == 2 && t.mode != TouchMode::done;
    end_drag();
    t.mode = pinch ? TouchMode::pinch : TouchMode::done;
    t.spread = spread;
  } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE && t.mode == TouchMode::drag && fingers > 0) {
    t.x = static_cast<float>(down[0]->targetX);
    t.y = static_cast<float>(down[0]->targetY);
    t.moved = t.moved || std::hypot(t.x - t.start_x, t.y - t.start_y) >= still_px;
    queue({EventKind::motion, buffer_x(t.x), buffer_y(t.y)});
  } else if (type == EMSCRIPTEN_EVENT_TOUCHMOVE && t.mode == TouchMode::pinch && fingers == 2) {
    for (; spread >= t.spread * pinch_step; t.spread *= pinch_step) {
      queue({EventKind::special, GLUT_KEY_PAGE_UP});
    }
    for (; spread <= t.spread / pinch_step; t.spread /= pinch_step) {
      queue({EventKind::special, GLUT_KEY_PAGE_DOWN});
    }
  } else if (lifted) {
    end_drag();
    t.mode = fingers > 0 ? TouchMode::done : TouchMode::none;
  }
  return type != EMSCRIPTEN_EVENT_TOUCHCANCEL;  // the system's cancel cannot be refused
}

// A hidden page gets no more events: what a button or a finger was doing ends there.
EM_BOOL visibility(int, const EmscriptenVisibilityChangeEvent* e, void*) {
  if (!e->hidden) return EM_FALSE;
  if (page.held >= 0) queue_mouse(page.held, GLUT_UP, 0.0, 0.0);
  page.held = -1;
  end_drag();
  page.touch.mode = TouchMode::none;
  return EM_FALSE;
}

}  // namespace

void queue(const Event& event) {
  constexpr size_t most = 256;  // more than a burst of input brings between two deliveries
  if (!page.ended && page.events.size() < most) page.events.push_back(event);
  if (page.running) deliver_events();
}

void check_long_press() {
  const Touch& t = page.touch;
  if (t.mode == TouchMode::drag && !t.moved &&
      emscripten_get_now() - t.start_time >= long_press_ms) {
    end_drag();
    web_open_menu(t.x, t.y);
  }
}

void listen_to_page() {
  const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(window, nullptr, EM_FALSE, key_down);
  emscripten_set_mousedown_callback("#canvas", nullptr, EM_FALSE, mouse_down);
  emscripten_set_mousemove_callback(window, nullptr, EM_FALSE, mouse_moved);
  emscripten_set_mouseup_callback(window, nullptr, EM_FALSE, mouse_moved);
  for (auto set :
       {emscripten_set_touchstart_callback_on_thread, emscripten_set_touchmove_callback_on_thread,
        emscripten_set_touchend_callback_on_thread,
        emscripten_set_touchcancel_callback_on_thread}) {
    set("#canvas", nullptr, EM_FALSE, touched, EM_CALLBACK_THREAD_CONTEXT_CALLING_THREAD);
  }
  emscripten_set_resize_callback(window, nullptr, EM_FALSE, resized);
  emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE,
                                           full_screen_changed);
  emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, visibility);
  web_listen_to_bar();
  fit_picture();
}
