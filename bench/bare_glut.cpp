// The least a GLUT program does with the program's window: the same display mode, size,
// place and title, full screen, each frame cleared and swapped and the next asked for at
// once, and the program's own five menus (create_menus), whose freeglut windows and GL
// contexts any program that offers them pays for. With an argument, no menus.
#include "app/menus.h"

#include <GL/freeglut.h>

namespace {

void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
  glutPostRedisplay();
}

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(1024, 768);
  glutInitWindowPosition(0, 0);
  glutCreateWindow("Pendule de Foucault OXA 2003/3004 ~ ~ ~ ~ ~ ~ ~");
  glutFullScreen();
  if (argc == 1) create_menus();
  glutDisplayFunc(display);
  glutMainLoop();
}
