// The text overlay, read back in feedback mode: which lines are really drawn.
#include "render/overlay.h"

#include "render/frame.h"
#include "render/graphics.h"
#include "tests/gl/gl_fixture.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

using OverlayTest = GlTest;

// Each glyph of a line with a valid raster position yields one bitmap token; a line
// whose anchor lies outside the view volume yields none. Lines are told apart by the
// window height of their glyphs.
struct Drawn {
  int glyphs = 0;
  std::set<int> rows;  // window y of each drawn line
};

Drawn drawn_text() {
  Drawn d;
  for (const FbPrimitive& p : feedback(display)) {
    if (p.token == GL_BITMAP_TOKEN) {
      d.glyphs++;
      d.rows.insert(static_cast<int>(std::lround(p.vertices[0].y)));
    }
  }
  return d;
}

// Window row at which a line anchored at scene height y appears with the eye at eye_z.
int row_of(int y, float eye_z) {
  glPushMatrix();
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -eye_z);
  const int row = static_cast<int>(std::lround(project(-18.0, y, 0.0)[1]));
  glPopMatrix();
  return row;
}

TEST_F(OverlayTest, TwoLinesWithoutHelpAndTenWithIt) {
  Drawn d = drawn_text();
  EXPECT_EQ(d.rows.size(), 2u);
  EXPECT_EQ(d.glyphs, 41 + 13) << "the instruction line and the credit line";
  EXPECT_TRUE(d.rows.count(row_of(14, 25.0f)));
  view.show_help = 1;
  d = drawn_text();
  EXPECT_EQ(d.rows.size(), 10u);
  for (int y = 6; y <= 14; ++y) EXPECT_TRUE(d.rows.count(row_of(y, 25.0f))) << y;
  // The help lines' characters, the trailing blank of "regarder tourner la terre " too.
  EXPECT_EQ(d.glyphs, 54 + 30 + 25 + 19 + 36 + 21 + 26 + 37 + 41);
}

TEST_F(OverlayTest, LinesWhoseAnchorLeavesTheViewAreNotDrawnAtAll) {
  view.show_help = 1;
  struct Case {
    int width, height;
    float eye_z;
    std::set<int> anchors;  // scene heights of the lines still drawn
  };
  const Case cases[] = {
      // At 20 the visible half-height is about 11.5: the top three lines go. On a wide
      // window the rest stays; on a 4/3 one the half-width (15.4) loses x = -18 too.
      {1600, 900, 20.0f, {11, 10, 9, 8, 7, 6, 0}},
      {1024, 768, 20.0f, {0}},
      {1024, 768, 25.0f, {14, 13, 12, 11, 10, 9, 8, 7, 6, 0}},
      // At 0 or below the anchor plane is no longer in front of the eye.
      {1600, 900, 0.0f, {}},
      {1024, 768, -5.0f, {}},
  };
  for (const Case& c : cases) {
    reshape(c.width, c.height);
    view.eye_z = c.eye_z;
    const Drawn d = drawn_text();
    std::set<int> want;
    for (int y : c.anchors) want.insert(row_of(y, c.eye_z));
    EXPECT_EQ(d.rows, want) << "eye_z " << c.eye_z << " on " << c.width << "x" << c.height;
  }
}

TEST_F(OverlayTest, TextIsCutAtTheBufferNeverOverflowing) {
  const std::string long_text(1000, 'x');
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0.0f, 0.0f, -25.0f);
  int glyphs = 0;
  for (const FbPrimitive& p : feedback([&] { draw_text(-18, 0, "%s%d", long_text.c_str(), 7); })) {
    glyphs += p.token == GL_BITMAP_TOKEN;
  }
  EXPECT_EQ(glyphs, 255);
}

}  // namespace
