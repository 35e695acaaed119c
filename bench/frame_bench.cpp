// The frame's cost, in one process and one full-screen window, three ways in turn:
//   bare     clear and swap, what any program pays per frame on this screen;
//   display  the program's own display handler, as it draws every frame;
//   lists    the same picture with its fixed geometry in display lists (listed_frame).
// Blocks of frames of each kind alternate over several rounds, so a change in the load
// of the machine falls on all three alike. Each kind keeps its own copy of the model and
// advances it by one idle call per frame, as the program's event loop does.
//
// Before timing, display and lists draw the same states and the pictures are read back
// from the window and compared pixel by pixel (with named probes on the Earth, the bob
// and the text); if they differ, the program stops with status 1.
//
// Options: --rounds N, --frames N (per block). Output: what was checked, then
//   RESULT frame_<W>x<H>_<kind>_ms <median milliseconds per frame>
//   RESULT frame_<W>x<H>_b_over_c <display / lists>, ..._b_over_a <display / bare>
//   RESULT frame_<W>x<H>_fps <frames per second of display>
#include "bench/listed_frame.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "render/pendulum_scene.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"

#include <GL/freeglut.h>
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Everything a frame reads or writes besides OpenGL: the model, the camera, the trace.
struct Snapshot {
  SimState model;
  ViewState camera;
  TraceBuffer meta;
  std::vector<double> x, y, z;

  static Snapshot take() {
    const size_t n = static_cast<size_t>(trace.trace_len) + 1;
    return {sim, view, trace, {trace.trace_x, trace.trace_x + n},
            {trace.trace_y, trace.trace_y + n}, {trace.trace_z, trace.trace_z + n}};
  }
  void restore() const {
    double* const tx = trace.trace_x;
    double* const ty = trace.trace_y;
    double* const tz = trace.trace_z;
    sim = model;
    view = camera;
    trace = meta;
    trace.trace_x = tx;
    trace.trace_y = ty;
    trace.trace_z = tz;
    std::copy(x.begin(), x.end(), tx);
    std::copy(y.begin(), y.end(), ty);
    std::copy(z.begin(), z.end(), tz);
  }
};

int window_width = 0;
int window_height = 0;
bool exposed = false;

void on_display() { exposed = true; }
void on_reshape(int w, int h) {
  reshape(w, h);
  window_width = w;
  window_height = h;
}

void bare_frame() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
  glFlush();
}

// Waits until the renderer and the X server have finished everything asked of them.
void settle() {
  glFinish();
  XSync(glXGetCurrentDisplay(), False);
}

void quietly(void (*f)()) {
  std::fflush(stdout);
  std::FILE* saved = stdout;
  stdout = std::fopen("/dev/null", "w");
  f();
  std::fclose(stdout);
  stdout = saved;
}

// Runs the model as the program would for `frames` frames, taking the trace samples that
// its frames take, without drawing: a swinging bob and a full trace to draw.
void fast_forward(int frames) {
  for (int i = 0; i < frames; ++i) {
    idle();
    const double phi = sim.plane_angle * sim.sin_lat;
    sample_trace(static_cast<float>(-sim.bob_x * sim.sin_lat), static_cast<float>(-sim.bob_y),
                 static_cast<float>(sim.bob_x * sim.cos_lat),
                 static_cast<float>(sim.bob_x * std::cos(phi) - sim.bob_y * std::sin(phi)),
                 static_cast<float>(sim.bob_x * std::sin(phi) + sim.bob_y * std::cos(phi)),
                 view.corotate == 1);
  }
}

// ---------------------------------------------------------------- pictures

struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::array<int, 3>> rgb;  // rows from the top

  // Mean colour of the (2 half + 1)^2 square centred on (x, y), y up from the bottom.
  std::array<double, 3> mean(int x, int y, int half) const {
    std::array<double, 3> sum{0, 0, 0};
    int n = 0;
    for (int j = y - half; j <= y + half; ++j) {
      for (int i = x - half; i <= x + half; ++i) {
        if (i < 0 || j < 0 || i >= width || j >= height) continue;
        const auto& p = rgb[static_cast<size_t>((height - 1 - j) * width + i)];
        for (int c = 0; c < 3; ++c) sum[c] += p[c];
        ++n;
      }
    }
    for (double& s : sum) s /= std::max(n, 1);
    return sum;
  }
};

// What the window shows on the X screen after the swap: what a person sees.
Image grab_window() {
  settle();
  Display* display = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(window_width),
                            static_cast<unsigned>(window_height), AllPlanes, ZPixmap);
  Image out;
  if (image == nullptr) return out;
  out.width = window_width;
  out.height = window_height;
  out.rgb.resize(static_cast<size_t>(window_width) * static_cast<size_t>(window_height));
  auto channel = [](unsigned long pixel, unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1UL) == 0) {
      mask >>= 1;
      ++shift;
    }
    return static_cast<int>(((pixel >> shift) & mask) * 255 / (mask == 0 ? 1 : mask));
  };
  for (int j = 0; j < window_height; ++j) {
    for (int i = 0; i < window_width; ++i) {
      const unsigned long p = XGetPixel(image, i, j);
      out.rgb[static_cast<size_t>(j * window_width + i)] = {
          channel(p, image->red_mask), channel(p, image->green_mask), channel(p, image->blue_mask)};
    }
  }
  XDestroyImage(image);
  return out;
}

// Where to write the compared pictures as PPM files (--dump DIR), if anywhere.
const char* dump_dir = nullptr;

void dump(const Image& image, const std::string& name) {
  if (dump_dir == nullptr) return;
  const std::string path = std::string(dump_dir) + "/" + name + ".ppm";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return;
  std::fprintf(f, "P6\n%d %d\n255\n", image.width, image.height);
  for (const auto& p : image.rgb) {
    const unsigned char px[3] = {static_cast<unsigned char>(p[0]), static_cast<unsigned char>(p[1]),
                                 static_cast<unsigned char>(p[2])};
    std::fwrite(px, 1, 3, f);
  }
  std::fclose(f);
}

int max_difference(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  double d = 0;
  for (int c = 0; c < 3; ++c) d = std::max(d, std::fabs(a[c] - b[c]));
  return static_cast<int>(std::lround(d));
}

// Pixels whose colours differ by more than this in some channel count as different.
constexpr int pixel_tolerance = 16;
// Named probes (5 x 5 means) may differ by at most this much.
constexpr int probe_tolerance = 8;
// At most this share of the frame may differ: a few edge pixels, never a missing object.
constexpr double differing_share_allowed = 0.001;

// Draws the state with display() and with display_listed() and compares what shows.
// Some of a frame's lighting comes from the frame before it: the text is lit before the
// frame places the sun, so it is lit by the lamp where the last frame left it. Each way
// therefore draws the state twice and the second picture is compared.
bool same_picture(const char* scene, const char* file, const Snapshot& state) {
  for (int i = 0; i < 2; ++i) {
    state.restore();
    display();
  }
  const Image b = grab_window();
  for (int i = 0; i < 2; ++i) {
    state.restore();
    locate_bob_on_screen(true);
    display_listed();
    locate_bob_on_screen(false);
  }
  const Image c = grab_window();
  if (b.rgb.empty() || c.rgb.empty()) {
    std::fprintf(stderr, "frame_bench: %s: the window could not be read\n", scene);
    return false;
  }
  dump(b, std::string(file) + "-display");
  dump(c, std::string(file) + "-lists");
  double bx = 0, by = 0;
  last_bob_on_screen(bx, by);
  const int bob_x = static_cast<int>(std::lround(bx));
  const int bob_y = static_cast<int>(std::lround(by));

  bool ok = true;
  long differing = 0;
  long lit = 0;
  for (size_t k = 0; k < b.rgb.size(); ++k) {
    int d = 0;
    for (int ch = 0; ch < 3; ++ch) d = std::max(d, std::abs(b.rgb[k][ch] - c.rgb[k][ch]));
    if (d > pixel_tolerance) ++differing;
    if (b.rgb[k][0] + b.rgb[k][1] + b.rgb[k][2] > 0) ++lit;
  }
  const double share = static_cast<double>(differing) / static_cast<double>(b.rgb.size());
  if (share > differing_share_allowed) {
    std::fprintf(stderr, "frame_bench: %s: %ld pixels differ (%.3f%% of the frame)\n", scene,
                 differing, 100.0 * share);
    ok = false;
  }
  // The picture must be the program's, not an empty frame compared with another.
  if (lit < static_cast<long>(b.rgb.size() / 20)) {
    std::fprintf(stderr, "frame_bench: %s: the program's frame is nearly black\n", scene);
    ok = false;
  }

  struct Probe {
    const char* name;
    int x, y;
  };
  const Probe probes[] = {
      {"screen centre", b.width / 2, b.height / 2},
      {"bob", bob_x, bob_y},
      {"left of centre", b.width / 4, b.height / 2},
      {"above centre", b.width / 2, 3 * b.height / 4},
      {"lower right", 3 * b.width / 4, b.height / 4},
  };
  for (const Probe& p : probes) {
    const auto pb = b.mean(p.x, p.y, 2);
    const auto pc = c.mean(p.x, p.y, 2);
    const int d = max_difference(pb, pc);
    std::printf("check: %s: probe %s at (%d, %d): display (%.0f, %.0f, %.0f), lists (%.0f, %.0f, %.0f)\n",
                scene, p.name, p.x, p.y, pb[0], pb[1], pb[2], pc[0], pc[1], pc[2]);
    if (d > probe_tolerance) {
      std::fprintf(stderr, "frame_bench: %s: probe %s differs by %d\n", scene, p.name, d);
      ok = false;
    }
  }
  // The bob is lit red in the program's picture: the probe looks at the right place.
  const auto bob = b.mean(bob_x, bob_y, 1);
  if (!(bob[0] > 60 && bob[0] > 2 * (bob[1] + bob[2]))) {
    std::fprintf(stderr, "frame_bench: %s: no red bob at (%d, %d) in the program's frame\n", scene,
                 bob_x, bob_y);
    ok = false;
  }
  std::printf("check: %s: %ld of %zu pixels differ by more than %d (allowed %.1f%%), %s\n", scene,
              differing, b.rgb.size(), pixel_tolerance, 100.0 * differing_share_allowed,
              ok ? "same picture" : "DIFFERENT PICTURES");
  return ok;
}

// ---------------------------------------------------------------- timing

using Clock = std::chrono::steady_clock;

struct Kind {
  const char* key;
  void (*frame)();
  bool advances_model;
  Snapshot state;
  std::vector<double> ms;
};

void run_block(Kind& kind, int frames, bool record) {
  kind.state.restore();
  settle();
  Clock::time_point previous = Clock::now();
  for (int i = 0; i < frames; ++i) {
    if (kind.advances_model) idle();
    kind.frame();
    const Clock::time_point now = Clock::now();
    if (record) {
      kind.ms.push_back(std::chrono::duration<double, std::milli>(now - previous).count());
    }
    previous = now;
  }
  settle();
  kind.state = Snapshot::take();
  glutMainLoopEvent();  // window-system events wait between blocks, not within them
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0.0 : (n % 2 == 1 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]));
}

int option(int argc, char** argv, const char* name, int fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], name) == 0) return std::atoi(argv[i + 1]);
  }
  return fallback;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = std::max(1, option(argc, argv, "--rounds", 5));
  const int frames = std::max(2, option(argc, argv, "--frames", 40));
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--dump") == 0) dump_dir = argv[i + 1];
  }

  // The program's start-up, window and graphics set-up, without its menus and handlers.
  quietly(reset_simulation);
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(1024, 768);
  glutInitWindowPosition(0, 0);
  glutCreateWindow("Pendule de Foucault OXA 2003/3004 ~ ~ ~ ~ ~ ~ ~");
  init_graphics();
  glutFullScreen();
  glutDisplayFunc(on_display);
  glutReshapeFunc(on_reshape);
  const int screen_w = glutGet(GLUT_SCREEN_WIDTH);
  const int screen_h = glutGet(GLUT_SCREEN_HEIGHT);
  for (int i = 0; i < 1000 && !(exposed && window_width == screen_w && window_height == screen_h);
       ++i) {
    glutMainLoopEvent();
    struct timespec pause = {0, 2000000};
    nanosleep(&pause, nullptr);
  }
  if (window_width != screen_w || window_height != screen_h) {
    std::fprintf(stderr, "frame_bench: the window is %dx%d, not full screen (%dx%d)\n",
                 window_width, window_height, screen_w, screen_h);
    return 1;
  }
  const std::string size = std::to_string(window_width) + "x" + std::to_string(window_height);
  std::printf("INFO renderer %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
  std::printf("INFO gl_version %s\n", reinterpret_cast<const char*>(glGetString(GL_VERSION)));
  std::printf("INFO window %s\n", size.c_str());

  build_frame_lists();
  // The renderer takes up the new window size in its first frames: draw a few first.
  for (int i = 0; i < 3; ++i) {
    display();
    display_listed();
  }
  settle();

  // A swinging bob and a full trace (100 samples, one every 12 frames).
  fast_forward(1300);
  const Snapshot start = Snapshot::take();

  Snapshot turned = start;
  turned.camera.view_rot_y = 675.0f;  // the menu's three-quarter north viewpoint
  turned.camera.view_rot_x = 336.0f;
  turned.camera.corotate = 1;
  turned.camera.show_help = 1;
  if (!same_picture(("default view, " + size).c_str(), "default", start) ||
      !same_picture(("three-quarter north, co-rotating, help, " + size).c_str(), "turned",
                    turned)) {
    return 1;
  }

  Kind kinds[] = {{"bare", bare_frame, false, start, {}},
                  {"display", display, true, start, {}},
                  {"lists", display_listed, true, start, {}}};
  for (Kind& kind : kinds) run_block(kind, 10, false);  // first-use costs, not timed
  for (int r = 0; r < rounds; ++r) {
    for (Kind& kind : kinds) run_block(kind, frames, true);
  }

  const double a = median(kinds[0].ms);
  const double b = median(kinds[1].ms);
  const double c = median(kinds[2].ms);
  for (const Kind& kind : kinds) {
    std::printf("RESULT frame_%s_%s_ms %.3f\n", size.c_str(), kind.key, median(kind.ms));
  }
  std::printf("RESULT frame_%s_b_over_c %.3f\n", size.c_str(), b / c);
  std::printf("RESULT frame_%s_b_over_a %.3f\n", size.c_str(), b / a);
  std::printf("RESULT frame_%s_fps %.1f\n", size.c_str(), 1000.0 / b);
  return 0;
}
