// The trace of the bob's recent positions: three parallel shifting arrays, sampled
// from the drawing of every twelfth frame.
#pragma once

#include <cstdint>

constexpr int32_t trace_entries = 100;  // trace_len after every reset
constexpr int32_t trace_every = 12;     // frames between two samples
// frame_count goes back by this multiple of trace_every before it could overflow
// (after 2,147,483,640 frames, twelve days at 2,000 frames a second).
constexpr int32_t frame_count_wrap = INT32_MAX / trace_every * trace_every;

// Entries trace_start .. trace_len - 1 are shown, oldest first; entry trace_len is the
// staging slot and entry 0 holds the sample that has just left a full window.
struct TraceBuffer {
  int32_t trace_len = 0;  // 0 until the first reset sets it to trace_entries
  double* trace_x = nullptr;
  double* trace_y = nullptr;
  double* trace_z = nullptr;
  int32_t trace_start = 0;  // trace_len after a clear, never below 1 afterwards
  int32_t frame_count = 0;  // frames drawn since program start (modulo frame_count_wrap)
};

extern TraceBuffer trace;

// Creates the three arrays of trace_len + 1 zeros, releasing those of an earlier call.
// Stops the program with a message on standard error if the memory cannot be had.
void allocate_trace();

// Empties the shown window and zeroes every entry; frame_count keeps counting.
void clear_trace();

// Counts one frame and, on every twelfth, stores one sample: the Earth-frame offset
// (ex, ey, ez) or, when corotating, the co-rotating pair (cx, cy) with z = 0.
void sample_trace(float ex, float ey, float ez, float cx, float cy, bool corotating);
