// The records as lines of "name=value" words, doubles to 17 significant digits, which read
// back bit for bit: the model's transcript and the program's are written with them, and
// compared with their data files here.
#pragma once

#include "sim/sim_state.h"
#include "sim/trace.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>

// A field for words(), named as it is spelt.
#define FIELD(x) std::pair<const char*, double>(#x, static_cast<double>(x))

inline std::string words(std::initializer_list<std::pair<const char*, double>> fields) {
  std::ostringstream out;
  out.precision(17);
  for (const auto& [name, value] : fields)
    out << (out.tellp() > 0 ? " " : "") << name << '=' << value;
  return out.str() + "\n";
}

// The model's record and the trace's counts, a line per group.
inline std::string model_words() {
  const SimState& s = sim;
  const TraceBuffer& t = trace;
  return words(
             {FIELD(s.sim_time), FIELD(s.earth_angle), FIELD(s.sky_angle), FIELD(s.plane_angle)}) +
         words({FIELD(s.omega), FIELD(s.latitude), FIELD(s.sin_lat), FIELD(s.cos_lat),
                FIELD(s.omega_sin_lat), FIELD(s.dt), FIELD(s.substeps_per_idle)}) +
         words({FIELD(s.bob_x), FIELD(s.bob_y), FIELD(s.bob_z), FIELD(s.bob_vx), FIELD(s.bob_vy)}) +
         words({FIELD(s.mid_x), FIELD(s.mid_y), FIELD(s.mid_vx), FIELD(s.mid_vy)}) +
         words({FIELD(s.running), FIELD(s.earth_fixed), FIELD(s.first_reset), FIELD(t.trace_len),
                FIELD(t.trace_start), FIELD(t.frame_count)});
}

// Compares text with tests/data/<name> line by line, each pair of lines as `same` says (or
// equal); FOUCAULT_REGEN=1 writes the file instead.
inline void expect_data(const std::string& name, const std::string& text,
                        bool (*same)(const std::string&, const std::string&) = nullptr) {
  if (std::getenv("FOUCAULT_REGEN") != nullptr)
    std::ofstream(FOUCAULT_TEST_DATA "/" + name) << text;
  std::ifstream want(FOUCAULT_TEST_DATA "/" + name);
  std::istringstream got(text);
  std::string w, g;
  for (int number = 1; want.good() || got.good(); ++number) {
    if (!std::getline(want, w)) w = "(end)";
    if (!std::getline(got, g)) g = "(end)";
    ASSERT_TRUE(same != nullptr ? same(w, g) : w == g)
        << "tests/data/" << name << ":" << number << "\n want: " << w << "\n  got: " << g;
  }
}
