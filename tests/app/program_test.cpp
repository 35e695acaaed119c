// The program on one real GLUT window (Mesa under Xvfb), driven by the events of
// tests/data/app/events.txt: the keys, Page Up and Page Down, the mouse and every menu entry.
// The transcript holds what each event printed and called and the
// fields it changed; at "picture NAME" the frame is drawn in feedback mode and compared with
// tests/data/render/NAME.txt. Then a seeded storm of the same events checks the invariants.
// freeglut's menu and text calls are wrapped at link time (-Wl,--wrap=...), so the tests
// read the menu tree and every character written; the help command is logged, not run.
// FOUCAULT_REGEN=1 writes the data files afresh: read the difference before committing it.
#include "app/input.h"
#include "app/menus.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
// After gtest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

namespace {

// Mesa computes feedback in single precision: 0.02 (pixels, depth, colour) is above its
// rounding and the print's last digit, and far below a degree's turn or a lamp's move.
constexpr double kFeedbackTolerance = 0.02;

std::vector<void (*)(int)> menus;  // the callbacks, by menu number
std::string call_log, frame_text;
int redisplays = 0;
GLbitfield cleared = 0;  // the buffers glClear was asked for since the last frame dump

std::string take_call_log() {
  std::string out = call_log;
  if (redisplays > 0) out += "glutPostRedisplay x" + std::to_string(redisplays) + "\n";
  call_log.clear(), redisplays = 0;
  return out;
}

std::string floats(const char* name, GLenum what, int n) {
  GLfloat v[16];
  glGetFloatv(what, v);
  std::string out = name;
  for (int i = 0; i < n; ++i) out += " " + std::to_string(v[i]);
  return out + "\n";
}

void add_entry(const char* kind, const char* label, int value) {
  call_log += kind + std::string(" \"") + label + "\" " + std::to_string(value) + "\n";
}

// Runs one event and returns what it printed: key C | special up|down | mouse | motion X Y |
// reshape W H | idle N | frame N | run N (N idle calls, each followed by a frame) | menu M V
// (the callback of menu number M, in the order create_menus makes them, with value V).
std::string apply_event(const std::string& line) {
  std::istringstream in(line);
  std::string verb, rest;
  int a = 0, b = 0;
  std::getline(in >> verb >> std::ws, rest);
  std::istringstream(rest) >> a >> b;
  testing::internal::CaptureStdout();
  if (verb == "reset") reset_simulation();
  if (verb == "key") keyboard(static_cast<unsigned char>(rest.at(0)), 0, 0);
  if (verb == "special") special_key(rest == "up" ? GLUT_KEY_PAGE_UP : GLUT_KEY_PAGE_DOWN, 0, 0);
  if (verb == "mouse") mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
  if (verb == "motion") motion(a, b);
  if (verb == "reshape") reshape(a, b);
  if (verb == "menu") menus.at(static_cast<size_t>(a - 1))(b);
  for (int i = 0; i < a && (verb == "idle" || verb == "run"); ++i) idle();
  for (int i = 0; i < a && (verb == "frame" || verb == "run"); ++i) display();
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

// Without a display the tests skip, except under CI, where that is a failure. The connection
// stays open: closing the only client would let Xvfb reset just as GLUT connects.
bool open_gl_window() {
  static const bool display = XOpenDisplay(nullptr) != nullptr;
  EXPECT_TRUE(display || std::string(std::getenv("CI") ? std::getenv("CI") : "") != "true")
      << "no X display: the OpenGL tests cannot run";
  if (!display || !menus.empty()) return display;
  run_command = [](const char* command) { return std::printf("[system] %s\n", command); };
  apply_event("reset");
  int argc = 1;
  char name[] = "gl_tests";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(1024, 768);
  glutCreateWindow("gl_tests");
  init_graphics();
  call_log += floats("projection before the first reshape", GL_PROJECTION_MATRIX, 16);
  create_menus();
  reshape(1024, 768);
  return true;
}

// Every field of the three records as one "name=value" word; doubles round-trip exactly.
std::string dump_records() {
  const SimState& s = sim;
  const ViewState& v = view;
  const TraceBuffer& t = trace;
  const int newest = t.trace_len - 1;
  // A table of the fields, named as they are spelt.
  // clang-format off
#define F(x) {#x, static_cast<double>(x)}
  const std::pair<const char*, double> fields[] = {
      F(s.sim_time), F(s.earth_angle), F(s.sky_angle), F(s.plane_angle), F(s.omega),
      F(s.latitude), F(s.sin_lat), F(s.cos_lat), F(s.omega_sin_lat), F(s.dt),
      F(s.substeps_per_idle), F(s.bob_x), F(s.bob_y), F(s.bob_z), F(s.bob_vx), F(s.bob_vy),
      F(s.mid_x), F(s.mid_y), F(s.mid_vx), F(s.mid_vy), F(s.running), F(s.earth_fixed),
      F(s.first_reset), F(v.view_free), F(v.view_zoom), F(v.view_rot_x), F(v.view_rot_y),
      F(v.saved_rot_x), F(v.saved_rot_y), F(v.eye_x), F(v.eye_y), F(v.eye_z), F(v.look_dx),
      F(v.look_dz), F(v.corotate), F(v.show_help), F(v.lighting_on), F(glIsEnabled(GL_LIGHTING)),
      F(t.trace_len), F(t.trace_start), F(t.frame_count), F(t.trace_x[newest]),
      F(t.trace_y[newest]), F(t.trace_z[newest])};
#undef F
  // clang-format on
  std::string out;
  char word[96];
  for (const auto& [name, value] : fields) {
    std::snprintf(word, sizeof word, "%s=%.17g ", name, value);
    out += word;
  }
  return out;
}

// The words of after that differ from before, a line each.
std::string changed_words(const std::string& before, const std::string& after) {
  std::istringstream b(before), a(after);
  std::string out;
  for (std::string wb, wa; b >> wb && a >> wa;)
    if (wa != wb) out += "  " + wa + "\n";
  return out;
}

// The GL state a frame relies on, then the frame in feedback mode: one line per primitive
// (window coordinates, depth and lit colour of each vertex) and one per line of text.
std::string dump_frame() {
  std::string out;
  for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_TEXTURE_2D, GL_CULL_FACE,
                     GL_NORMALIZE, GL_COLOR_MATERIAL})
    out += "enabled " + std::to_string(cap) + " " + std::to_string(glIsEnabled(cap)) + "\n";
  out += floats("clear", GL_COLOR_CLEAR_VALUE, 4) + floats("projection", GL_PROJECTION_MATRIX, 16);
  out += floats("viewport", GL_VIEWPORT, 4);
  for (GLenum what : {GL_DEPTH_FUNC, GL_SHADE_MODEL, GL_FRONT_FACE, GL_CULL_FACE_MODE})
    out += floats("state", what, 1);
  static std::vector<GLfloat> buffer(1 << 22);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  frame_text.clear();
  cleared = 0;
  apply_event("frame 1");
  const GLint count = glRenderMode(GL_RENDER);
  out += "cleared " + std::to_string(cleared) + "\n";
  char v[96];
  for (GLenum lamp : {GL_LIGHT0, GL_LIGHT1}) {  // positions as the frame left them (eye space)
    for (GLenum what : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_POSITION}) {
      GLfloat l[4];
      glGetLightfv(lamp, what, l);
      std::snprintf(v, sizeof v, "light %u %u %g %g %g %g\n", lamp, what, l[0], l[1], l[2], l[3]);
      out += v;
    }
  }
  out += "feedback " + std::to_string(count) + frame_text + "\n";
  for (GLint i = 0; i < count;) {
    const int token = static_cast<int>(buffer[static_cast<size_t>(i++)]);
    int n = token == GL_POLYGON_TOKEN ? static_cast<int>(buffer[static_cast<size_t>(i++)]) : 1;
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) n = 2;
    out += std::to_string(token);
    for (int k = 0; k < n; ++k, i += 7) {
      const GLfloat* f = &buffer[static_cast<size_t>(i)];
      std::snprintf(v, sizeof v, "  %.2f %.2f %.4f %.3f %.3f %.3f", f[0], f[1], f[2], f[3], f[4],
                    f[5]);
      out += v;
    }
    out += "\n";
  }
  return out;
}

// Lines that match word for word, numbers within tolerance of each other; text drawn in the
// window matches blank for blank.
bool close_enough(const std::string& want, const std::string& got, double tolerance) {
  std::istringstream ws(want), gs(got);
  std::string a, b;
  while (want.rfind("text", 0) != 0) {
    const bool more_a = static_cast<bool>(ws >> a), more_b = static_cast<bool>(gs >> b);
    if (more_a != more_b) return false;
    if (!more_a) return true;
    char *end_a = nullptr, *end_b = nullptr;
    const double x = std::strtod(a.c_str(), &end_a), y = std::strtod(b.c_str(), &end_b);
    if (a != b && (*end_a != '\0' || *end_b != '\0' || !(std::fabs(x - y) <= tolerance)))
      return false;
  }
  return false;
}

// Compares text with tests/data/<name> line by line: exactly, or with numbers within
// tolerance; FOUCAULT_REGEN=1 writes the file instead.
void expect_data(const std::string& name, const std::string& text, double tolerance = 0.0) {
  if (std::getenv("FOUCAULT_REGEN") != nullptr)
    std::ofstream(FOUCAULT_TEST_DATA "/" + name) << text;
  std::ifstream want(FOUCAULT_TEST_DATA "/" + name);
  std::istringstream got(text);
  std::string w, g;
  for (int number = 1;; ++number) {
    const bool more_w = !std::getline(want, w).fail(), more_g = !std::getline(got, g).fail();
    if (!more_w && !more_g) return;
    ASSERT_TRUE(more_w == more_g && (w == g || (tolerance > 0 && close_enough(w, g, tolerance))))
        << "tests/data/" << name << ":" << number << "\n want: " << w << "\n  got: " << g;
  }
}

std::vector<std::string> data_lines(const std::string& name) {
  std::ifstream in(FOUCAULT_TEST_DATA "/" + name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  return lines;
}

}  // namespace

extern "C" {
void __real_glutBitmapCharacter(void* font, int c);
void __real_glRasterPos2i(GLint x, GLint y);
void __real_glClear(GLbitfield mask);
int __wrap_glutCreateMenu(void (*callback)(int)) {
  menus.push_back(callback);
  call_log += "glutCreateMenu -> " + std::to_string(menus.size()) + "\n";
  return static_cast<int>(menus.size());
}
void __wrap_glutAddMenuEntry(const char* label, int value) {
  add_entry("glutAddMenuEntry", label, value);
}
void __wrap_glutAddSubMenu(const char* label, int menu) {
  add_entry("glutAddSubMenu", label, menu);
}
void __wrap_glutAttachMenu(int button) {
  call_log += "glutAttachMenu " + std::to_string(button) + "\n";
}
void __wrap_glutFullScreen() {
  call_log += "glutFullScreen\n";
}
void __wrap_glutPostRedisplay() {
  ++redisplays;
}
void __wrap_glClear(GLbitfield mask) {
  cleared |= mask, __real_glClear(mask);
}
void __wrap_glRasterPos2i(GLint x, GLint y) {
  __real_glRasterPos2i(x, y);
  frame_text += "\ntext " + std::to_string(x) + " " + std::to_string(y) + " ";
}
void __wrap_glutBitmapCharacter(void* font, int c) {
  frame_text += static_cast<char>(c);
  __real_glutBitmapCharacter(font, c);
}
}

TEST(Program, Transcript) {
  if (!open_gl_window()) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  std::string before = dump_records();
  std::string out = take_call_log() + "records " + before + "\n";
  for (const std::string& line : data_lines("app/events.txt")) {
    if (line.rfind("picture ", 0) == 0)
      expect_data("render/" + line.substr(8) + ".txt", dump_frame(), kFeedbackTolerance);
    out += "> " + line + "\n" + apply_event(line);
    out += take_call_log();
    const std::string after = dump_records();
    out += changed_words(before, after);
    before = after;
  }
  expect_data("app/events.out", out);
}

// Held keys and repeated menu choices included: the latitude round and round, the rate past
// the largest double and below the smallest, the camera far off, windows of no size.
// FOUCAULT_STORM_SEED replays another seed.
TEST(Program, SeededStorm) {
  if (!open_gl_window()) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  const char* seed_text = std::getenv("FOUCAULT_STORM_SEED");
  const unsigned seed = seed_text != nullptr ? std::strtoul(seed_text, nullptr, 0) : 20261207u;
  std::mt19937 rng(seed);
  const std::vector<std::string> vocabulary = data_lines("app/storm_events.txt");
  for (int i = 0; i < 10000; ++i) {
    std::string event = vocabulary[rng() % vocabulary.size()];
    for (size_t at; (at = event.find_first_of("*%")) != std::string::npos;) {
      const int wide = static_cast<int>(rng() % 2000001) - 1000000;
      event.replace(at, 1, std::to_string(event[at] == '%' ? wide % 200 + 199 : wide));
    }
    const bool held = event.rfind("key", 0) == 0 || event.rfind("menu", 0) == 0;
    for (unsigned n = held && rng() % 8 == 0 ? rng() % 3000 : 1; n > 0; --n) apply_event(event);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const bool ok =
        view.view_free + view.view_zoom == 1 && view.view_free * view.view_zoom == 0 &&
        static_cast<unsigned>(sim.running | sim.earth_fixed | view.corotate | view.show_help) <=
            1 &&
        view.lighting_on == glIsEnabled(GL_LIGHTING) && trace.trace_len == 100 &&
        trace.trace_start >= 1 && trace.trace_start <= 100 && trace.frame_count >= 0 &&
        sim.sin_lat == std::sin(sim.latitude) && sim.cos_lat == std::cos(sim.latitude) &&
        std::isfinite(projection[0]) && std::isfinite(projection[5]) &&
        (!std::isfinite(sim.omega) || sim.omega_sin_lat == std::sin(sim.latitude) * sim.omega);
    ASSERT_TRUE(ok) << "seed " << seed << ", event " << i << " (" << event << ")\n"
                    << dump_records();
  }
}
