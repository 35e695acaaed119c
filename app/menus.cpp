// The context menus: their labels in the chosen language, and what each entry does.
#include "app/menus.h"

#include "app/startup.h"
#include "render/frame.h"
#include "render/texts.h"
#include "sim/sim_state.h"
#include "sim/trace.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int (*run_command)(const char* command) = std::system;

namespace {

// The main menu and the release submenu share the callback menu_main, so their entries are
// numbered in one enum and no two carry the same value.
enum MainEntry { full_reset = 3, release_south = 7, release_west = 8, release_southwest = 11,
                 help_entry = 12 };

struct Entry {
  const char* label;
  int value;
};

// A label as freeglut's menu font has it: Latin-1 (freeglut keeps a copy).
std::string label(const char* msgid) { return latin1(tr(msgid)); }

int make_menu(void (*callback)(int), const Entry* entries, int count) {
  const int id = glutCreateMenu(callback);
  for (int i = 0; i < count; ++i) {
    glutAddMenuEntry(label(entries[i].label).c_str(), entries[i].value);
  }
  return id;
}

const Entry view_entries[] = {
    {N_("le po^le"), 1}, {N_("l'e'quateur"), 2}, {N_("de  3/4 Nord"), 3}};
const Entry release_entries[] = {{N_("lach'e du Sud        "), release_south},
                                 {N_("lach'e de l'Ouest    "), release_west},
                                 {N_("lach'e du Sud Ouest  "), release_southwest}};
const Entry latitude_entries[] = {{N_("pendule au po^le nord"), 1},
                                  {N_("pendule a` 45 nord"), 2},
                                  {N_("pendule a` l'equateur"), 3},
                                  {N_("pendule a` 45 sud"), 4},
                                  {N_("pendule au po^le sud"), 5}};
const Entry rotation_entries[] = {{N_("Terre fixe"), 1},
                                  {N_("Ciel fixe"), 2},
                                  {N_("rotation du sol (O/N)"), 3},
                                  {N_("rot. Terre + rapide"), 4},
                                  {N_("rot. Terre - rapide"), 5}};

template <int N>
int make_menu(void (*callback)(int), const Entry (&entries)[N]) {
  return make_menu(callback, entries, N);
}

void reset_view_and_calculation() {
  reset_simulation();
  sim.sim_time = 0.0;
  glutPostRedisplay();
  view.view_free = 1;
  view.view_zoom = 0;
  view.eye_x = 0.0f;
  view.eye_y = 0.0f;
  view.eye_z = default_eye_z;
  view.look_dz = 1.0f;
  view.look_dx = 0.0f;
  view.view_rot_y = 0.0f;
  view.view_rot_x = 0.0f;
}

void toggle_help() {
  view.show_help = view.show_help == 0 ? 1 : 0;
  char path[512];
  std::snprintf(path, sizeof path, "%shelp.sh", base_dir);
  std::printf("%s\n", path);
  // The console keeps its order when the command interpreter writes to it too.
  std::fflush(stdout);
  // The help page in the chosen language: help.LANG.html, or help.html by default.
  const char* code = language_code();
  char command[64];
  std::snprintf(command, sizeof command, help_command, *code != '\0' ? "." : "", code);
  run_command(command);  // its outcome is the host's business
}

}  // namespace

void create_menus() {
  const int observer = make_menu(menu_view, view_entries);
  const int release = make_menu(menu_main, release_entries);
  const int latitude = make_menu(menu_latitude, latitude_entries);
  const int rotation = make_menu(menu_rotation, rotation_entries);
  glutCreateMenu(menu_main);
  glutAddMenuEntry(label(N_("RAZ vue et calcul ")).c_str(), full_reset);
  glutAddSubMenu(label(N_("L'observateur regarde ")).c_str(), observer);
  glutAddSubMenu(label(N_("RAZ Cas initial ")).c_str(), release);
  glutAddSubMenu(label(N_("Position du pendule")).c_str(), latitude);
  glutAddSubMenu(label(N_("Rotation Terre/Ciel")).c_str(), rotation);
  glutAddMenuEntry(label(N_("Aide               ")).c_str(), help_entry);
  glutAttachMenu(GLUT_RIGHT_BUTTON);
}

void menu_main(int value) {
  switch (value) {
    case full_reset:
      reset_view_and_calculation();
      break;
    case release_south:
      restart_pendulum(release_from_south.x, release_from_south.y);
      break;
    case release_west:
      restart_pendulum(release_from_west.x, release_from_west.y);
      break;
    case release_southwest:
      restart_pendulum(release_from_southwest.x, release_from_southwest.y);
      break;
    case help_entry:
      toggle_help();
      break;
    default:
      break;
  }
}

void menu_view(int value) {
  if (value < 1 || value > 3) {
    return;
  }
  view.view_rot_y = viewpoints[value - 1].rot_y;
  view.view_rot_x = viewpoints[value - 1].rot_x;
  glutPostRedisplay();
}

void move_pendulum(double latitude) {
  sim.latitude = latitude;
  apply_latitude();
  restart_pendulum(release_from_south.x, release_from_south.y);
}

void menu_latitude(int value) {
  static const double latitudes[] = {radians(90.0), radians(45.0), 0.0, radians(-45.0),
                                     radians(-90.0)};
  if (value >= 1 && value <= 5) {
    move_pendulum(latitudes[value - 1]);
  }
}

void menu_rotation(int value) {
  switch (value) {
    case 1:
      sim.earth_fixed = 1;
      break;
    case 2:
      sim.earth_fixed = 0;
      break;
    case 3:
      view.corotate = view.corotate == 1 ? 0 : 1;
      clear_trace();
      break;
    case 4:
      scale_omega(2.0);
      break;
    case 5:
      scale_omega(0.5);
      break;
    default:
      break;
  }
}
