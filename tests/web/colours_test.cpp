// The page's lighting and matrices against the desktop's: the web layer (web/fixed_function.cpp,
// spheres, GLU), built for this machine, draws the frames of tests/data/app/events.txt, and
// each drawn group's window position, depth and lit colour (least, greatest, mean) must be the
// desktop's, as Mesa gave them in the picture records of tests/data/render/. Groups that Mesa
// clipped (the sky, the axis) have other vertices and are left out; a line of text is its
// raster position's depth and colour. No GL context: the web layer calls no WebGL here.
#include "web/fixed_function.h"

#include "app/menus.h"
#include "render/graphics.h"
#include "tests/app/events.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace {

struct Group {
  std::string name;
  size_t first;              // its primitives' indices in the batch, from here to the next group's
  std::vector<Vertex> text;  // a line of text: its raster position, as one vertex
};
std::vector<Group> groups;
std::vector<std::vector<Vertex>> frame;  // the last frame's groups, as the window shows them
bool in_sphere = false;

// A vertex in window coordinates (x, y in pixels, depth from 0 to 1) with its colour.
std::vector<float> window_values(const Vertex& v) {
  const int* view = page.gl.viewport;
  const float w = v.clip[3];
  return {(v.clip[0] / w + 1.0f) * view[2] / 2.0f + view[0],
          (v.clip[1] / w + 1.0f) * view[3] / 2.0f + view[1],
          (v.clip[2] / w + 1.0f) / 2.0f,
          v.color[0] / 255.0f,
          v.color[1] / 255.0f,
          v.color[2] / 255.0f};
}

bool wholly_outside(const std::vector<Vertex>& group) {
  for (int axis = 0; axis < 3; ++axis) {
    for (const float side : {-1.0f, 1.0f}) {
      if (std::all_of(group.begin(), group.end(),
                      [&](const Vertex& v) { return side * v.clip[axis] > v.clip[3]; })) {
        return true;
      }
    }
  }
  return false;
}

void open_group(const char* name) {
  if (!in_sphere) groups.push_back({name, page.batch.indices.size(), {}});
}

}  // namespace

// The program's GLUT calls that this test stands in for: menus, swaps and redisplays.
int glutCreateMenu(void (*callback)(int)) {
  menus.push_back(callback);
  return static_cast<int>(menus.size());
}
void glutAddMenuEntry(const char* /*label*/, int /*value*/) {}
void glutAddSubMenu(const char* /*label*/, int /*menu*/) {}
void glutAttachMenu(int /*button*/) {}
void glutPostRedisplay() {}
void glutFullScreen() {}
void glutBitmapCharacter(void* /*font*/, int /*character*/) {}

// The frame ends: its groups' vertices, primitive by primitive, as Mesa's feedback gives
// them, and an empty batch for the next frame.
void glutSwapBuffers() {
  frame.clear();
  const Batch& b = page.batch;
  for (size_t i = 0; i < groups.size(); ++i) {
    const size_t end = i + 1 < groups.size() ? groups[i + 1].first : b.indices.size();
    std::vector<Vertex> vertices = groups[i].text;
    if (vertices.empty()) {
      for (size_t k = groups[i].first; k < end; ++k) vertices.push_back(b.vertices[b.indices[k]]);
    }
    frame.push_back(vertices);
  }
  page.batch.vertices.clear();
  page.batch.indices.clear();
  page.batch.runs.clear();
  page.batch.occluders.clear();
  groups.clear();
}

extern "C" {
void __real_glBegin(GLenum mode);
void __real_glRasterPos2i(GLint x, GLint y);
void __real_glutSolidSphere(double radius, GLint slices, GLint stacks);
void __real_glutWireSphere(double radius, GLint slices, GLint stacks);
void __wrap_glBegin(GLenum mode) {
  open_group("glBegin");
  __real_glBegin(mode);
}
void __wrap_glutSolidSphere(double radius, GLint slices, GLint stacks) {
  open_group("solid_sphere");
  in_sphere = true;
  __real_glutSolidSphere(radius, slices, stacks);
  in_sphere = false;
}
void __wrap_glutWireSphere(double radius, GLint slices, GLint stacks) {
  open_group("wire_sphere");
  in_sphere = true;
  __real_glutWireSphere(radius, slices, stacks);
  in_sphere = false;
}
// A line of text: Mesa gives its raster position's depth and colour, and none outside the view.
void __wrap_glRasterPos2i(GLint x, GLint y) {
  __real_glRasterPos2i(x, y);
  const Raster& r = page.raster;
  if (!r.valid) return;
  const int* view = page.gl.viewport;
  Vertex v{
      {2.0f * (r.x - view[0]) / view[2] - 1.0f, 2.0f * (r.y - view[1]) / view[3] - 1.0f, r.z, 1.0f},
      {}};
  const float rgba[4] = {r.color[0], r.color[1], r.color[2], 1.0f};
  set_color(v, rgba);
  groups.push_back({"text", page.batch.indices.size(), {v}});
}
}

TEST(WebLayer, LightsAndPlacesAsTheDesktop) {
  run_command = [](const char* /*command*/) { return 0; };
  page.leave_out_hidden = false;  // Mesa's feedback holds what the depth test hides too
  testing::internal::CaptureStdout();
  apply_event("reset");
  init_graphics();
  create_menus();
  reshape(window_width, window_height);
  int pictures = 0, compared = 0;
  std::ostringstream wrong;  // the program's console is captured: differences are told after
  for (const std::string& line : data_lines("app/events.txt")) {
    if (line.rfind("picture ", 0) != 0) {
      apply_event(line);
      continue;
    }
    apply_event("frame 1");
    ++pictures;
    // The record's groups, from the line after its heading: NAME PRIMITIVES VERTICES, then
    // for x y z r g b a letter and the least, greatest and mean value.
    std::vector<std::string> record = data_lines("render/" + line.substr(8) + ".txt");
    size_t next = 0;
    while (next < record.size() && record[next].find("  x ") == std::string::npos) ++next;
    for (size_t g = 0; next < record.size() && g < frame.size(); ++next, ++g) {
      // A group wholly beyond one side of the view has no line in the record.
      while (g < frame.size() && wholly_outside(frame[g])) ++g;
      if (g == frame.size()) break;
      std::istringstream in(record[next]);
      std::string name;
      size_t primitives = 0, vertices = 0;
      in >> name >> primitives >> vertices;
      const std::vector<Vertex>& mine = frame[g];
      const bool text = name == "text";
      const bool clipped = std::any_of(mine.begin(), mine.end(), [](const Vertex& v) {
        return std::fabs(v.clip[0]) > v.clip[3] || std::fabs(v.clip[1]) > v.clip[3] ||
               std::fabs(v.clip[2]) > v.clip[3];
      });
      if (!text && (clipped || mine.size() != vertices)) continue;  // Mesa's differ
      ++compared;
      for (int k = 0; k < 6; ++k) {
        char letter = 0;
        double want[3];
        in >> letter >> want[0] >> want[1] >> want[2];
        if (text && k < 2) continue;  // where each glyph lands is the page tests' business
        double low = 1e9, high = -1e9, sum = 0.0;
        for (const Vertex& v : mine) {
          const double value = window_values(v)[static_cast<size_t>(k)];
          low = std::min(low, value);
          high = std::max(high, value);
          sum += value;
        }
        const double got[3] = {low, high, sum / static_cast<double>(mine.size())};
        // Positions within 1.5 units of the record's last digit (0.1 px, 0.0001 of depth); a
        // colour within 1/255 of Mesa's, which the record rounds to 0.005.
        const double tolerance = k < 2 ? 0.15 : k == 2 ? 0.00015 : 1.0 / 255.0 + 0.005;
        for (int i = 0; i < 3; ++i) {
          if (std::fabs(got[i] - want[i]) > tolerance) {
            wrong << line << ", group " << g << " (" << name << "): " << letter << "[" << i << "] "
                  << got[i] << ", want " << want[i] << "\n";
          }
        }
      }
    }
  }
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(wrong.str(), "");
  EXPECT_EQ(pictures, 12);
  EXPECT_GE(compared, 100) << "groups compared";
}

// A wire sphere's segment is left out only if every point of it is hidden by a solid sphere
// drawn before. Two balls side by side with a narrow gap between them, and behind them a
// fine wire sphere whose segments may have one end behind each ball and their middle in the
// gap: those must stay.
TEST(WebLayer, LeavesOutOnlyLinesThatSpheresHide) {
  using Segment = std::array<std::array<float, 3>, 2>;
  std::vector<std::array<float, 4>> balls;
  const auto draw = [&balls](bool leave_out) {
    page.leave_out_hidden = leave_out;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 0.5, 100.0);  // eye coordinates are then (x, y, -w) of the clip's
    glMatrixMode(GL_MODELVIEW);
    for (const float x : {-1.02f, 1.02f}) {
      glLoadIdentity();
      glTranslatef(x, 0.0f, -5.0f);
      glutSolidSphere(1.0, 24, 24);
    }
    const size_t first = page.batch.indices.size();
    glLoadIdentity();
    glTranslatef(0.2f, 0.0f, -12.0f);  // no point of the equator straight behind the gap
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glutWireSphere(6.0, 96, 48);
    std::vector<Segment> lines;
    for (size_t k = first; k + 1 < page.batch.indices.size(); k += 2) {
      Segment s;
      for (size_t e = 0; e < 2; ++e) {
        const float* c = page.batch.vertices[page.batch.indices[k + e]].clip;
        s[e] = {c[0], c[1], -c[3]};
      }
      lines.push_back(s);
    }
    balls = page.batch.occluders;
    glutSwapBuffers();
    std::sort(lines.begin(), lines.end());
    return lines;
  };
  const std::vector<Segment> all = draw(false), kept = draw(true);
  ASSERT_EQ(balls.size(), 2u);
  std::vector<Segment> left_out;
  std::set_difference(all.begin(), all.end(), kept.begin(), kept.end(),
                      std::back_inserter(left_out));
  EXPECT_GT(left_out.size(), all.size() / 10);  // the part of its back behind the balls
  const auto hidden = [&balls](const std::array<float, 3>& p) {
    return std::any_of(balls.begin(), balls.end(), [&p](const std::array<float, 4>& o) {
      // The sight line from the eye to p against the ball, as in web/spheres.cpp.
      const float t = std::clamp(
          (p[0] * o[0] + p[1] * o[1] + p[2] * o[2]) / (p[0] * p[0] + p[1] * p[1] + p[2] * p[2]),
          0.0f, 1.0f);
      const float d[3] = {t * p[0] - o[0], t * p[1] - o[1], t * p[2] - o[2]};
      return d[0] * d[0] + d[1] * d[1] + d[2] * d[2] < o[3] * o[3] * 1.0001f;
    });
  };
  int seen = 0;
  for (const Segment& s : left_out) {
    for (int i = 0; i <= 32; ++i) {
      const float f = static_cast<float>(i) / 32.0f;
      const std::array<float, 3> p = {s[0][0] + f * (s[1][0] - s[0][0]),
                                      s[0][1] + f * (s[1][1] - s[0][1]),
                                      s[0][2] + f * (s[1][2] - s[0][2])};
      if (!hidden(p)) ++seen;
    }
  }
  EXPECT_EQ(seen, 0) << "points of left-out segments in sight";
}
