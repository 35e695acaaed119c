// The window, the event language and the dumps. The menu and text calls of freeglut are
// wrapped at link time (-Wl,--wrap=...), so the tests read the menu tree and every
// character the overlay writes; the help entry's command is logged, not run.
#include "tests/gl/gl_fixture.h"

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
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

struct Menu {
  void (*callback)(int);
  std::vector<std::pair<std::string, int>> entries;  // value, or -id of a submenu
};
std::vector<Menu> menus;
int current_menu = 0, attached_menu = 0;
std::string call_log, frame_text;
int redisplays = 0;
GLbitfield cleared = 0;  // the buffers glClear was asked for since the last frame dump

void log_call(const std::string& call) { call_log += call + "\n"; }

int log_command(const char* command) {
  std::printf("[system] %s\n", command);
  return 0;
}

std::string trim(const std::string& s) { return s.substr(0, s.find_last_not_of(' ') + 1); }

void choose(const std::string& path) {
  int id = attached_menu;
  std::istringstream parts(path);
  for (std::string label; std::getline(parts, label, '|');) {
    const Menu& menu = menus.at(static_cast<size_t>(id - 1));
    for (const auto& [name, value] : menu.entries) {
      if (trim(name) != trim(label)) continue;
      if (value < 0) id = -value;
      else menu.callback(value);
      break;
    }
  }
}

}  // namespace

extern "C" {
void __real_glutBitmapCharacter(void* font, int c);
void __real_glRasterPos2i(GLint x, GLint y);
int __wrap_glutCreateMenu(void (*callback)(int)) {
  menus.push_back({callback, {}});
  current_menu = static_cast<int>(menus.size());
  log_call("glutCreateMenu -> " + std::to_string(current_menu));
  return current_menu;
}
void __wrap_glutAddMenuEntry(const char* label, int value) {
  menus[static_cast<size_t>(current_menu - 1)].entries.emplace_back(label, value);
  log_call("glutAddMenuEntry \"" + std::string(label) + "\" " + std::to_string(value));
}
void __wrap_glutAddSubMenu(const char* label, int id) {
  menus[static_cast<size_t>(current_menu - 1)].entries.emplace_back(label, -id);
  log_call("glutAddSubMenu \"" + std::string(label) + "\" " + std::to_string(id));
}
void __wrap_glutAttachMenu(int button) {
  attached_menu = current_menu;
  log_call("glutAttachMenu " + std::to_string(button));
}
void __wrap_glutFullScreen() { log_call("glutFullScreen"); }
void __wrap_glutPostRedisplay() { ++redisplays; }
void __real_glClear(GLbitfield mask);
void __wrap_glClear(GLbitfield mask) { cleared |= mask, __real_glClear(mask); }
void __wrap_glRasterPos2i(GLint x, GLint y) {
  __real_glRasterPos2i(x, y);
  GLint valid = 0;
  glGetIntegerv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
  frame_text += "\ntext " + std::to_string(x) + " " + std::to_string(y) + " valid=" +
                std::to_string(valid) + " ";
}
void __wrap_glutBitmapCharacter(void* font, int c) {
  frame_text += static_cast<char>(c);
  __real_glutBitmapCharacter(font, c);
}
}

void open_gl_window() {
  if (!menus.empty()) return;
  run_command = log_command;
  apply_event("reset");
  int argc = 1;
  char name[] = "gl_tests";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kWindowWidth, kWindowHeight);
  glutCreateWindow("gl_tests");
  init_graphics();
  GLfloat p[16];  // the projection until the first reshape
  glGetFloatv(GL_PROJECTION_MATRIX, p);
  log_call("projection " + std::to_string(p[0]) + " " + std::to_string(p[5]) + " " +
           std::to_string(p[10]) + " " + std::to_string(p[14]));
  create_menus();
  reshape(kWindowWidth, kWindowHeight);
}

std::string apply_event(const std::string& line) {
  std::istringstream in(line);
  std::string verb, rest;
  int a = 0, b = 0;
  in >> verb;
  std::getline(in >> std::ws, rest);
  std::istringstream(rest) >> a >> b;
  char* text = nullptr;
  size_t size = 0;
  std::fflush(stdout);
  std::FILE* console = stdout;
  stdout = open_memstream(&text, &size);
  if (verb == "reset") reset_simulation();
  if (verb == "key") keyboard(static_cast<unsigned char>(rest.at(0)), 0, 0);
  if (verb == "special") special_key(rest == "up" ? GLUT_KEY_PAGE_UP : GLUT_KEY_PAGE_DOWN, 0, 0);
  if (verb == "mouse") mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, 0, 0);
  if (verb == "motion") motion(a, b);
  if (verb == "reshape") reshape(a, b);
  if (verb == "menu") choose(rest);
  for (int i = 0; i < a && (verb == "idle" || verb == "run"); ++i) idle();
  for (int i = 0; i < a && (verb == "frame" || verb == "run"); ++i) display();
  std::fclose(stdout);
  stdout = console;
  std::string out(text, size);
  std::free(text);
  return out;
}

std::string dump_records() {
  char s[2048];
  const SimState& m = sim;
  std::snprintf(
      s, sizeof s,
      "t=%.17g earth=%.17g sky=%.17g plane=%.17g omega=%.17g lat=%.17g sin=%.17g cos=%.17g "
      "ows=%.17g dt=%.17g sub=%d bob=%.17g,%.17g,%.17g v=%.17g,%.17g mid=%.17g,%.17g "
      "midv=%.17g,%.17g running=%d fixed=%d first=%d free=%d zoom=%d rot=%.9g,%.9g "
      "saved=%.9g,%.9g eye=%.9g,%.9g,%.9g look=%.9g,%.9g corotate=%d help=%d lit=%d,%d "
      "trace=%d,%d frames=%d newest=%.9g,%.9g,%.9g",
      m.sim_time, m.earth_angle, m.sky_angle, m.plane_angle, m.omega, m.latitude, m.sin_lat,
      m.cos_lat, m.omega_sin_lat, m.dt, m.substeps_per_idle, m.bob_x, m.bob_y, m.bob_z, m.bob_vx,
      m.bob_vy, m.mid_x, m.mid_y, m.mid_vx, m.mid_vy, m.running, m.earth_fixed, m.first_reset,
      view.view_free, view.view_zoom, view.view_rot_x, view.view_rot_y, view.saved_rot_x,
      view.saved_rot_y, view.eye_x, view.eye_y, view.eye_z, view.look_dx, view.look_dz,
      view.corotate, view.show_help, view.lighting_on, glIsEnabled(GL_LIGHTING), trace.trace_len,
      trace.trace_start, trace.frame_count, trace.trace_x[trace.trace_len - 1],
      trace.trace_y[trace.trace_len - 1], trace.trace_z[trace.trace_len - 1]);
  return s;
}

std::string dump_frame() {
  std::ostringstream out;
  auto floats = [&](const char* name, GLenum what, int n) {
    GLfloat v[16];
    glGetFloatv(what, v);
    out << name;
    for (int i = 0; i < n; ++i) out << ' ' << v[i];
    out << '\n';
  };
  for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_TEXTURE_2D,
                     GL_CULL_FACE, GL_NORMALIZE, GL_COLOR_MATERIAL})
    out << "enabled " << cap << ' ' << int(glIsEnabled(cap)) << '\n';
  floats("clear", GL_COLOR_CLEAR_VALUE, 4);
  floats("projection", GL_PROJECTION_MATRIX, 16);
  floats("viewport", GL_VIEWPORT, 4);
  for (GLenum what : {GL_DEPTH_FUNC, GL_SHADE_MODEL, GL_FRONT_FACE, GL_CULL_FACE_MODE})
    floats("state", what, 1);
  static std::vector<GLfloat> buffer(1 << 22);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  frame_text.clear();
  cleared = 0;
  apply_event("frame 1");
  const GLint count = glRenderMode(GL_RENDER);
  out << "cleared " << cleared << '\n';
  for (GLenum lamp : {GL_LIGHT0, GL_LIGHT1}) {  // positions as the frame left them (eye space)
    for (GLenum what : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_POSITION}) {
      GLfloat v[4];
      glGetLightfv(lamp, what, v);
      out << "light " << lamp << ' ' << what << ' ' << v[0] << ' ' << v[1] << ' ' << v[2] << ' '
          << v[3] << '\n';
    }
  }
  out << "feedback " << count << frame_text << '\n';
  char v[96];
  for (GLint i = 0; i < count;) {
    const int token = static_cast<int>(buffer[static_cast<size_t>(i++)]);
    int n = token == GL_POLYGON_TOKEN ? static_cast<int>(buffer[static_cast<size_t>(i++)]) : 1;
    if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) n = 2;
    out << std::hex << token << std::dec;
    for (int k = 0; k < n; ++k, i += 7) {
      const GLfloat* f = &buffer[static_cast<size_t>(i)];
      std::snprintf(v, sizeof v, "  %.2f %.2f %.4f %.3f %.3f %.3f", f[0], f[1], f[2], f[3],
                    f[4], f[5]);
      out << v;
    }
    out << '\n';
  }
  return out.str();
}

std::string take_call_log() {
  std::string out = call_log;
  if (redisplays > 0) out += "glutPostRedisplay x" + std::to_string(redisplays) + "\n";
  call_log.clear();
  redisplays = 0;
  return out;
}

std::vector<std::string> data_lines(const std::string& name) {
  std::ifstream in(std::string(FOUCAULT_TEST_DATA) + "/" + name);
  EXPECT_TRUE(in) << "cannot read tests/data/" << name;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') lines.push_back(line);
  return lines;
}

namespace {

// Lines that match word for word, numbers within tolerance of each other.
bool close_enough(const std::string& want, const std::string& got, double tolerance) {
  if (want.rfind("text", 0) == 0) return false;  // drawn text matches blank for blank
  std::istringstream ws(want), gs(got);
  std::string a, b;
  while (true) {
    const bool more_a = static_cast<bool>(ws >> a), more_b = static_cast<bool>(gs >> b);
    if (more_a != more_b) return false;
    if (!more_a) return true;
    char *end_a = nullptr, *end_b = nullptr;
    const double x = std::strtod(a.c_str(), &end_a), y = std::strtod(b.c_str(), &end_b);
    if (a != b && (*end_a != '\0' || *end_b != '\0' || !(std::fabs(x - y) <= tolerance)))
      return false;
  }
}

}  // namespace

void expect_data(const std::string& name, const std::string& text, double tolerance) {
  const std::string path = std::string(FOUCAULT_TEST_DATA) + "/" + name;
  if (std::getenv("FOUCAULT_REGEN") != nullptr) {
    std::ofstream(path) << text;
    return;
  }
  std::ifstream want(path);
  std::istringstream got(text);
  std::string w, g;
  for (int number = 1;; ++number) {
    const bool more_w = static_cast<bool>(std::getline(want, w));
    const bool more_g = static_cast<bool>(std::getline(got, g));
    if (!more_w && !more_g) return;
    if (!more_w) w = "(end of file)";
    if (!more_g) g = "(end of text)";
    ASSERT_TRUE(w == g || (tolerance > 0 && close_enough(w, g, tolerance)))
        << "tests/data/" << name << ":" << number << "\n want: " << w << "\n  got: " << g;
  }
}

// Without a display the OpenGL tests skip (77, which CTest reports as skipped), except
// under CI, where that is a failure.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // The connection stays open: closing the only client would let Xvfb reset as GLUT connects.
  if (testing::GTEST_FLAG(list_tests) || XOpenDisplay(nullptr) != nullptr) return RUN_ALL_TESTS();
  const bool ci = std::getenv("CI") != nullptr && std::string(std::getenv("CI")) == "true";
  std::fprintf(stderr, ci ? "no X display: the OpenGL tests cannot run\n"
                          : "SKIPPED: no X display; run the tests under xvfb-run\n");
  return ci ? 1 : 77;
}
