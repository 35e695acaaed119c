// The measurements of the plane (sim/measure.h) written to a CSV file as the program runs.
#pragma once

#include "sim/measure.h"

#include <string>

// The file's first line: the columns' names.
constexpr const char* csv_header = "time,earth_turns,bob_x,bob_y,plane_angle_deg,predicted_angle_deg\n";

// One sample as a line of the file: time, earth_turns, bob_x, bob_y, plane_angle_deg,
// predicted_angle_deg, each to nine significant digits with '.' as the decimal point, whatever
// the locale, and a line feed.
std::string csv_row(const MeasureSample& sample);

// Opens the file at path afresh and writes its header, then a row for every sample from now
// on, each written whole, so that a run stopped at any moment leaves whole rows. A file that
// cannot be opened is named on one console line and the program runs on without it (false).
// A second call moves the rows to its file.
bool start_csv(const char* path);
