#pragma once
// The look the practice screens share: pale text on navy panels over the
// darkened scene of the last level flown, amber headings.

#include "practice_palette.h"

void use_colour(const practice_colour& c);
// A filled navy panel with its edge.
void draw_practice_panel(int x, int y, int w, int h);

enum text_align { align_left, align_centre, align_right };
// Draws text in the current font, cut short with ".." where it would be
// wider than max_width, so nothing the game held can leave its panel.
void draw_fitted(int x, int y, const char* text, int max_width, int align);
// The scene of the level the game ended on, darkened, on back_buffer.
void draw_practice_background();
