// Every language's texts as the program shows them, on one real GLUT window (Mesa under Xvfb):
// overlay lines and menu labels in Latin-1 bytes that the fonts have, the overlay's lines
// inside the 1024x768 picture from where GL places them, labels of a reasonable width in
// freeglut's menu font, the help entry's page in the language. glRasterPos2i,
// glutBitmapCharacter and the menu entries are wrapped at link time (-Wl,--wrap=...).
#include "app/menus.h"
#include "app/window.h"
#include "render/frame.h"
#include "render/graphics.h"
#include "render/texts.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>
// After gtest: Xlib defines macros (None, Bool) that clash with its names.
#include <X11/Xlib.h>
#include <algorithm>
#include <sstream>

namespace {

std::vector<std::pair<GLfloat, std::string>> lines;  // the overlay's: left edge in pixels, bytes
std::vector<std::string> labels;
std::string help_run;

int width(void* font, const std::string& s) {
  return glutBitmapLength(font, reinterpret_cast<const unsigned char*>(s.c_str()));
}

// UTF-8 left in Latin-1 bytes: a letter from À on, then a byte from 0x80 to 0xBF ("Ã©" for é).
bool has_utf8(const std::string& s) {
  return std::adjacent_find(s.begin(), s.end(), [](unsigned char a, unsigned char b) {
           return a >= 0xC0 && (b & 0xC0) == 0x80;
         }) != s.end();
}

}  // namespace

extern "C" {
void __real_glRasterPos2i(GLint x, GLint y);
void __real_glutBitmapCharacter(void* font, int c);
void __wrap_glRasterPos2i(GLint x, GLint y) {
  __real_glRasterPos2i(x, y);
  GLfloat at[4];
  glGetFloatv(GL_CURRENT_RASTER_POSITION, at);
  lines.push_back({at[0], ""});
}
void __wrap_glutBitmapCharacter(void* font, int c) {
  EXPECT_TRUE(c >= ' ' && c <= 255) << c << " after " << lines.back().second;
  lines.back().second += static_cast<char>(c);
  __real_glutBitmapCharacter(font, c);
}
void __wrap_glutAddMenuEntry(const char* label, int /*value*/) { labels.push_back(label); }
void __wrap_glutAddSubMenu(const char* label, int /*menu*/) { labels.push_back(label); }
}

TEST(Texts, LettersTheFontsLackAreSpelledOut) {
  const std::pair<const char*, const char*> spellings[] = {
      {"é à ° « ß ñ ¡ ã", "\xE9 \xE0 \xB0 \xAB \xDF \xF1 \xA1 \xE3"},
      {"cœur Œuvre l’été ‘x’ “y”", "coeur OEuvre l'\xE9t\xE9 'x' \"y\""},
      {"10 € attends… a–b—c", "10 EUR attends... a-b-c"},
      {"a\u202Fb\u2009c\u00A0" "d", "a b c\xA0" "d"},
      {"日本 ✓ \xC3 \x80", "?? ? ? ?"}};  // letters outside Latin-1, broken sequences
  for (const auto& [utf8, want] : spellings) EXPECT_EQ(latin1(utf8), want) << utf8;
}

TEST(Texts, EveryLanguageFitsThePictureAndTheMenus) {
  const bool x = XOpenDisplay(nullptr) != nullptr;
  EXPECT_TRUE(x || std::string(std::getenv("CI") ? std::getenv("CI") : "") != "true");
  if (!x) GTEST_SKIP() << "no X display; run the tests under xvfb-run";
  run_command = [](const char* command) { help_run = command; return 0; };
  int argc = 1;
  char* argv[] = {const_cast<char*>("text_tests"), nullptr};
  open_window(&argc, argv);
  init_graphics();
  reshape(window_width, window_height);
  std::istringstream codes(std::string(languages) + " xx");  // xx: unknown, the default texts
  for (std::string code; codes >> code;) {
    SCOPED_TRACE("language " + code);
    EXPECT_EQ(set_language(code.c_str()), code != "xx");
    lines.clear();
    labels.clear();
    view.show_help = 1;
    display();
    create_menus();
    menu_main(12);  // the help entry
    ASSERT_EQ(lines.size(), 10u) << "the instruction, credit and help lines";
    for (const auto& [left, bytes] : lines) {
      EXPECT_LE(left + width(GLUT_BITMAP_HELVETICA_12, bytes), window_width) << bytes;
      EXPECT_FALSE(has_utf8(bytes)) << bytes;
    }
    // In freeglut's menu font, Helvetica 18: a menu and its submenu, side by side, take two
    // thirds of the picture at the most.
    ASSERT_EQ(labels.size(), 22u) << "the menus' entries";
    for (const std::string& label : labels) {
      EXPECT_LE(width(GLUT_BITMAP_HELVETICA_18, label), window_width / 3) << label;
      EXPECT_FALSE(has_utf8(label)) << label;
    }
    const std::string page = code == "xx" ? "help.html" : "help." + code + ".html";
    EXPECT_EQ(help_run, "open ./" + page + "  with Safari");
  }
}
