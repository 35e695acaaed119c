// The program's window.
#include "app/window.h"

#include "render/graphics.h"

#include <GL/freeglut.h>

int open_window(int* argc, char** argv) {
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(window_width, window_height);
  glutInitWindowPosition(0, 0);
  return glutCreateWindow(window_title);
}
