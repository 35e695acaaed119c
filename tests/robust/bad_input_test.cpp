// Input a classroom can give the program, taken far past sense: the trace allocated again.
#include "sim/sim_state.h"
#include "sim/trace.h"
#include "tests/gl/gl_fixture.h"
#include "tests/robust/robust_support.h"

#include <gtest/gtest.h>

namespace {

TEST(BadInputTrace, AllocatingTheTraceAgainReleasesTheArraysItReplaces) {
  quietly(reset_simulation);
  const size_t before = heap_in_use();
  for (int i = 0; i < 1000; ++i) allocate_trace();
  // Each allocation is three arrays of 101 doubles, 2,424 bytes: kept, they would make
  // 2.4 MB.
  EXPECT_LT(heap_in_use(), before + 16 * 1024);
  for (int32_t i = 0; i <= trace.trace_len; ++i) {
    EXPECT_EQ(trace.trace_x[i] + trace.trace_y[i] + trace.trace_z[i], 0.0);
  }
}

}  // namespace
