// The text overlay: bitmap lines anchored in the plane through the Earth's centre that
// faces the camera, one scene unit apart.
#pragma once

// Formats like printf into a 256-byte buffer (a longer text is cut) and writes it, its UTF-8
// made Latin-1 (render/texts.h), with GLUT's 12-point Helvetica at raster position (x, y), or
// its 18-point Helvetica while view.projector is 1.
void draw_text(int x, int y, const char* format, ...) __attribute__((format(printf, 3, 4)));

// The instruction line, the credit line and, while show_help is 1, the eight help lines; in
// the projector's colour and one row lower while view.projector is 1.
void draw_overlay();
