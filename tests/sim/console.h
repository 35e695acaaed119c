// Captures what the code under test prints on standard output.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

inline void begin_capture() { testing::internal::CaptureStdout(); }

inline std::string end_capture() {
  std::fflush(stdout);
  return testing::internal::GetCapturedStdout();
}
