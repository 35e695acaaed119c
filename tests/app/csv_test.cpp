// The measurements' file of one turn of the Earth at 48.846 degrees and four times the rate,
// written under German numbers ("1,5") and read back, still open, as strictly as a CSV reader
// would: as a run stopped at that moment leaves it.
#include "app/csv.h"

#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <locale>

TEST(Csv, RowsReadBackWholeWithPointsUnderAGermanLocale) {
  // From the package locales, compiled once into the tests' folder (a path, so not into the
  // system's archive).
  std::system("test -d de_DE.UTF-8 || localedef -i de_DE -f UTF-8 ./de_DE.UTF-8");
  setenv("LOCPATH", ".", 1);
  std::locale::global(std::locale("de_DE.UTF-8"));
  testing::internal::CaptureStdout();
  EXPECT_FALSE(start_csv("no/folder/measures.csv"));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "impossible d'ouvrir no/folder/measures.csv : les mesures ne seront pas e'crites\n");
  reset_simulation();
  ASSERT_TRUE(start_csv("measures.csv"));
  sim.omega = 4 * default_omega, sim.latitude = radians(48.846), apply_latitude();
  while (sim.plane_angle - measure.start_plane_angle < 2 * pi) idle();
  std::ifstream text("measures.csv");
  std::string row;
  std::getline(text, row);
  ASSERT_EQ(row, "time,earth_turns,bob_x,bob_y,plane_angle_deg,predicted_angle_deg");
  int rows = 0;  // each whole: a last row without its line feed is not counted
  for (double v[6]; std::getline(text, row) && !text.eof(); ++rows) {
    const char *p = row.data() - 1, *end = row.data() + row.size();
    // Numbers to the end of their field, one field after another, the last ending the row.
    for (double& x : v)
      ASSERT_EQ(*(p = std::from_chars(p + 1, end, x).ptr), &x == v + 5 ? '\0' : ',') << row;
    EXPECT_NEAR(v[5], 360.0 * std::sin(radians(48.846)) * v[1], 1e-6) << row;
  }
  EXPECT_EQ(rows, 5);  // one a half swing
}
