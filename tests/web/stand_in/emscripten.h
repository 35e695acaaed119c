// A stand-in for the names of Emscripten's emscripten.h and html5.h that web/input.cpp reads,
// so that tests/web/input_test.cpp drives its handlers on this machine: every event is one
// record with the fields that the handlers read, the browser is a record that the test sets,
// and each handler is kept by its event's number.
#pragma once

#define EM_BOOL int
#define EM_TRUE 1
#define EM_FALSE 0
#define EMSCRIPTEN_EVENT_TARGET_WINDOW "window"
#define EMSCRIPTEN_EVENT_TARGET_DOCUMENT "document"
#define EMSCRIPTEN_EVENT_KEYDOWN 2
#define EMSCRIPTEN_EVENT_MOUSEDOWN 5
#define EMSCRIPTEN_EVENT_MOUSEUP 6
#define EMSCRIPTEN_EVENT_MOUSEMOVE 8
#define EMSCRIPTEN_EVENT_RESIZE 10
#define EMSCRIPTEN_EVENT_FULLSCREENCHANGE 19
#define EMSCRIPTEN_EVENT_VISIBILITYCHANGE 21
#define EMSCRIPTEN_EVENT_TOUCHSTART 22
#define EMSCRIPTEN_EVENT_TOUCHEND 23
#define EMSCRIPTEN_EVENT_TOUCHMOVE 24
#define EMSCRIPTEN_EVENT_TOUCHCANCEL 25

struct EmscriptenEvent {
  const char* key;
  EM_BOOL shiftKey, ctrlKey, altKey, metaKey, isFullscreen, hidden, isChanged, button, numTouches;
  long clientX, clientY, targetX, targetY;
  const EmscriptenEvent* touches;
};
#define EmscriptenKeyboardEvent EmscriptenEvent
#define EmscriptenMouseEvent EmscriptenEvent
#define EmscriptenTouchEvent EmscriptenEvent
#define EmscriptenTouchPoint EmscriptenEvent
#define EmscriptenUiEvent EmscriptenEvent
#define EmscriptenFullscreenChangeEvent EmscriptenEvent
#define EmscriptenVisibilityChangeEvent EmscriptenEvent

// The time in ms, the picture's CSS width and height and the pixel ratio; the handlers.
inline double browser[4] = {0.0, 0.0, 0.0, 1.0};
inline EM_BOOL (*listeners[26])(int, const EmscriptenEvent*, void*) = {};
#define emscripten_get_now() browser[0]
#define emscripten_get_element_css_size(target, w, h) (*(w) = browser[1], *(h) = browser[2])
#define emscripten_get_device_pixel_ratio() browser[3]
#define emscripten_set_canvas_element_size(target, w, h)
#define emscripten_set_keydown_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_KEYDOWN] = f)
#define emscripten_set_mousedown_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_MOUSEDOWN] = f)
#define emscripten_set_mouseup_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_MOUSEUP] = f)
#define emscripten_set_mousemove_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_MOUSEMOVE] = f)
#define emscripten_set_resize_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_RESIZE] = f)
#define emscripten_set_fullscreenchange_callback(t, d, c, f) (listeners[19] = f)
#define emscripten_set_visibilitychange_callback(d, c, f) (listeners[21] = f)
#define emscripten_set_touchstart_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_TOUCHSTART] = f)
#define emscripten_set_touchend_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_TOUCHEND] = f)
#define emscripten_set_touchmove_callback(t, d, c, f) (listeners[EMSCRIPTEN_EVENT_TOUCHMOVE] = f)
#define emscripten_set_touchcancel_callback(t, d, c, f) \
  (listeners[EMSCRIPTEN_EVENT_TOUCHCANCEL] = f)
