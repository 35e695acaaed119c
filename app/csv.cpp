// The measurements' CSV file: its header, its rows, and the file they go to.
#include "app/csv.h"

#include "render/texts.h"

#include <cstdio>

namespace {

std::FILE* csv_file = nullptr;

// The stream's buffer is empty before each line and flushed after it: the line goes to the
// file in one write.
void write_whole(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), csv_file);
  std::fflush(csv_file);
}

void write_row(const MeasureSample& sample) {
  write_whole(csv_row(sample));
}

}  // namespace

// printf's numbers, not a stream's: the page carries no locale machinery for them. Under a
// locale whose decimal point is a comma, it is made a point again.
std::string csv_row(const MeasureSample& sample) {
  std::string row;
  for (const double value : {sample.time, sample.earth_turns, sample.bob_x, sample.bob_y,
                             sample.plane_angle_deg, sample.predicted_angle_deg}) {
    char number[32];
    std::snprintf(number, sizeof number, "%.9g", value);
    for (char* c = number; *c != '\0'; ++c) *c = *c == ',' ? '.' : *c;
    row += (row.empty() ? "" : ",") + std::string(number);
  }
  return row + "\n";
}

bool start_csv(const char* path) {
  std::FILE* file = std::fopen(path, "w");
  if (file == nullptr) {
    std::printf(tr("impossible d'ouvrir %s : les mesures ne seront pas e'crites\n"), path);
    return false;
  }
  if (csv_file != nullptr) {
    std::fclose(csv_file);
  } else {
    listen_to_samples(write_row);
  }
  csv_file = file;
  write_whole(csv_header);
  return true;
}
