// The least a GLUT program does with the program's window: the same display mode, size,
// position and title, made full-screen, each frame cleared and swapped, the next one
// asked for at once. The yardstick for the program's start-up time and memory.
//
// With --menus it also builds a right-button menu tree of the program's shape (four
// submenus of 3, 3, 5 and 5 entries under a main menu of 6): what freeglut's menus
// cost, apart from anything the program draws.
#include <GL/freeglut.h>

#include <cstring>

namespace {

void display() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glutSwapBuffers();
  glutPostRedisplay();
}

void reshape(int width, int height) { glViewport(0, 0, width, height); }

void ignore(int /*value*/) {}

int menu_of(int entries) {
  const int id = glutCreateMenu(ignore);
  for (int i = 1; i <= entries; ++i) glutAddMenuEntry("entree", i);
  return id;
}

void create_menus() {
  const int submenus[] = {menu_of(3), menu_of(3), menu_of(5), menu_of(5)};
  glutCreateMenu(ignore);
  glutAddMenuEntry("entree", 1);
  for (const int submenu : submenus) glutAddSubMenu("sous-menu", submenu);
  glutAddMenuEntry("entree", 2);
  glutAttachMenu(GLUT_RIGHT_BUTTON);
}

}  // namespace

int main(int argc, char** argv) {
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(1024, 768);
  glutInitWindowPosition(0, 0);
  glutCreateWindow("Pendule de Foucault OXA 2003/3004 ~ ~ ~ ~ ~ ~ ~");
  glutFullScreen();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--menus") == 0) create_menus();
  }
  glutDisplayFunc(display);
  glutReshapeFunc(reshape);
  glutMainLoop();
  return 0;
}
