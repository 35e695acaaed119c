// The least a GLUT program does with the program's window (the program's own open_window):
// full screen, each frame cleared and swapped and the next asked for at once, and the
// program's own five menus (create_menus), whose freeglut windows and GL contexts any program
// that offers them pays for. With an argument, no menus.
#include "app/menus.h"
#include "app/window.h"

#include <GL/freeglut.h>

namespace {

void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
  glutPostRedisplay();
}

}  // namespace

int main(int argc, char** argv) {
  open_window(&argc, argv);
  glutFullScreen();
  if (argc == 1) create_menus();
  glutDisplayFunc(display);
  glutMainLoop();
}
