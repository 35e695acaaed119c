// The page's picture against the desktop's: the web layer (web/fixed_function.cpp, spheres,
// GLU), built for this machine, draws the frames of tests/data/app/events.txt, and each drawn
// group's window position, depth and lit colour (least, greatest, mean) must be the desktop's,
// as Mesa gave them in the picture records of tests/data/render/. Groups that Mesa clipped
// (the sky, the axis) have other vertices and are left out; a line of text is its raster
// position's depth and colour. What the page leaves out is checked against what it draws.
// No GL context: the web layer calls no WebGL here.
#include "web/fixed_function.h"
#include "web/vector.h"

#include "app/menus.h"
#include "render/graphics.h"
#include "tests/app/events.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <utility>

namespace {

// A drawn group: its name, its primitives' first index in the batch and, once the frame has
// ended, their vertices one primitive after another (a line of text: its raster position).
struct Group {
  std::string name;
  size_t first;
  std::vector<Vertex> vertices;
};
std::vector<Group> groups, frame;  // the frame being drawn; the last one drawn
size_t left_out = 0;               // sphere's primitives the page has left out
std::ostringstream in_sight;       // points of them that the depth test would show

// Where each drawn group begins in the batch (the web layer's spheres draw without glBegin); a
// line of text is its raster position's depth and colour, as Mesa gives them, and none outside
// the view (where it lands is the page tests' business).
void begin_group(int group) {
  const Raster& r = page.raster;
  Vertex v{{0.0f, 0.0f, r.z, 1.0f}, {}};
  set_color(v, r.color);
  if (group != text_line || r.valid)
    groups.push_back({group_names[group], page.batch.indices.size(),
                      group == text_line ? std::vector<Vertex>{v} : std::vector<Vertex>{}});
}

// The program from its start, its console captured, through the events of events.txt; a
// picture line draws a frame with `picture` instead.
void play(const std::function<void(const std::string&)>& picture) {
  run_command = [](const char* /*command*/) { return 0; };
  group_begins = begin_group;
  testing::internal::CaptureStdout();
  apply_event("start");
  for (const std::string& line : data_lines("app/events.txt"))
    line.rfind("picture ", 0) == 0 ? picture(line.substr(8)) : apply_event(line);
  testing::internal::GetCapturedStdout();
}

// Clip coordinates (x, y, w): for a perspective projection a linear image of eye space, in
// which sight rays still run straight from the eye at the origin.
Vec3 xyw(const float* c) {
  return {c[0], c[1], c[3]};
}

// Whether triangle t (its clip coordinates) lies on the sight ray to clip point p, in front
// of p and beyond the near plane. Its edges count: the raster leaves no gaps between triangles.
bool hides(const Vertex* t, const float* p) {
  const Vec3 a = xyw(t[0].clip), e1 = add(xyw(t[1].clip), -1.0f, a);
  const Vec3 e2 = add(xyw(t[2].clip), -1.0f, a), d = xyw(p);
  const float det = dot(d, cross(e1, e2)), edge = -1e-5f;
  if (det == 0.0f) return false;
  const float u = dot(d, cross(e2, a)) / det, v = dot(d, cross(a, e1)) / det;
  const auto near = [t](int i) { return t[i].clip[2] + t[i].clip[3]; };  // above 0 beyond it
  return u >= edge && v >= edge && u + v <= 1.0f - edge && dot(a, cross(e1, e2)) / det < 0.9999f &&
         near(0) + u * (near(1) - near(0)) + v * (near(2) - near(0)) > 0.0f;
}

// Draws a frame with leaving-out off, then on. Points on each sphere's triangle or segment
// left out (its middle, and towards each corner) must lie behind the solid spheres' drawn
// triangles, in front of the near plane, or outside the view.
void check_left_out(void (*draw)(), const std::string& camera) {
  page.leave_out_hidden = false;
  draw();
  const std::vector<Group> all = frame;
  page.leave_out_hidden = true;
  draw();
  std::vector<std::pair<const Vertex*, std::array<float, 4>>> kept;  // and its box on screen
  for (const Group& g : frame)
    for (size_t k = 0; g.name == "solid_sphere" && k < g.vertices.size(); k += 3) {
      const Vertex* t = &g.vertices[k];
      std::array<float, 4> box = {-2.0f, 2.0f, -2.0f, 2.0f};  // x, then y: least and greatest
      for (int i = 0; i < 4 && t[0].clip[3] > 0.0f && t[1].clip[3] > 0.0f && t[2].clip[3] > 0.0f;
           ++i) {
        const auto at = [t, i](int c) { return t[c].clip[i / 2] / t[c].clip[3]; };
        box[i] = i % 2 ? std::max({at(0), at(1), at(2)}) : std::min({at(0), at(1), at(2)});
      }
      kept.push_back({t, box});
    }
  int seen = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    const size_t corners = all[i].name == "solid_sphere" ? 3 : all[i].name == "wire_sphere" ? 2 : 0;
    size_t on = 0;  // the primitives drawn come in the same order
    for (size_t k = 0; corners > 0 && k < all[i].vertices.size(); k += corners) {
      const Vertex* v = &all[i].vertices[k];
      const bool drawn = on < frame[i].vertices.size() &&
                         std::memcmp(v, &frame[i].vertices[on], corners * sizeof(Vertex)) == 0;
      on += drawn ? corners : 0;
      // A triangle seen edge-on, or with two corners alike, covers no pixel (a tenth of one, at
      // 3072 pixels by 2304, on screen from -1 to 1).
      const auto area = [v] { return dot(xyw(v[0].clip), cross(xyw(v[1].clip), xyw(v[2].clip))); };
      if (drawn || (corners == 3 &&
                    std::fabs(area() / (v[0].clip[3] * v[1].clip[3] * v[2].clip[3])) < 1e-7f))
        continue;
      ++left_out;
      for (size_t s = 0; s <= corners; ++s) {
        float p[4] = {};
        for (size_t c = 0; c < corners; ++c) {
          const float weight = s == corners ? 1.0f / corners : s == c ? 0.8f : 0.2f / (corners - 1);
          for (int e = 0; e < 4; ++e) p[e] += weight * v[c].clip[e];
        }
        const float x = p[0] / p[3], y = p[1] / p[3];
        const bool outside = std::fabs(p[2]) > p[3] || x * x > 1.0f || y * y > 1.0f;
        seen += !outside && std::none_of(kept.begin(), kept.end(), [&](const auto& t) {
          return x >= t.second[0] && x <= t.second[1] && y >= t.second[2] && y <= t.second[3] &&
                 hides(t.first, p);
        });
      }
    }
  }
  if (seen > 0) in_sight << camera << ": " << seen << " points left out in sight\n";
}

}  // namespace

// The program's GLUT calls that the web layer and tests/app/events.cpp leave out.
void glutBitmapCharacter(void* /*font*/, int /*character*/) {}

// The frame ends: its groups' vertices, primitive by primitive, as Mesa's feedback gives
// them, and an empty batch for the next frame.
void glutSwapBuffers() {
  Batch& b = page.batch;
  for (size_t i = groups.size(), end = b.indices.size(); i-- > 0; end = groups[i].first)
    for (size_t k = groups[i].first; k < end; ++k)
      groups[i].vertices.push_back(b.vertices[b.indices[k]]);
  frame = std::exchange(groups, {});
  b = Batch{};
}

TEST(WebLayer, LightsAndPlacesAsTheDesktop) {
  page.leave_out_hidden = false;  // Mesa's feedback holds what the depth test hides too
  int pictures = 0, compared = 0;
  std::ostringstream wrong;  // the program's console is captured: differences are told after
  play([&](const std::string& name) {
    apply_event("frame 1");
    ++pictures;
    // The record's groups, from the line after its heading: NAME PRIMITIVES VERTICES, then
    // for x y z r g b a letter and the least, greatest and mean value.
    const std::vector<std::string> record = data_lines("render/" + name + ".txt");
    size_t next = 0;
    while (next < record.size() && record[next].find("  x ") == std::string::npos) ++next;
    for (size_t g = 0; next < record.size() && g < frame.size(); ++g) {
      const std::vector<Vertex>& mine = frame[g].vertices;
      // A group wholly beyond one side of the view has no line in the record; one partly
      // beyond, Mesa clipped, giving it other vertices.
      int beyond = 63, clipped = 0;  // the sides that all vertices, or some, lie beyond
      for (const Vertex& v : mine) {
        int sides = 0;
        for (int side = 0; side < 6; ++side)
          sides |= ((side % 2 ? -1.0f : 1.0f) * v.clip[side / 2] > v.clip[3]) << side;
        beyond &= sides, clipped |= sides;
      }
      if (beyond != 0) continue;
      std::istringstream in(record[next++]);
      std::string group;
      size_t primitives = 0, vertices = 0;
      in >> group >> primitives >> vertices;
      if (group != "text" && (clipped || mine.size() != vertices)) continue;  // Mesa's differ
      ++compared;
      for (int k = 0; k < 6; ++k) {
        char letter = 0;
        double want[3], got[3] = {1e9, -1e9, 0.0};  // least, greatest, mean
        in >> letter >> want[0] >> want[1] >> want[2];
        if (group == "text" && k < 2) continue;
        for (const Vertex& v : mine) {
          // Window coordinates (x, y in pixels, depth from 0 to 1), then the colour.
          const auto& view = page.gl.viewport;
          const double value = k == 2  ? (v.clip[2] / v.clip[3] + 1.0) / 2.0
                               : k < 2 ? (v.clip[k] / v.clip[3] + 1.0) * view[2 + k] / 2.0 + view[k]
                                       : v.color[k - 3] / 255.0;
          got[0] = std::min(got[0], value), got[1] = std::max(got[1], value);
          got[2] += value / static_cast<double>(mine.size());
        }
        // Positions within 1.5 units of the record's last digit (0.1 px, 0.0001 of depth); a
        // colour within 1/255 of Mesa's, which the record rounds to 0.005.
        const double tolerance = k < 2 ? 0.15 : k == 2 ? 0.00015 : 1.0 / 255.0 + 0.005;
        for (int i = 0; i < 3; ++i)
          if (std::fabs(got[i] - want[i]) > tolerance)
            wrong << name << ", group " << g << " (" << group << "): " << letter << "[" << i << "] "
                  << got[i] << ", want " << want[i] << "\n";
      }
    }
  });
  EXPECT_EQ(wrong.str(), "");
  EXPECT_EQ(pictures, 20);
  EXPECT_GE(compared, 100) << "groups compared";
}

// Two balls side by side with a narrow gap between them, and behind them a fine wire sphere
// whose segments may have one end behind each ball and their middle in the gap; then the
// cameras of the picture records.
TEST(WebLayer, LeavesOutOnlyWhatIsHidden) {
  group_begins = begin_group;  // play() hooks it too, but the balls come first
  check_left_out(
      [] {
        reshape(600, 600);
        // No point of the wire sphere's equator lies straight behind the gap.
        for (const float x : {-1.02f, 1.02f, 0.2f}) {
          glLoadIdentity();
          glTranslatef(x, 0.0f, x == 0.2f ? -12.0f : -5.0f);
          x == 0.2f ? glutWireSphere(6.0, 96, 48) : glutSolidSphere(1.0, 24, 24);
        }
        glutSwapBuffers();
      },
      "two balls");
  play([&](const std::string& name) { check_left_out([] { apply_event("frame 1"); }, name); });
  EXPECT_EQ(in_sight.str(), "");
  EXPECT_GT(left_out, 10000u);  // the spheres' backs, and the wire behind them
}
