// Helpers shared by the robustness tests: the invariants every handler must keep, memory
// in use, and a small window that makes frames cheap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Empty when the shared records hold together: exactly one camera mode, every flag 0 or
// 1, lighting_on telling whether GL_LIGHTING is on, 1 <= trace_start <= trace_len, and
// sin_lat, cos_lat and omega_sin_lat equal to what latitude and omega give wherever these
// are finite. Otherwise the first broken rule, with the values involved.
std::string broken_invariant();

// True when every double of the model, and every trace entry, is a number (not NaN).
bool model_has_no_nan();

// Bytes of heap in use now: the sanitizer allocator's count in a sanitizer build,
// otherwise glibc's main arena (where everything the main thread allocates lives).
size_t heap_in_use();

// Resident memory of the process in bytes (/proc/self/statm).
size_t resident_bytes();

// Resizes the test window and waits until the X server has done it, then hands the new
// size to the reshape handler.
void resize_window(int width, int height);

// Processes the window-system events that are waiting, without blocking.
void pump_events();

// Calls the idle handler, then draws a frame.
void idle_and_frame();

// A run of numbers for seeded, replayable sequences: SplitMix64, the same on every
// platform and standard library.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next();
  // A whole number from lo to hi, both included.
  int64_t between(int64_t lo, int64_t hi);

 private:
  uint64_t state_;
};
