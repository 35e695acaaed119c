// The window fixture and the feedback, projection and pixel readers.
#include "tests/gl/gl_fixture.h"

#include "render/graphics.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cstdio>

namespace {

bool window_open = false;

void draw_nothing() {}

}  // namespace

void quietly(const std::function<void()>& f) {
  std::fflush(stdout);
  std::FILE* saved = stdout;
  stdout = std::fopen("/dev/null", "w");
  f();
  std::fclose(stdout);
  stdout = saved;
}

void open_gl_window() {
  if (window_open) {
    return;
  }
  quietly(reset_simulation);
  int argc = 1;
  char name[] = "gl_tests";
  char* argv[] = {name, nullptr};
  glutInit(&argc, argv);
  glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kWindowWidth, kWindowHeight);
  glutInitWindowPosition(0, 0);
  glutCreateWindow("gl_tests");
  glutDisplayFunc(draw_nothing);
  init_graphics();
  // Let the window be mapped before anything is read back from it.
  for (int i = 0; i < 5; ++i) glutMainLoopEvent();
  reshape(kWindowWidth, kWindowHeight);
  window_open = true;
}

std::vector<FbPrimitive> feedback(const std::function<void()>& draw) {
  static std::vector<GLfloat> buffer(1 << 22);
  glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
  glRenderMode(GL_FEEDBACK);
  draw();
  const GLint count = glRenderMode(GL_RENDER);
  EXPECT_GE(count, 0) << "feedback buffer overflow";
  std::vector<FbPrimitive> out;
  auto vertex_at = [&](GLint& i) {
    FbVertex v{buffer[i], buffer[i + 1], buffer[i + 2],
               buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 6]};
    i += 7;
    return v;
  };
  for (GLint i = 0; i < count;) {
    const GLenum token = static_cast<GLenum>(buffer[i++]);
    FbPrimitive p{token, {}};
    switch (token) {
      case GL_POINT_TOKEN:
      case GL_BITMAP_TOKEN:
      case GL_DRAW_PIXEL_TOKEN:
      case GL_COPY_PIXEL_TOKEN:
        p.vertices.push_back(vertex_at(i));
        break;
      case GL_LINE_TOKEN:
      case GL_LINE_RESET_TOKEN:
        p.vertices.push_back(vertex_at(i));
        p.vertices.push_back(vertex_at(i));
        break;
      case GL_POLYGON_TOKEN: {
        const int n = static_cast<int>(buffer[i++]);
        for (int k = 0; k < n; ++k) p.vertices.push_back(vertex_at(i));
        break;
      }
      case GL_PASS_THROUGH_TOKEN:
        i++;
        break;
      default:
        ADD_FAILURE() << "unknown feedback token " << token;
        return out;
    }
    out.push_back(p);
  }
  return out;
}

std::array<double, 3> project(double x, double y, double z) {
  GLdouble model[16], proj[16];
  GLint viewport[4];
  glGetDoublev(GL_MODELVIEW_MATRIX, model);
  glGetDoublev(GL_PROJECTION_MATRIX, proj);
  glGetIntegerv(GL_VIEWPORT, viewport);
  std::array<double, 3> w{};
  gluProject(x, y, z, model, proj, viewport, &w[0], &w[1], &w[2]);
  return w;
}

std::array<double, 3> probe(int x, int y, int half, GLenum buffer) {
  const int side = 2 * half + 1;
  std::vector<unsigned char> pixels(static_cast<size_t>(side * side * 3));
  glReadBuffer(buffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x - half, y - half, side, side, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  std::array<double, 3> mean{};
  for (int i = 0; i < side * side; ++i) {
    for (int c = 0; c < 3; ++c) mean[c] += pixels[static_cast<size_t>(i * 3 + c)];
  }
  for (double& m : mean) m /= side * side;
  return mean;
}
