// The directory prefix and the quit sequence.
#include "app/startup.h"

#include "sim/sim_state.h"

#include <cstdio>
#include <cstdlib>

char base_dir[256] = "";

void quit_program() {
  std::printf("t=%lf\n", sim.sim_time);
  std::printf("http://www.example.org/pendule \n");
  std::printf("oxa vous dit au revoir !\n");
  std::exit(0);
}
