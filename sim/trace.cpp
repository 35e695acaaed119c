// The trace buffer: allocation, clearing and the every-twelfth-frame sample.
#include "sim/trace.h"

#include <cstdio>
#include <cstdlib>

TraceBuffer trace;

void allocate_trace() {
  // A later call replaces the arrays: the ones it replaces are released, not lost.
  std::free(trace.trace_x);
  std::free(trace.trace_y);
  std::free(trace.trace_z);
  const size_t n = static_cast<size_t>(trace.trace_len) + 1;
  trace.trace_x = static_cast<double*>(std::calloc(n, sizeof(double)));
  trace.trace_y = static_cast<double*>(std::calloc(n, sizeof(double)));
  trace.trace_z = static_cast<double*>(std::calloc(n, sizeof(double)));
  if (trace.trace_x == nullptr || trace.trace_y == nullptr || trace.trace_z == nullptr) {
    std::fprintf(stderr, "foucault: not enough memory for the trace of %d positions\n",
                 trace.trace_len);
    std::exit(EXIT_FAILURE);
  }
}

void clear_trace() {
  trace.trace_start = trace.trace_len;
  for (int32_t i = 0; i <= trace.trace_len; ++i) {
    trace.trace_x[i] = 0.0;
    trace.trace_y[i] = 0.0;
    trace.trace_z[i] = 0.0;
  }
}

void sample_trace(float ex, float ey, float ez, float cx, float cy, bool corotating) {
  // The count starts again before it would overflow, at a multiple of trace_every, so the
  // samples keep their cadence however long the program runs.
  if (trace.frame_count >= frame_count_wrap) {
    trace.frame_count -= frame_count_wrap;
  }
  trace.frame_count += 1;
  if (trace.frame_count % trace_every != 0) {
    return;
  }
  trace.trace_start -= 1;
  if (trace.trace_start < 1) {
    trace.trace_start = 1;
  }
  const int32_t n = trace.trace_len;
  if (corotating) {
    trace.trace_x[n] = cx;
    trace.trace_y[n] = cy;
    trace.trace_z[n] = 0.0;
  } else {
    trace.trace_x[n] = ex;
    trace.trace_y[n] = ey;
    trace.trace_z[n] = ez;
  }
  // A shifting array, not a ring: the drawing reads one contiguous range.
  for (int32_t i = 0; i < n; ++i) {
    trace.trace_x[i] = trace.trace_x[i + 1];
    trace.trace_y[i] = trace.trace_y[i + 1];
    trace.trace_z[i] = trace.trace_z[i + 1];
  }
}
