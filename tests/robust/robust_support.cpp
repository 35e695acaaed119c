// The invariants, memory readers and window helpers of the robustness tests.
#include "tests/robust/robust_support.h"

#include "render/frame.h"
#include "render/graphics.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"

#include <GL/freeglut.h>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's count of bytes allocated and not freed (GCC ships no header).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

bool is_flag(int32_t v) { return v == 0 || v == 1; }

}  // namespace

std::string broken_invariant() {
  std::ostringstream why;
  why.precision(17);
  const struct {
    const char* name;
    int32_t value;
  } flags[] = {{"running", sim.running},         {"earth_fixed", sim.earth_fixed},
               {"first_reset", sim.first_reset}, {"view_free", view.view_free},
               {"view_zoom", view.view_zoom},    {"corotate", view.corotate},
               {"show_help", view.show_help},    {"lighting_on", view.lighting_on}};
  for (const auto& f : flags) {
    if (!is_flag(f.value)) {
      why << f.name << " is " << f.value;
      return why.str();
    }
  }
  if (view.view_free + view.view_zoom != 1) {
    why << "camera modes free " << view.view_free << " zoom " << view.view_zoom;
    return why.str();
  }
  if ((glIsEnabled(GL_LIGHTING) == GL_TRUE) != (view.lighting_on == 1)) {
    why << "lighting_on " << view.lighting_on << " but GL_LIGHTING "
        << static_cast<int>(glIsEnabled(GL_LIGHTING));
    return why.str();
  }
  if (trace.trace_start < 1 || trace.trace_start > trace.trace_len) {
    why << "trace_start " << trace.trace_start << " outside 1.." << trace.trace_len;
    return why.str();
  }
  // The derived terms are recomputed with the same expressions, so they must agree bit
  // for bit, not just nearly.
  if (std::isfinite(sim.latitude)) {
    if (sim.sin_lat != std::sin(sim.latitude) || sim.cos_lat != std::cos(sim.latitude)) {
      why << "latitude " << sim.latitude << " but sin_lat " << sim.sin_lat << ", cos_lat "
          << sim.cos_lat;
      return why.str();
    }
    if (std::isfinite(sim.omega) && sim.omega_sin_lat != std::sin(sim.latitude) * sim.omega) {
      why << "omega " << sim.omega << " at latitude " << sim.latitude << " but omega_sin_lat "
          << sim.omega_sin_lat << " instead of " << std::sin(sim.latitude) * sim.omega;
      return why.str();
    }
  }
  return "";
}

bool model_has_no_nan() {
  const double values[] = {sim.sim_time, sim.earth_angle, sim.sky_angle, sim.plane_angle,
                           sim.omega,    sim.latitude,    sim.sin_lat,   sim.cos_lat,
                           sim.omega_sin_lat, sim.dt,     sim.bob_x,     sim.bob_y,
                           sim.bob_z,    sim.bob_vx,      sim.bob_vy,    sim.mid_x,
                           sim.mid_y,    sim.mid_vx,      sim.mid_vy};
  for (double v : values) {
    if (std::isnan(v)) return false;
  }
  for (int32_t i = 0; i <= trace.trace_len; ++i) {
    if (std::isnan(trace.trace_x[i]) || std::isnan(trace.trace_y[i]) ||
        std::isnan(trace.trace_z[i])) {
      return false;
    }
  }
  return true;
}

size_t heap_in_use() {
#if defined(__SANITIZE_ADDRESS__)
  return __sanitizer_get_current_allocated_bytes();
#else
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#endif
}

size_t resident_bytes() {
  long pages = 0, resident = 0;
  std::FILE* f = std::fopen("/proc/self/statm", "r");
  if (f == nullptr) return 0;
  if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(f);
  return static_cast<size_t>(resident) * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

void pump_events() { glutMainLoopEvent(); }

void resize_window(int width, int height) {
  glutReshapeWindow(width, height);
  for (int i = 0; i < 500; ++i) {
    pump_events();
    if (glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height) break;
    usleep(2000);
  }
  EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), width);
  EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), height);
  reshape(width, height);
}

void idle_and_frame() {
  idle();
  display();
}

uint64_t Random::next() {
  uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

int64_t Random::between(int64_t lo, int64_t hi) {
  const uint64_t span = static_cast<uint64_t>(hi - lo) + 1;
  return lo + static_cast<int64_t>(next() % span);
}
