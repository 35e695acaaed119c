// The freeglut header the program includes, for the browser build: Emscripten's GLUT header
// declares the same functions; web/ supplies those its GLUT lacks.
#pragma once
#include <GL/glut.h>
