// foucault: a Foucault pendulum for the classroom.
//
// A pendulum swings at a chosen latitude on an Earth that turns under its sky. Its small
// swings follow the linearised equations in the Earth's rotating frame,
//   x'' = -x + 2 W y',  y'' = -y - 2 W x',  W = omega sin(latitude)  (x north, y west),
// so the plane of swing turns at -W: clockwise in the north, the other way in the south,
// not at all on the equator. The trace of the bob shows it turning.
//
// Keys: + - latitude by 18 degrees, P M rotation rate x2 / x0.5, g p go / pause,
// z reset model, R hold the Earth, l lighting, r t free / zoom camera, Page Up/Down
// distance, F full screen, Q quit. Left drag turns the view; the right button opens the
// menu (views, releases, latitudes, frames, rate, help). --lang CODE (fr en es de it pt)
// chooses the texts' language; the start-up options (--help lists them, app/options.h) set up
// the lesson as the menu and keys would.
#include "app/csv.h"
#include "app/input.h"
#include "app/menus.h"
#include "app/options.h"
#include "app/startup.h"
#include "app/window.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "render/texts.h"
#include "sim/integrator.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  choose_language(&argc, argv);
  help_option(argc, argv);
  std::printf("talvo oxa 2004\n");
  std::strcpy(base_dir, "");
  std::printf(tr("nous sommes ici -> %s \n"), base_dir);
  // The model and its trace exist before any handler can run.
  reset_simulation();
  std::printf("%s", tr("l'affichage OpenGL commence maintenant \n"));

  open_window(&argc, argv);
  init_graphics();
  glutFullScreen();
  create_menus();
  apply_options(argc, argv);
  if (!options.csv_path.empty()) start_csv(options.csv_path.c_str());

  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  glutMotionFunc(motion);
  glutMouseFunc(mouse);
  glutKeyboardFunc(keyboard);
  glutSpecialFunc(special_key);
  glutIdleFunc(idle);
  glutMainLoop();
  return 0;
}
