// An event storm against every handler on a real window: a seeded, replayable sequence of
// keys, special keys, buttons, drags, menu choices and reshapes, with bursts of the same
// key as a student holding it down, interleaved with idle calls and frames. The shared
// records must hold together after every single event, and the full reset must bring back
// everything it sets, bit for bit, whatever came before.
#include "app/input.h"
#include "app/menus.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"
#include "tests/robust/robust_support.h"

#include <GL/freeglut.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int64_t kStormEvents = 200000;
constexpr int64_t kEventsPerFrame = 128;   // frames cost milliseconds, events microseconds
constexpr int64_t kEventsPerPump = 1024;   // X events (full screen, redisplays) in between
constexpr int kSmallWidth = 160, kSmallHeight = 120;
constexpr int64_t kFarPixels = 1000000;    // motion and button coordinates reach +-10^6

enum class Kind { key, special, mouse, motion, menu, reshape, idle, frame };

struct Event {
  Kind kind;
  int a = 0, b = 0, c = 0, d = 0;
};

const int special_keys[] = {
    GLUT_KEY_F1,       GLUT_KEY_F2,     GLUT_KEY_F3,        GLUT_KEY_F4,      GLUT_KEY_F5,
    GLUT_KEY_F6,       GLUT_KEY_F7,     GLUT_KEY_F8,        GLUT_KEY_F9,      GLUT_KEY_F10,
    GLUT_KEY_F11,      GLUT_KEY_F12,    GLUT_KEY_LEFT,      GLUT_KEY_UP,      GLUT_KEY_RIGHT,
    GLUT_KEY_DOWN,     GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN, GLUT_KEY_HOME,   GLUT_KEY_END,
    GLUT_KEY_INSERT,   GLUT_KEY_NUM_LOCK, GLUT_KEY_BEGIN,   GLUT_KEY_DELETE,  GLUT_KEY_SHIFT_L,
    GLUT_KEY_SHIFT_R,  GLUT_KEY_CTRL_L, GLUT_KEY_CTRL_R,    GLUT_KEY_ALT_L,   GLUT_KEY_ALT_R,
    GLUT_KEY_SUPER_L,  GLUT_KEY_SUPER_R};

// What a held-down key or a repeated menu choice does many times over: the latitude round
// and round, the rate past the largest double and below the smallest, the camera far off.
const Event burst_events[] = {
    {Kind::key, '+'},     {Kind::key, '-'}, {Kind::key, 'P'},
    {Kind::key, 'M'},     {Kind::key, 'z'}, {Kind::special, GLUT_KEY_PAGE_UP},
    {Kind::special, GLUT_KEY_PAGE_DOWN},    {Kind::menu, 3, 4},
    {Kind::menu, 3, 5},   {Kind::menu, 1, 3}};

std::string describe(const Event& e) {
  std::ostringstream s;
  switch (e.kind) {
    case Kind::key:
      s << "keyboard(" << e.a << ")";
      break;
    case Kind::special:
      s << "special_key(" << e.a << ")";
      break;
    case Kind::mouse:
      s << "mouse(" << e.a << ", " << e.b << ", " << e.c << ", " << e.d << ")";
      break;
    case Kind::motion:
      s << "motion(" << e.a << ", " << e.b << ")";
      break;
    case Kind::menu: {
      static const char* const names[] = {"menu_main", "menu_view", "menu_latitude",
                                          "menu_rotation"};
      s << names[e.a] << "(" << e.b << ")";
      break;
    }
    case Kind::reshape:
      s << "reshape(" << e.a << ", " << e.b << ")";
      break;
    case Kind::idle:
      s << "idle()";
      break;
    case Kind::frame:
      s << "display()";
      break;
  }
  return s.str();
}

void apply(const Event& e) {
  switch (e.kind) {
    case Kind::key:
      keyboard(static_cast<unsigned char>(e.a), e.b, e.c);
      break;
    case Kind::special:
      special_key(e.a, e.b, e.c);
      break;
    case Kind::mouse:
      mouse(e.a, e.b, e.c, e.d);
      break;
    case Kind::motion:
      motion(e.a, e.b);
      break;
    case Kind::menu: {
      static void (*const callbacks[])(int) = {menu_main, menu_view, menu_latitude,
                                               menu_rotation};
      callbacks[e.a](e.b);
      break;
    }
    case Kind::reshape:
      reshape(e.a, e.b);
      break;
    case Kind::idle:
      idle();
      break;
    case Kind::frame:
      display();
      break;
  }
}

int far(Random& r) { return static_cast<int>(r.between(-kFarPixels, kFarPixels)); }

// One event of the storm; a burst sets how many times the next events repeat it.
Event draw_event(Random& r, int64_t& burst_left, Event& burst) {
  if (burst_left > 0) {
    --burst_left;
    return burst;
  }
  const int64_t roll = r.between(0, 999);
  if (roll < 300) {
    int key = 'Q';
    while (key == 'Q') key = static_cast<int>(r.between(0, 255));  // Q ends the process
    return {Kind::key, key, far(r), far(r)};
  }
  if (roll < 400) {
    const int n = static_cast<int>(sizeof special_keys / sizeof special_keys[0]);
    // Now and then a code that no key has.
    const int key = r.between(0, 9) == 0 ? static_cast<int>(r.between(-1000, 1000))
                                         : special_keys[r.between(0, n - 1)];
    return {Kind::special, key, far(r), far(r)};
  }
  if (roll < 480) {
    // Left, middle, right, wheel up and down, two side buttons; pressed and released.
    return {Kind::mouse, static_cast<int>(r.between(0, 6)), static_cast<int>(r.between(0, 1)),
            far(r), far(r)};
  }
  if (roll < 630) return {Kind::motion, far(r), far(r)};
  if (roll < 780) {
    return {Kind::menu, static_cast<int>(r.between(0, 3)), static_cast<int>(r.between(-5, 20))};
  }
  if (roll < 830) {
    return {Kind::reshape, static_cast<int>(r.between(0, 5000)),
            static_cast<int>(r.between(0, 5000))};
  }
  if (roll < 995) return {Kind::idle};
  const int n = static_cast<int>(sizeof burst_events / sizeof burst_events[0]);
  burst = burst_events[r.between(0, n - 1)];
  burst_left = r.between(1, 1500);
  --burst_left;
  return burst;
}

// Every field that the full reset (and the model reset inside it) sets.
struct ResetFields {
  std::vector<std::pair<std::string, std::vector<unsigned char>>> fields;
};

template <typename T>
void add(ResetFields& f, const char* name, const T& value) {
  std::vector<unsigned char> bytes(sizeof value);
  std::memcpy(bytes.data(), &value, sizeof value);
  f.fields.emplace_back(name, bytes);
}

ResetFields reset_fields() {
  ResetFields f;
  add(f, "latitude", sim.latitude);
  add(f, "omega", sim.omega);
  add(f, "dt", sim.dt);
  add(f, "sin_lat", sim.sin_lat);
  add(f, "cos_lat", sim.cos_lat);
  add(f, "omega_sin_lat", sim.omega_sin_lat);
  add(f, "sim_time", sim.sim_time);
  add(f, "bob_x", sim.bob_x);
  add(f, "bob_y", sim.bob_y);
  add(f, "bob_z", sim.bob_z);
  add(f, "bob_vx", sim.bob_vx);
  add(f, "bob_vy", sim.bob_vy);
  add(f, "first_reset", sim.first_reset);
  add(f, "substeps_per_idle", sim.substeps_per_idle);
  add(f, "trace_len", trace.trace_len);
  add(f, "trace_start", trace.trace_start);
  for (int32_t i = 0; i <= trace.trace_len; ++i) {
    const double entry[3] = {trace.trace_x[i], trace.trace_y[i], trace.trace_z[i]};
    add(f, "trace entry", entry);
  }
  add(f, "view_free", view.view_free);
  add(f, "view_zoom", view.view_zoom);
  add(f, "eye_x", view.eye_x);
  add(f, "eye_y", view.eye_y);
  add(f, "eye_z", view.eye_z);
  add(f, "look_dx", view.look_dx);
  add(f, "look_dz", view.look_dz);
  add(f, "view_rot_x", view.view_rot_x);
  add(f, "view_rot_y", view.view_rot_y);
  return f;
}

int help_commands = 0;

int count_help_command(const char* /*command*/) {
  ++help_commands;
  return 0;
}

class EventStorm : public testing::TestWithParam<uint64_t> {
 protected:
  void SetUp() override {
    open_gl_window();
    resize_window(kSmallWidth, kSmallHeight);
    run_command = count_help_command;
  }
  void TearDown() override { run_command = std::system; }
};

struct StormResult {
  int64_t events = 0;
  int64_t frames = 0;
  // Events after which the rate had overflowed, had sunk below the normal doubles, the
  // zoom camera was on, and the pendulum stood past a pole.
  int64_t overflowed = 0, subnormal = 0, zoomed = 0, past_pole = 0;
  std::string failure;
};

void count_states(StormResult& r) {
  r.overflowed += std::isinf(sim.omega) ? 1 : 0;
  r.subnormal += std::fpclassify(sim.omega) == FP_SUBNORMAL ? 1 : 0;
  r.zoomed += view.view_zoom;
  r.past_pole += std::fabs(sim.latitude) > pi / 2 ? 1 : 0;
}

StormResult run_storm(uint64_t seed, int64_t events) {
  StormResult result;
  Random r(seed);
  int64_t burst_left = 0;
  Event burst{Kind::idle};
  quietly([&] {
    for (int64_t i = 0; i < events; ++i) {
      Event e = (i + 1) % kEventsPerFrame == 0 ? Event{Kind::frame}
                                               : draw_event(r, burst_left, burst);
      apply(e);
      if (e.kind == Kind::frame) ++result.frames;
      if ((i + 1) % kEventsPerPump == 0) pump_events();
      const std::string broken = broken_invariant();
      result.events = i + 1;
      count_states(result);
      if (!broken.empty()) {
        std::ostringstream s;
        s << "seed " << seed << ", event " << i << " " << describe(e) << ": " << broken;
        result.failure = s.str();
        return;
      }
    }
  });
  return result;
}

void expect_storm_then_reset(uint64_t seed, int64_t events) {
  // The reference: what the full reset gives from program start.
  quietly([] { menu_main(3); });
  const ResetFields want = reset_fields();
  ASSERT_EQ(sim.latitude, default_latitude);
  ASSERT_EQ(sim.omega, default_omega);
  ASSERT_EQ(sim.bob_x, release_south_x);
  ASSERT_EQ(view.eye_z, default_eye_z);

  const StormResult storm = run_storm(seed, events);
  ASSERT_EQ(storm.failure, "") << "replay: FOUCAULT_STORM_SEED=" << seed
                               << " FOUCAULT_STORM_EVENTS=" << storm.events
                               << " robust_tests --gtest_filter='EventStormReplay.*'";
  EXPECT_EQ(storm.events, events);
  EXPECT_GT(storm.frames, events / kEventsPerFrame - 1);
  if (events == kStormEvents) {
    // Held-down keys must really have taken the rate past both ends of the doubles.
    EXPECT_GT(storm.overflowed, 0) << "seed " << seed;
    EXPECT_GT(storm.subnormal, 0) << "seed " << seed;
  }
  std::printf(
      "seed %llu: %lld events, %lld frames, %d help commands; after %lld the rate had "
      "overflowed, after %lld it was subnormal, %lld zoomed, %lld past a pole\n",
      static_cast<unsigned long long>(seed), static_cast<long long>(storm.events),
      static_cast<long long>(storm.frames), help_commands,
      static_cast<long long>(storm.overflowed), static_cast<long long>(storm.subnormal),
      static_cast<long long>(storm.zoomed), static_cast<long long>(storm.past_pole));

  quietly([] { menu_main(3); });
  const ResetFields got = reset_fields();
  ASSERT_EQ(got.fields.size(), want.fields.size());
  for (size_t k = 0; k < want.fields.size(); ++k) {
    EXPECT_EQ(got.fields[k].second, want.fields[k].second)
        << "seed " << seed << ": the full reset leaves " << want.fields[k].first
        << " (field " << k << ") different";
  }
  EXPECT_EQ(broken_invariant(), "");
  // The model runs on in numbers again, even where the rate had overflowed.
  quietly([] {
    idle_and_frame();
    idle_and_frame();
  });
  EXPECT_TRUE(model_has_no_nan()) << "seed " << seed;
}

TEST_P(EventStorm, EveryEventKeepsTheRecordsWholeAndTheFullResetRestoresThem) {
  expect_storm_then_reset(GetParam(), kStormEvents);
}

INSTANTIATE_TEST_SUITE_P(Seeds, EventStorm,
                         testing::Values(uint64_t{20260101}, uint64_t{6}, uint64_t{0x5eed}));

// Replays one seed, or tries a new one: FOUCAULT_STORM_SEED=n [FOUCAULT_STORM_EVENTS=m].
TEST(EventStormReplay, SeedFromTheEnvironment) {
  const char* seed = std::getenv("FOUCAULT_STORM_SEED");
  if (seed == nullptr) GTEST_SKIP() << "FOUCAULT_STORM_SEED is not set";
  const char* events = std::getenv("FOUCAULT_STORM_EVENTS");
  open_gl_window();
  resize_window(kSmallWidth, kSmallHeight);
  run_command = count_help_command;
  expect_storm_then_reset(std::strtoull(seed, nullptr, 0),
                          events != nullptr ? std::strtoll(events, nullptr, 0) : kStormEvents);
  run_command = std::system;
}

}  // namespace
