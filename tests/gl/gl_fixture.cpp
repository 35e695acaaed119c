// The window fixture and the feedback, projection and pixel readers.
#include "tests/gl/gl_fixture.h"

#include "render/graphics.h"
#include "sim/sim_state.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <GL/glx.h>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

bool window_open = false;
bool window_exposed = false;

void note_exposure() {
  window_exposed = true;
}

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
  glutDisplayFunc(note_exposure);
  init_graphics();
  // Pixels drawn before the window is mapped are lost: wait for its first exposure.
  for (int i = 0; i < 500 && !window_exposed; ++i) {
    glutMainLoopEvent();
    usleep(2000);
  }
  EXPECT_TRUE(window_exposed) << "the test window was never shown";
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
    FbVertex v{buffer[i],     buffer[i + 1], buffer[i + 2], buffer[i + 3],
               buffer[i + 4], buffer[i + 5], buffer[i + 6]};
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

std::array<double, 3> probe(int x, int y, int half) {
  const int side = 2 * half + 1;
  std::vector<unsigned char> pixels(static_cast<size_t>(side * side * 3));
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x - half, y - half, side, side, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  std::array<double, 3> mean{};
  for (int i = 0; i < side * side; ++i) {
    for (int c = 0; c < 3; ++c) mean[c] += pixels[static_cast<size_t>(i * 3 + c)];
  }
  for (double& m : mean) m /= side * side;
  return mean;
}

namespace {

// Reads the pixels of a square on the X screen, clipped to the window; calls each with
// its colour (0..255 per channel).
template <typename F>
void read_screen(int x, int y, int half, F&& each) {
  glFinish();
  Display* display = glXGetCurrentDisplay();
  const Window window = glXGetCurrentDrawable();
  XSync(display, False);
  const int width = glutGet(GLUT_WINDOW_WIDTH);
  const int height = glutGet(GLUT_WINDOW_HEIGHT);
  const int left = std::max(0, x - half), right = std::min(width - 1, x + half);
  const int top = std::max(0, height - 1 - (y + half));
  const int bottom = std::min(height - 1, height - 1 - (y - half));
  if (left > right || top > bottom) {
    ADD_FAILURE() << "probe at " << x << ", " << y << " lies outside the window";
    return;
  }
  XImage* image = XGetImage(display, window, left, top, static_cast<unsigned>(right - left + 1),
                            static_cast<unsigned>(bottom - top + 1), AllPlanes, ZPixmap);
  if (image == nullptr) {
    ADD_FAILURE() << "XGetImage failed at " << x << ", " << y;
    return;
  }
  for (int j = 0; j <= bottom - top; ++j) {
    for (int i = 0; i <= right - left; ++i) {
      const unsigned long pixel = XGetPixel(image, i, j);
      each(std::array<double, 3>{static_cast<double>((pixel >> 16) & 0xff),
                                 static_cast<double>((pixel >> 8) & 0xff),
                                 static_cast<double>(pixel & 0xff)});
    }
  }
  XDestroyImage(image);
}

}  // namespace

std::array<double, 3> probe_screen(int x, int y, int half) {
  std::array<double, 3> mean{};
  int count = 0;
  read_screen(x, y, half, [&](const std::array<double, 3>& c) {
    for (int k = 0; k < 3; ++k) mean[k] += c[k];
    ++count;
  });
  for (double& m : mean) m /= std::max(count, 1);
  return mean;
}

std::array<double, 3> brightest_on_screen(int x, int y, int half) {
  std::array<double, 3> best{};
  read_screen(x, y, half, [&](const std::array<double, 3>& c) {
    if (c[0] + c[1] + c[2] > best[0] + best[1] + best[2]) best = c;
  });
  return best;
}
