// Loaded into the real program by the end-to-end driver (LD_PRELOAD): writes to $MENU_LOG
// every menu label as the program adds it, every entry chosen in freeglut's windows, and
// the commands the program hands to the shell (the help entry's).
#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

#define REAL(name) (reinterpret_cast<decltype(&name)>(dlsym(RTLD_NEXT, #name)))

static void (*callbacks[32])(int);
static const char* labels[32][16];  // by menu, then by the entry's value

static void log_line(const char* what, const char* label) {
  FILE* log = std::fopen(std::getenv("MENU_LOG"), "a");
  std::fprintf(log, "%s [%s]\n", what, label);
  std::fclose(log);
}

// freeglut makes the chosen entry's menu current while its callback runs.
static void chosen(int value) {
  log_line("chose", labels[glutGetMenu()][value]);
  callbacks[glutGetMenu()](value);
}

int glutCreateMenu(void (*callback)(int)) {
  const int menu = REAL(glutCreateMenu)(chosen);
  callbacks[menu] = callback;
  return menu;
}

void glutAddMenuEntry(const char* label, int value) {
  log_line("entry", label);
  labels[glutGetMenu()][value] = label;
  REAL(glutAddMenuEntry)(label, value);
}

void glutAddSubMenu(const char* label, int menu) {
  log_line("submenu", label);
  REAL(glutAddSubMenu)(label, menu);
}

int system(const char* command) {
  log_line("command", command);
  return REAL(system)(command);
}
