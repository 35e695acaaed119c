// The program on one real GLUT window (Mesa under Xvfb), driven by the events of
// tests/data/app/events.txt: the keys, Page Up and Page Down, the mouse and every menu entry.
// The transcript holds what each event printed and called and the fields it changed; at
// "picture NAME" the frame is drawn in feedback mode and its record compared with
// tests/data/render/NAME.txt. Then a seeded storm of the same events checks the invariants,
// and every language's texts are drawn and put in the menus.
// The program's GLUT calls are logged and its drawn groups found as tests/app/events.h says;
// glClear and glutBitmapCharacter are wrapped here too, so the tests read the buffers cleared
// and every character written. The help command is logged, not run.
// FOUCAULT_REGEN=1 writes the data files afresh: read the difference before committing it.
#include "app/menus.h"
#include "app/options.h"
#include "app/window.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "render/texts.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/app/events.h"
#include "tests/sim/records.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
// After gtest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <numeric>
#include <random>
#include <regex>
#include <sstream>
#include <tuple>
#include <utility>

namespace {

// The buffers cleared since the last picture, the frame's feedback, and the farthest right
// that a character has ended in window pixels.
GLbitfield cleared = 0;
std::vector<GLfloat> feedback(1 << 20);
GLfloat text_right = 0.0f;

// The GL names a picture record is read by and written in: the capabilities, the lamps and
// their values, the state queries and what they may answer, the buffer bits.
using Named = std::pair<GLenum, const char*>;
// clang-format off
#define NAMED(x) Named{GL_##x, "GL_" #x}
const Named caps[] = {NAMED(DEPTH_TEST), NAMED(LIGHTING), NAMED(LIGHT0), NAMED(LIGHT1),
    NAMED(TEXTURE_2D), NAMED(CULL_FACE), NAMED(NORMALIZE), NAMED(COLOR_MATERIAL)};
const Named lamps[] = {NAMED(LIGHT0), NAMED(LIGHT1)};
const Named lamp_values[] = {NAMED(AMBIENT), NAMED(DIFFUSE), NAMED(SPECULAR), NAMED(POSITION)};
const Named queries[] = {NAMED(DEPTH_FUNC), NAMED(SHADE_MODEL), NAMED(FRONT_FACE), NAMED(CULL_FACE_MODE)};
const Named answers[] = {NAMED(LESS), NAMED(LEQUAL), NAMED(SMOOTH), NAMED(FLAT), NAMED(CCW),
    NAMED(CW), NAMED(FRONT), NAMED(BACK)};
const Named clear_bits[] = {NAMED(COLOR_BUFFER_BIT), NAMED(DEPTH_BUFFER_BIT),
    NAMED(STENCIL_BUFFER_BIT), NAMED(ACCUM_BUFFER_BIT)};
#undef NAMED
// clang-format on

std::string take_call_log() {
  if (redisplays > 0)
    call_log += "glutPostRedisplay x" + std::to_string(std::exchange(redisplays, 0)) + "\n";
  return std::exchange(call_log, "");
}

// A record's line: a name, then n numbers.
std::string numbers(std::string line, const GLfloat* v, int n) {
  for (int i = 0; i < n; ++i) line += " " + std::to_string(v[i]);
  return line + "\n";
}

std::string floats(const char* name, GLenum what, int n) {
  GLfloat v[16];
  glGetFloatv(what, v);
  return numbers(name, v, n);
}

// Runs an event the given number of times and returns what it printed.
std::string printed(const std::string& event, unsigned times = 1) {
  testing::internal::CaptureStdout();
  for (unsigned i = 0; i < times; ++i) apply_event(event);
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

// Opens the program's window once per process (ctest runs each test in a process of its own),
// with the menus and the first reshape. Without a display the tests skip, except under CI,
// where that is a failure. The connection stays open: closing the only client would let Xvfb
// reset just as GLUT connects.
bool open_gl_window() {
  if (!menus.empty()) return true;
  const bool display = XOpenDisplay(nullptr) != nullptr;
  EXPECT_TRUE(display || std::string(std::getenv("CI") ? std::getenv("CI") : "") != "true")
      << "no X display: the OpenGL tests cannot run";
  if (!display) return false;
  run_command = [](const char* command) { return std::printf("[system] %s\n", command); };
  // Each drawn group opens with a pass-through token naming it (ignored outside feedback mode).
  group_begins = [](int group) { glPassThrough(static_cast<GLfloat>(group)); };
  int argc = 1;
  char* argv[] = {const_cast<char*>("gl_tests"), nullptr};
  open_window(&argc, argv);
  printed("start");
  return true;
}

// Every field of the three records, doubles exactly, and the newest trace entry.
std::string dump_records() {
  const ViewState& v = view;
  const TraceBuffer& t = trace;
  const int newest = t.trace_len - 1;
  return model_words() +
         words({FIELD(v.view_free), FIELD(v.view_zoom), FIELD(v.view_rot_x), FIELD(v.view_rot_y),
                FIELD(v.saved_rot_x), FIELD(v.saved_rot_y), FIELD(v.eye_x), FIELD(v.eye_y),
                FIELD(v.eye_z), FIELD(v.look_dx), FIELD(v.look_dz), FIELD(v.corotate),
                FIELD(v.show_help), FIELD(v.lighting_on), FIELD(glIsEnabled(GL_LIGHTING)),
                FIELD(t.trace_x[newest]), FIELD(t.trace_y[newest]), FIELD(t.trace_z[newest])});
}

// The words of after that differ from before, a line each.
std::string changed_words(const std::string& before, const std::string& after) {
  std::istringstream b(before), a(after);
  std::string out, wb, wa;
  while (b >> wb && a >> wa)
    if (wa != wb) out += "  " + wa + "\n";
  return out;
}

// The GL state a frame relies on, the buffers cleared, the lamps, each line of text, then the
// frame in feedback mode, a line per drawn group: its primitives and vertices and, for x and y
// in window pixels, depth and the lit red, green and blue, the least, greatest and mean value,
// rounded to what a fault changes and a Mesa that clips a little differently does not.
std::string picture_record() {
  std::string out;
  for (const auto& [cap, name] : caps)
    out += "enabled " + std::string(name) + " " + std::to_string(glIsEnabled(cap)) + "\n";
  out += floats("clear", GL_COLOR_CLEAR_VALUE, 4) + floats("projection", GL_PROJECTION_MATRIX, 16);
  out += floats("viewport", GL_VIEWPORT, 4);
  for (const auto& [what, name] : queries) {
    GLint v = 0;
    glGetIntegerv(what, &v);
    std::string answer = std::to_string(v);
    for (const auto& [value, known] : answers)
      if (value == static_cast<GLenum>(v)) answer = known;
    out += "state " + std::string(name) + " " + answer + "\n";
  }
  glFeedbackBuffer(static_cast<GLsizei>(feedback.size()), GL_3D_COLOR, feedback.data());
  glRenderMode(GL_FEEDBACK);
  frame_text.clear();
  cleared = 0;
  printed("frame 1");
  const GLint count = glRenderMode(GL_RENDER);
  std::string bits;
  for (const auto& [bit, name] : clear_bits)
    if ((cleared & bit) != 0) bits += (bits.empty() ? "" : "|") + std::string(name);
  out += "cleared " + bits + "\n";
  GLfloat l[4];
  for (const auto& [lamp, lamp_name] : lamps)  // positions as the frame left them (eye space)
    for (const auto& [what, name] : lamp_values) {
      glGetLightfv(lamp, what, l);
      out += numbers("light " + std::string(lamp_name) + " " + name, l, 4);
    }
  // Each text line opens with a line break.
  out +=
      frame_text.erase(0, 1) + "\n# group primitives vertices, x y z r g b: least greatest mean\n";
  // A token, a polygon's vertex count, then vertices of 7 floats (x, y, z, r, g, b, a).
  std::vector<std::tuple<const char*, int, std::vector<const GLfloat*>>> groups;
  for (GLint i = 0; i < count;) {
    const auto next = [&i] { return static_cast<int>(feedback[i++]); };
    const int token = next();
    const bool line = token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN;
    const int n = token == GL_PASS_THROUGH_TOKEN ? 0
                  : token == GL_POLYGON_TOKEN    ? next()
                                                 : 1 + line;
    if (n == 0) groups.push_back({group_names[next()], 0, {}});  // a group begins
    auto& [name, primitives, vertices] = groups.back();
    primitives += n > 0;
    for (int k = 0; k < n; ++k, i += 7) vertices.push_back(&feedback[i]);
  }
  const int decimals[] = {1, 1, 4, 2, 2, 2};
  char part[64];
  for (const auto& [name, primitives, v] : groups) {
    if (v.empty()) continue;  // all of it outside the view
    out += name + (" " + std::to_string(primitives)) + " " + std::to_string(v.size());
    for (int k = 0; k < 6; ++k) {
      double low = v[0][k], high = low, sum = 0.0;
      for (const GLfloat* p : v)
        low = std::min<double>(low, p[k]), high = std::max<double>(high, p[k]), sum += p[k];
      const int d = decimals[k];
      std::snprintf(part, sizeof part, "  %c %.*f %.*f %.*f", "xyzrgb"[k], d, low, d, high, d,
                    sum / static_cast<double>(v.size()));
      out += part;
    }
    out += "\n";
  }
  return out;
}

// Whether a picture record's line matches: word for word, where a number with a decimal point
// may be off by one and a half units of its last digit; a text line blank for blank.
bool same_record_line(const std::string& want, const std::string& got) {
  if (want == got || want.rfind("text", 0) == 0) return want == got;
  std::istringstream ws(want), gs(got);
  std::string w, g;
  while (ws >> w && gs >> g) {
    const size_t point = w.find('.');
    const double unit = point == std::string::npos ? 0.0 : std::pow(10.0, 1.0 + point - w.size());
    const double off = std::fabs(std::atof(w.c_str()) - std::atof(g.c_str()));
    if (w != g && (unit == 0.0 || off > 1.5 * unit)) return false;
  }
  return ws.fail() && !(gs >> g);  // neither has a word more
}

}  // namespace

// The frame stays in the back buffer, GL's buffer for reading, where the pixel probes read it.
void glutSwapBuffers() {}

extern "C" {
void __real_glutBitmapCharacter(void* font, int c);
void __real_glClear(GLbitfield mask);
void __wrap_glClear(GLbitfield mask) {
  cleared |= mask;
  __real_glClear(mask);
}
void __wrap_glutBitmapCharacter(void* font, int c) {
  EXPECT_TRUE(c >= ' ' && c <= 255) << c << " after" << frame_text;  // the font's letters
  frame_text += static_cast<char>(c);
  __real_glutBitmapCharacter(font, c);
  GLfloat next[4];  // where the next character goes
  glGetFloatv(GL_CURRENT_RASTER_POSITION, next);
  text_right = std::max(text_right, next[0]);
}
}

TEST(Program, Transcript) {
  if (!open_gl_window()) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  std::string before = dump_records();
  std::string out = take_call_log() + "records " + before;
  for (const std::string& line : data_lines("app/events.txt")) {
    if (line.rfind("picture ", 0) == 0)
      expect_data("render/" + line.substr(8) + ".txt", picture_record(), same_record_line);
    out += "> " + line + "\n" + printed(line);
    out += take_call_log();
    const std::string after = dump_records();
    out += changed_words(std::exchange(before, after), after);
  }
  expect_data("app/events.out", out);
}

// Held keys and repeated menu choices included: the latitude round and round, the rate past
// the largest double and below the smallest, the camera far off, windows of no size.
// FOUCAULT_STORM_SEED replays another seed, FOUCAULT_STORM_EVENTS sets the length.
TEST(Program, SeededStorm) {
  if (!open_gl_window()) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  const char* seed_text = std::getenv("FOUCAULT_STORM_SEED");
  const unsigned seed = seed_text != nullptr ? std::strtoul(seed_text, nullptr, 0) : 20261207u;
  const char* events_text = std::getenv("FOUCAULT_STORM_EVENTS");
  const int storm_events = events_text != nullptr ? std::atoi(events_text) : 10000;
  std::mt19937 rng(seed);
  const std::vector<std::string> vocabulary = data_lines("app/storm_events.txt");
  for (int i = 0; i < storm_events; ++i) {
    std::string event = vocabulary[rng() % vocabulary.size()];
    // Each * becomes a coordinate, each % a window side.
    for (size_t at; (at = event.find_first_of("*%")) != std::string::npos;) {
      const int wide = static_cast<int>(rng() % 2000001) - 1000000;
      event.replace(at, 1, std::to_string(event[at] == '%' ? wide % 200 + 199 : wide));
    }
    const bool held = event.rfind("key", 0) == 0 || event.rfind("menu", 0) == 0;
    printed(event, held && rng() % 8 == 0 ? rng() % 3000 : 1);
    SCOPED_TRACE("seed " + std::to_string(seed) + ", event " + std::to_string(i) + ": " + event);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const std::pair<bool, const char*> invariants[] = {
        {view.view_free + view.view_zoom == 1 && view.view_free * view.view_zoom == 0,
         "one camera mode"},
        {static_cast<unsigned>(sim.running | sim.earth_fixed | view.corotate | view.show_help) <= 1,
         "switches 0 or 1"},
        {view.lighting_on == glIsEnabled(GL_LIGHTING), "lighting switch as GL has it"},
        {trace.trace_len == trace_entries && trace.trace_start >= 1 &&
             trace.trace_start <= trace_entries && trace.frame_count >= 0,
         "trace window inside its arrays"},
        {sim.sin_lat == std::sin(sim.latitude) && sim.cos_lat == std::cos(sim.latitude),
         "latitude terms derived"},
        {std::isfinite(projection[0]) && std::isfinite(projection[5]), "finite projection"},
        {!std::isfinite(sim.omega) || sim.omega_sin_lat == std::sin(sim.latitude) * sim.omega,
         "rate term derived"}};
    for (const auto& [kept, name] : invariants) EXPECT_TRUE(kept) << name;
    ASSERT_FALSE(HasFailure()) << dump_records();
  }
}

TEST(Texts, LettersTheFontsLackAreSpelledOut) {
  const std::pair<const char*, const char*> spellings[] = {
      {"é à ° « ß ñ ¡ ã", "\xE9 \xE0 \xB0 \xAB \xDF \xF1 \xA1 \xE3"},
      {"cœur Œuvre l’été ‘x’ “y”", "coeur OEuvre l'\xE9t\xE9 'x' \"y\""},
      {"10 € attends… a–b—c", "10 EUR attends... a-b-c"},
      {"a\u202Fb\u2009c\u00A0" "d", "a b c\xA0" "d"},
      {"日本 ✓ \xC3 \x80", "?? ? ? ?"}};  // letters outside Latin-1, broken sequences
  for (const auto& [utf8, want] : spellings) EXPECT_EQ(latin1(utf8), want) << utf8;
}

// Every language's texts, the pseudo-language's (every text 40 % longer, accented) and an
// unknown code's (the default): the overlay's lines and the menus' labels in Latin-1 bytes
// that the fonts have (the characters written are checked above), with no UTF-8 left in
// them; the lines inside the 1024x768 picture, in projector mode too; each label a third of
// it at the most in freeglut's menu font, Helvetica 18, so that a menu and its submenu side
// by side take two thirds; the help entry's page in the language. The pseudo-language's
// overlay sends the font every letter and sign from 160 to 255.
TEST(Texts, EveryLanguageFitsThePictureAndTheMenus) {
  if (!open_gl_window()) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  std::istringstream codes(std::string(languages) + " qps xx");
  for (std::string code; codes >> code;) {
    SCOPED_TRACE("language " + code);
    EXPECT_EQ(set_language(code.c_str()), code != "xx");
    view.show_help = 1;
    for (const int projector : {1, 0}) {  // the projector's larger font too
      view.projector = projector;
      frame_text.clear(), text_right = 0.0f, take_call_log();
      apply_event("frame 1");
      EXPECT_EQ(std::count(frame_text.begin(), frame_text.end(), '\n'), 10)
          << "instruction, credit, help";
      EXPECT_LE(text_right, static_cast<GLfloat>(window_width)) << frame_text;
    }
    for (int c = 160; code == "qps" && c <= 255; ++c) {
      EXPECT_NE(frame_text.find(static_cast<char>(c)), std::string::npos) << c;
    }
    create_menus();
    const std::string shown = frame_text + take_call_log();
    int labels = 0;  // in the lines of glutAddMenuEntry and glutAddSubMenu: "LABEL" VALUE
    const std::regex entry("\"(.*)\" [0-9]+\n");
    for (std::sregex_iterator m(shown.begin(), shown.end(), entry), end; m != end; ++m, ++labels) {
      const std::string label = m->str(1);
      const auto* bytes = reinterpret_cast<const unsigned char*>(label.c_str());
      EXPECT_LE(glutBitmapLength(GLUT_BITMAP_HELVETICA_18, bytes), window_width / 3) << label;
    }
    EXPECT_EQ(labels, 22) << "the menus' entries";
    // UTF-8 left in Latin-1 bytes: a letter from À on, then a byte from 0x80 to 0xBF ("Ã©" for é).
    EXPECT_TRUE(std::adjacent_find(shown.begin(), shown.end(), [](unsigned char a, unsigned char b) {
                  return a >= 0xC0 && (b & 0xC0) == 0x80;
                }) == shown.end()) << shown;
    const std::string page = code == "xx" ? "./help.html " : "./help." + code + ".html ";
    EXPECT_NE(printed("menu 5 12").find("open " + page), std::string::npos) << page;
  }
}

// Each row of tests/data/app/options.txt: start-up options left of the bar, the menu entries
// and keys that give the same state right of it, events separated by ";". Both sides, played
// from the state at start-up, give the same picture, records and console after a few keys.
// What the left side printed is options.out: nothing for good options, a line for a bad one.
// The state's options (option_words, a page's address) given again give it again.
TEST(Options, GiveTheStateOfTheirMenuEntriesAndKeys) {
  if (!open_gl_window()) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  const SimState start_sim = sim;
  const ViewState start_view = view;
  const TraceBuffer start_trace = trace;
  const auto play = [](const std::string& events) {
    std::string out;
    std::istringstream in(events);
    for (std::string event; std::getline(in >> std::ws, event, ';');) out += printed(event);
    return out;
  };
  std::string words;  // the state's address (option_words) before the keys
  const auto state = [&](const std::string& events, std::string* said) {
    sim = start_sim, view = start_view, clear_trace(), trace = start_trace, set_language("");
    *said = play(events);
    words = "--" + std::regex_replace(option_words(), std::regex("&"), " --");
    const std::string after = play("run 30; key +; key P");
    *said += after;
    return after + dump_records() + picture_record();
  };
  std::string out, said, other;
  for (const std::string& row : data_lines("app/options.txt")) {
    const size_t bar = row.find(" |");
    const std::string left = state(row.substr(0, bar), &said);
    out += "> " + row.substr(0, bar) + "\n" + said;
    const std::string address = words;  // it reopens the same state, saying nothing
    EXPECT_EQ(left, state(row.substr(bar + 2), &other)) << row;
    const std::regex frames("t.frame_count=[0-9]+");  // frames drawn are no part of a lesson
    EXPECT_EQ(std::regex_replace(left, frames, ""),
              std::regex_replace(state("options " + address, &other), frames, "")) << address;
    EXPECT_EQ(other, left.substr(0, other.size())) << address;
  }
  expect_data("app/options.out", out);
}

// Projector mode on the test's 1024x768 window: the instruction line's first capital (the
// leftmost red pixels of the top rows) at least 12 pixels tall, and its colour at least 4.5:1
// on black, in WCAG 2's relative luminance.
TEST(Options, ProjectorTextReadsFromTheBackOfTheClassroom) {
  if (!open_gl_window()) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  view.projector = 1;
  apply_event("frame 1");
  constexpr int band = 80;  // the top rows: the instruction line and the sky's wire
  std::vector<GLubyte> rgb(3 * window_width * band);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, window_height - band, window_width, band, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  const auto pixel = [&rgb](int x, int y) { return &rgb[3 * (y * window_width + x)]; };
  const auto red = [&pixel](int x, int y) { return pixel(x, y)[0] > 2 * pixel(x, y)[2] + 40; };
  const auto linear = [](GLubyte c) {
    return c <= 10 ? c / 255.0 / 12.92 : std::pow((c / 255.0 + 0.055) / 1.055, 2.4);
  };
  int left = window_width, rows = 0;
  double contrast = 21.0;
  for (int y = 0; y < band; ++y)
    for (int x = 0; x < window_width; ++x) {
      if (!red(x, y)) continue;
      const GLubyte* p = pixel(x, y);
      left = std::min(left, x);
      const double lit = 0.2126 * linear(p[0]) + 0.7152 * linear(p[1]) + 0.0722 * linear(p[2]);
      contrast = std::min(contrast, (lit + 0.05) / 0.05);
    }
  ASSERT_LT(left, window_width / 2) << "no red text in the top rows";
  for (int y = 0; y < band; ++y) {
    int lit = 0;  // in the capital C's columns, short of the l after it
    for (int x = left; x < left + 8; ++x) lit += red(x, y);
    rows += lit > 0;
  }
  EXPECT_GE(rows, 12) << "pixels of the capital's height, from x " << left;
  EXPECT_GE(contrast, 4.5);
}
