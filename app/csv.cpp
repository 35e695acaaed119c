// The measurements' CSV file: its header, its rows, and the file they go to.
#include "app/csv.h"

#include "render/texts.h"

#include <cstdio>
#include <locale>
#include <sstream>

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

std::string csv_row(const MeasureSample& sample) {
  std::ostringstream row;
  row.imbue(std::locale::classic());
  row.precision(9);
  row << sample.time << ',' << sample.earth_turns << ',' << sample.bob_x << ',' << sample.bob_y
      << ',' << sample.plane_angle_deg << ',' << sample.predicted_angle_deg << '\n';
  return row.str();
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
  write_whole("time,earth_turns,bob_x,bob_y,plane_angle_deg,predicted_angle_deg\n");
  return true;
}
