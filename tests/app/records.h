// Snapshots of the three shared records, byte for byte, with the trace's contents, so a
// handler test can say exactly which fields an event may change.
#pragma once

#include "render/frame.h"
#include "sim/sim_state.h"
#include "sim/trace.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// What every reset after the first prints: the banner, the time step and "RAZ".
inline const std::string kResetConsole =
    "go! go! go! go! go!                  \n"
    " Simulateur de  pendule de Foucault  \n"
    " foucault, e'quipe du projet 2026    \n"
    " courriel: pendule@example.org       \n"
    " web: http://www.example.org/pendule \n"
    " menu contextuel: click droit        \n"
    " Q pour quitter                      \n"
    "dt=0.000500\n"
    "RAZ\n";

// The records as copied with memcpy (padding included) and the trace's arrays.
struct Records {
  SimState s;
  TraceBuffer t;
  ViewState v;
  std::vector<double> points;
};

inline std::vector<double> trace_points() {
  std::vector<double> p;
  for (int i = 0; i <= trace.trace_len; ++i) {
    p.insert(p.end(), {trace.trace_x[i], trace.trace_y[i], trace.trace_z[i]});
  }
  return p;
}

inline void take(Records& r) {
  std::memcpy(&r.s, &sim, sizeof sim);
  std::memcpy(&r.t, &trace, sizeof trace);
  std::memcpy(&r.v, &view, sizeof view);
  r.points = trace_points();
}

inline void expect_records(const Records& want, const std::string& what) {
  EXPECT_EQ(std::memcmp(&want.s, &sim, sizeof sim), 0) << what << ": simulation record";
  EXPECT_EQ(std::memcmp(&want.t, &trace, sizeof trace), 0) << what << ": trace record";
  EXPECT_EQ(std::memcmp(&want.v, &view, sizeof view), 0) << what << ": view record";
  EXPECT_EQ(want.points, trace_points()) << what << ": trace contents";
}

// The trace emptied, as a clear leaves it.
inline void cleared(Records& r) {
  r.t.trace_start = r.t.trace_len;
  std::fill(r.points.begin(), r.points.end(), 0.0);
}

// Whether f leaves a redisplay pending for the event loop: the frames that follow are
// counted by a stand-in display callback.
inline int display_calls = 0;

inline bool posts_redisplay(const std::function<void()>& f) {
  glutDisplayFunc([] { ++display_calls; });
  for (int i = 0; i < 5; ++i) glutMainLoopEvent();
  display_calls = 0;
  f();
  glutMainLoopEvent();
  return display_calls > 0;
}
