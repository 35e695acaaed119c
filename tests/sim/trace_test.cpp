// The trace buffer: when samples come, how the window fills and slides, what is stored.
#include "sim/trace.h"

#include "sim/sim_state.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace {

void fresh_trace() {
  trace.trace_len = trace_entries;
  allocate_trace();
  clear_trace();
}

void sample_frames(int frames, float value) {
  for (int i = 0; i < frames; ++i) sample_trace(value, value, value, value, value, false);
}

TEST(Trace, EmptyAfterAClearWithEveryEntryZero) {
  fresh_trace();
  trace.frame_count = 5;
  sample_frames(7 + 12 * 30, 1.5f);
  ASSERT_LT(trace.trace_start, 100);
  clear_trace();
  EXPECT_EQ(trace.trace_start, 100);
  EXPECT_EQ(trace.frame_count, 5 + 7 + 12 * 30) << "the frame count is never reset";
  for (int i = 0; i <= 100; ++i) {
    EXPECT_EQ(trace.trace_x[i], 0.0);
    EXPECT_EQ(trace.trace_y[i], 0.0);
    EXPECT_EQ(trace.trace_z[i], 0.0);
  }
}

TEST(Trace, FirstSampleComesAtTheNextMultipleOfTwelveFrames) {
  struct Case {
    int frame_count_at_clear;
    int frames_to_first_sample;
  };
  const Case cases[] = {{0, 12}, {1, 11}, {11, 1}, {12, 12}, {13, 11}, {1199, 1}};
  for (const Case& c : cases) {
    fresh_trace();
    trace.frame_count = c.frame_count_at_clear;
    sample_frames(c.frames_to_first_sample - 1, 1.0f);
    EXPECT_EQ(trace.trace_start, 100) << "cleared at frame " << c.frame_count_at_clear;
    sample_frames(1, 1.0f);
    EXPECT_EQ(trace.trace_start, 99) << "cleared at frame " << c.frame_count_at_clear;
  }
}

TEST(Trace, FillsToNinetyNineShownSamplesThenSlides) {
  fresh_trace();
  for (int k = 1; k <= 99; ++k) {
    sample_frames(12, static_cast<float>(k));
    ASSERT_EQ(trace.trace_start, 100 - k);
    EXPECT_EQ(trace.trace_x[99], k) << "the newest sample sits at n - 1";
    EXPECT_EQ(trace.trace_x[100], k) << "the staging slot keeps a copy";
  }
  for (int k = 100; k <= 130; ++k) {
    sample_frames(12, static_cast<float>(k));
    ASSERT_EQ(trace.trace_start, 1);
    // Entries 1..99 shown, oldest first; entry 0 holds the sample that just left.
    EXPECT_EQ(trace.trace_x[1], k - 98);
    EXPECT_EQ(trace.trace_x[99], k);
    EXPECT_EQ(trace.trace_x[0], k - 99);
  }
}

TEST(Trace, BothFormsAreStoredAsSinglePrecisionValuesWidened) {
  fresh_trace();
  const double ex = -0.1234567890123, ey = 1.0 / 3.0, ez = 2.718281828459045;
  const double cx = 0.7071067811865476, cy = -1.4142135623730951;
  for (int i = 0; i < 12; ++i) {
    sample_trace(static_cast<float>(ex), static_cast<float>(ey), static_cast<float>(ez),
                 static_cast<float>(cx), static_cast<float>(cy), false);
  }
  EXPECT_EQ(trace.trace_x[99], static_cast<double>(static_cast<float>(ex)));
  EXPECT_EQ(trace.trace_y[99], static_cast<double>(static_cast<float>(ey)));
  EXPECT_EQ(trace.trace_z[99], static_cast<double>(static_cast<float>(ez)));
  EXPECT_NE(trace.trace_y[99], ey);
  for (int i = 0; i < 12; ++i) {
    sample_trace(static_cast<float>(ex), static_cast<float>(ey), static_cast<float>(ez),
                 static_cast<float>(cx), static_cast<float>(cy), true);
  }
  EXPECT_EQ(trace.trace_x[99], static_cast<double>(static_cast<float>(cx)));
  EXPECT_EQ(trace.trace_y[99], static_cast<double>(static_cast<float>(cy)));
  EXPECT_EQ(trace.trace_z[99], 0.0);
  EXPECT_EQ(trace.trace_x[98], static_cast<double>(static_cast<float>(ex)));
}

TEST(Trace, APausedPendulumTurnsTheTraceIntoOnePoint) {
  fresh_trace();
  for (int k = 1; k <= 50; ++k) sample_frames(12, static_cast<float>(k));
  for (int k = 0; k < 99; ++k) sample_frames(12, 7.0f);
  for (int i = trace.trace_start; i < trace.trace_len; ++i) EXPECT_EQ(trace.trace_x[i], 7.0);
}

// A process limited to 256 MB of address space cannot have 3 x 800 MB.
[[maybe_unused]] void allocate_in_small_address_space() {
  rlimit limit{};
  limit.rlim_cur = limit.rlim_max = 256u << 20;
  setrlimit(RLIMIT_AS, &limit);
  trace.trace_len = 100 * 1000 * 1000;
  allocate_trace();
  std::exit(0);
}

TEST(TraceDeathTest, AFailedAllocationStopsWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves address space of its own";
#else
  EXPECT_EXIT(allocate_in_small_address_space(), testing::ExitedWithCode(EXIT_FAILURE),
              "not enough memory for the trace");
#endif
}

}  // namespace
