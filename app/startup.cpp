// The language of the command line, the directory prefix and the quit sequence.
#include "app/startup.h"

#include "render/texts.h"
#include "sim/sim_state.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

char base_dir[256] = "";

void quit_program() {
  std::printf("t=%lf\n", sim.sim_time);
  std::printf("http://www.example.org/pendule \n");
  std::printf("%s", tr("oxa vous dit au revoir !\n"));
  std::exit(0);
}

void choose_language(int* argc, char** argv) {
  for (int i = 1; i < *argc;) {
    const bool apart = std::strcmp(argv[i], "--lang") == 0;
    if (!apart && std::strncmp(argv[i], "--lang=", 7) != 0) {
      ++i;
      continue;
    }
    // A word after "--lang" is its code, unless it is the next option.
    const bool code_after = apart && i + 1 < *argc && std::strncmp(argv[i + 1], "--", 2) != 0;
    const char* code = !apart ? argv[i] + 7 : code_after ? argv[i + 1] : "";
    if (!set_language(code)) {
      std::printf(tr("langue inconnue : %s (langues : %s)\n"), code, languages);
    }
    const int taken = code_after ? 2 : 1;
    std::copy(argv + i + taken, argv + *argc + 1, argv + i);  // the closing null pointer too
    *argc -= taken;
  }
  sim_text = tr;
}
