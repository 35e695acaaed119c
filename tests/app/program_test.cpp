// The keys, Page Up and Page Down, the mouse and every menu entry against the records and the
// picture: a transcript of events with what each printed and called and the fields it
// changed, and at "picture NAME" the frame compared with tests/data/render/NAME.txt; then a
// seeded storm of the same events, with the invariants checked after every one.
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "render/frame.h"
#include "tests/gl/gl_fixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <set>
#include <sstream>

namespace {

// Mesa computes feedback in single precision: 0.02 (pixels, depth, colour) is above its
// rounding and the print's last digit, and far below a degree's turn or a lamp's move.
constexpr double kFeedbackTolerance = 0.02;

// The words of after that differ from before, as "  name=value" lines.
std::string changed_words(const std::string& before, const std::string& after,
                          const std::set<std::string>& only = {}) {
  std::istringstream b(before), a(after);
  std::string out;
  for (std::string wb, wa; b >> wb && a >> wa;) {
    const std::string name = wa.substr(0, wa.find('='));
    if (wa != wb && (only.empty() || only.count(name) > 0)) out += "  " + wa + "\n";
  }
  return out;
}

}  // namespace

TEST(Program, Transcript) {
  open_gl_window();
  std::string before = dump_records();
  std::string out = take_call_log() + "records " + before + "\n";
  for (const std::string& line : data_lines("app/events.txt")) {
    if (line.rfind("picture ", 0) == 0) {
      SCOPED_TRACE(line);
      expect_data("render/" + line.substr(8) + ".txt", dump_frame(), kFeedbackTolerance);
    }
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
TEST(Program, SeededStorm) {
  open_gl_window();
  const char* seed_text = std::getenv("FOUCAULT_STORM_SEED");
  const unsigned seed = seed_text != nullptr ? std::strtoul(seed_text, nullptr, 0) : 20261207u;
  std::mt19937 rng(seed);
  const std::vector<std::string> vocabulary = data_lines("app/storm_events.txt");
  apply_event("menu RAZ vue et calcul");
  const std::string fresh = dump_records();
  for (int i = 0; i < 10000; ++i) {
    std::string event = vocabulary[rng() % vocabulary.size()];
    for (size_t at; (at = event.find('*')) != std::string::npos;)
      event.replace(at, 1, std::to_string(static_cast<int>(rng() % 2000001) - 1000000));
    for (size_t at; (at = event.find('%')) != std::string::npos;)
      event.replace(at, 1, std::to_string(rng() % 200));
    const bool held = event.rfind("key", 0) == 0 || event.rfind("menu", 0) == 0;
    for (unsigned n = held && rng() % 8 == 0 ? rng() % 3000 : 1; n > 0; --n) apply_event(event);
    GLdouble projection[16];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const bool ok =
        view.view_free + view.view_zoom == 1 && view.view_free * view.view_zoom == 0 &&
        (sim.running | sim.earth_fixed | view.corotate | view.show_help) <= 1 &&
        sim.running >= 0 && sim.earth_fixed >= 0 && view.corotate >= 0 && view.show_help >= 0 &&
        view.lighting_on == glIsEnabled(GL_LIGHTING) && sim.first_reset == 0 &&
        trace.trace_len == 100 && trace.trace_start >= 1 && trace.trace_start <= 100 &&
        trace.frame_count >= 0 && sim.bob_z == 0.0 && sim.dt == 0.0005 &&
        sim.substeps_per_idle == 50 && sim.sin_lat == std::sin(sim.latitude) &&
        sim.cos_lat == std::cos(sim.latitude) && std::isfinite(projection[0]) &&
        std::isfinite(projection[5]) &&
        (!std::isfinite(sim.omega) || sim.omega_sin_lat == std::sin(sim.latitude) * sim.omega);
    ASSERT_TRUE(ok) << "seed " << seed << ", event " << i << " (" << event << ")\n"
                    << dump_records();
  }
  take_call_log();
  apply_event("reshape 1024 768");
  apply_event("menu RAZ vue et calcul");
  EXPECT_EQ(changed_words(fresh, dump_records(),
                          {"omega", "lat", "sin", "cos", "ows", "dt", "bob", "v", "free", "zoom",
                           "rot", "eye", "look", "trace"}),
            "")
      << "the full reset after the storm of seed " << seed;
}
