// The instruction, credit and help lines written into the window.
#include "render/overlay.h"

#include "render/frame.h"
#include "render/graphics.h"
#include "render/texts.h"

#include <GL/freeglut.h>

#include <cstdarg>
#include <cstdio>

namespace {

constexpr int text_left = -18;
constexpr int instruction_row = 14;
// A row is one scene unit: 26.6 pixels at 1024x768 (384 pixels over 25 tan 30 degrees), room
// enough for Helvetica 18's 22-pixel lines. But its capitals, 13 pixels tall and more with an
// accent, would leave the picture from the top row (12 pixels below the edge): the
// projector's rows are each one lower.
constexpr int projector_drop = 1;

struct HelpLine {
  int y;
  const char* text;
};

const HelpLine help_lines[] = {
    {13, N_("changer la position du pendule")},
    {12, N_("le changer d'he'misphe`re")},
    {11, N_("relancer le pendule")},
    {10, N_("changer la position de l'observateur")},
    {9, N_("tourner avec la terre")},
    {8, N_("regarder tourner la terre ")},
    {7, N_("faire tourner le plan sous le pendule")},
    {6, N_("faire tourner la terre plus ou moins vite")},
};

}  // namespace

void draw_text(int x, int y, const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  // An anchor outside the view volume makes the raster position invalid: the whole
  // line is then skipped, never drawn in part. The font's letters are Latin-1's, 32 to 255.
  glRasterPos2i(x, y);
  void* const font = view.projector == 1 ? GLUT_BITMAP_HELVETICA_18 : GLUT_BITMAP_HELVETICA_12;
  for (const char c : latin1(buffer)) {
    glutBitmapCharacter(font, static_cast<unsigned char>(c));
  }
}

void draw_overlay() {
  glPushMatrix();
  const int drop = view.projector == 1 ? projector_drop : 0;
  if (view.projector == 1) {
    material_projector_text();
  } else {
    material_red();
  }
  draw_text(text_left, instruction_row - drop, "%s",
            tr("Clic droit: modification de la simulation"));
  draw_text(0, 0, "foucault 2026");
  if (view.show_help == 1) {
    for (const HelpLine& line : help_lines) {
      draw_text(text_left, line.y - drop, "%s", tr(line.text));
    }
  }
  glPopMatrix();
}
