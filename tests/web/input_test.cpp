// The page's input handlers (web/input.cpp) built for this machine on a stand-in for html5.h
// (tests/web/stand_in) and played random events: in CTest those of the seeds given (from
// tests/data/web/input_seeds.txt; FOUCAULT_INPUT_SEED=N replays one), and under libFuzzer
// (scripts/fuzz.sh) those that its bytes choose. A broken invariant stops it, named.
#include "web/input.h"

#include <GL/freeglut.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <emscripten.h>
#include <emscripten/html5.h>
#include <functional>
#include <random>

Page page;
extern "C" void web_open_menu(double, double) {}
extern "C" void web_full_screen_changed(int) {}

namespace {

const char* seed = "fuzz";
int event = 0, calls = 0, held[3] = {0, 0, 0};  // each button's downs less its ups

void check(bool kept, const char* name) {
  if (!kept) std::fprintf(stderr, "seed %s, event %d: %s\n", seed, event, name), std::abort();
}

// The bound is a pinch's most Page Ups.
const auto called = [] { check(++calls <= 4, "bounded: 4 calls to the program an event"); };

// Keys, places (outside the picture too, and shared by fingers) and CSS sizes (0 to more
// than a screen) to choose from.
const char* const keys[] = {"+", " ", "PageUp", "PageDown", "F10", "ContextMenu", "\xc3\xa9"};
const long places[] = {-40, 120, 120, 120, 300, 100000};
const double sizes[] = {0.0, 1.0, 300.0, 1e9};

// Events, half of them moves of the fingers, each with its fields and 1 to 4 fingers chosen by
// next(n), a number below n.
void play(const std::function<int(int)>& next, int events) {
  const auto one = [&](const EmscriptenEvent* touches) {
    const long x = places[next(6)], y = places[next(6)];
    const char* key = keys[next(std::size(keys))];
    return EmscriptenEvent{key,     next(2), next(2), next(2), next(2),
                           next(2), next(2), next(2), next(3), 1 + next(4),
                           x,       y,       x,       y,       touches};
  };
  page = Page{};
  page.running = true;
  calls = held[0] = held[1] = held[2] = 0;
  const auto count = [](auto... /*event*/) { called(); };  // keys and moves are only counted
  page.keyboard = count, page.special = count, page.motion = count;
  page.reshape = [](int w, int h) { called(), check(w > 0 && h > 0, "sized: 1 px or more"); };
  page.mouse = [](int b, int state, int, int) { called(), held[b] += state == GLUT_DOWN ? 1 : -1; };
  listen_to_page();
  listeners[0] = [](int, const EmscriptenEvent*, void*) { return check_long_press(), EM_FALSE; };
  for (event = 0; event < events; ++event) {
    const int kind = next(2) ? EMSCRIPTEN_EVENT_TOUCHMOVE : next(26);  // 0: a frame
    const EmscriptenEvent fingers[4] = {one(nullptr), one(nullptr), one(nullptr), one(nullptr)};
    const EmscriptenEvent e = one(fingers);
    browser[0] += 300.0;
    browser[1] = sizes[next(4)], browser[2] = sizes[next(4)], browser[3] = next(2) ? 1.0 : 2.625;
    calls = 0;
    if (listeners[kind] != nullptr) listeners[kind](kind, &e, nullptr);
    // Every finger lifted and no button held, or the page hidden: no button is left held.
    bool lifted = kind == EMSCRIPTEN_EVENT_TOUCHEND || kind == EMSCRIPTEN_EVENT_TOUCHCANCEL;
    for (int i = 0; i < e.numTouches; ++i) lifted = lifted && fingers[i].isChanged;
    const bool hidden = kind == EMSCRIPTEN_EVENT_VISIBILITYCHANGE && e.hidden;
    check(!((lifted && page.held < 0) || hidden) || held[0] + held[1] + held[2] == 0, "released");
  }
}

}  // namespace

#ifdef FOUCAULT_FUZZ
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::size_t at = 0;
  play([&](int n) { return at < size ? data[at++] % n : 0; }, static_cast<int>(size / 64));
  return 0;
}
#else
int main(int argc, char** argv) {
  const char* replay = std::getenv("FOUCAULT_INPUT_SEED");
  for (int i = 1; i < (replay != nullptr ? 2 : argc); ++i) {
    std::mt19937 random(std::stoul(seed = replay != nullptr ? replay : argv[i]));
    play([&](int n) { return static_cast<int>(random() % n); }, 20000);
  }
}
#endif
