// What the page's lesson controls ask of the program (web/lesson.js): the options that reopen
// its present state, the named sites, an option given while it runs, and the plane's
// measurements, each as the desktop's file has it, as they come.
#include "app/csv.h"
#include "app/options.h"
#include "app/sites.h"
#include "sim/measure.h"

#include <emscripten.h>

#include <cstdio>
#include <string>

extern "C" {

void web_sample(const char* row, int releases, double turns, double angle, double predicted);

EMSCRIPTEN_KEEPALIVE const char* web_address() {
  static std::string words;
  words = option_words();
  return words.c_str();
}

// Site i as "key<tab>name", or none past the last.
EMSCRIPTEN_KEEPALIVE const char* web_site(int i) {
  static std::string line;
  if (i < 0 || i >= site_count) return nullptr;
  line = std::string(sites[i].key) + "\t" + sites[i].name;
  return line.c_str();
}

// One start-up option, "--place=pantheon", as if the program had started with it.
EMSCRIPTEN_KEEPALIVE void web_option(const char* word) {
  char program[] = "foucault";
  char* argv[] = {program, const_cast<char*>(word), nullptr};
  apply_options(2, argv);
}

EMSCRIPTEN_KEEPALIVE const char* web_csv_header() {
  return csv_header;
}

// The page keeps no files: its samples are downloaded from the "Mesures" panel, and a file that
// ?csv= names cannot be opened (the program says so). Without fopen the page carries no file
// system.
std::FILE* __wrap_fopen(const char* /*path*/, const char* /*mode*/) {
  return nullptr;
}

}  // extern "C"

namespace {

void send(const MeasureSample& s) {
  web_sample(csv_row(s).c_str(), measure.releases, s.earth_turns, s.plane_angle_deg,
             s.predicted_angle_deg);
}
// The measurement's record is set before the program runs, so its listener can be given now.
[[maybe_unused]] const bool listening = listen_to_samples(send);

}  // namespace
